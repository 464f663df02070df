#pragma once

#include "platform/AppError.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class BevelPanel;
class ChangePopup;
class QTimer;
class QWidget;
class SpinEdit;

// The popup that announces every new background: VisaPopup builds it and slides it up out of
// the bottom-right corner, TimerPop slides it down again after its lifetime, the close mark
// hides it at once. Each popup slides by its own timer, step by step from the event loop, so a
// slide never holds up the caller and ends only the popup it moves. Hidden popups are kept and
// dressed anew for the next change: a rotation that runs for weeks holds one window.
class ChangePopups : public QObject
{
    Q_OBJECT

public:
    static constexpr int StartupLifetimeMs = 5000;
    static constexpr int LifetimeMs = 40000;
    static constexpr int SlideStep = 3;
    // The pause between two slide steps paces a slide at about a third of a second.
    static constexpr int StepPauseMs = 5;
    // The gap between the resting popup and the bottom edge of the screen.
    static constexpr int BottomGap = 30;

    // The popup takes its colours and frame from these; TimerPop is the newest popup's lifetime.
    struct Controls
    {
        QWidget* form;
        BevelPanel* pnlBg;
        BevelPanel* pnlMark;
        SpinEdit* ram;
        QTimer* timerPop;
    };

    explicit ChangePopups(Controls controls, QObject* parent = nullptr);
    ~ChangePopups() override;

    // Connects TimerPop to TimerPopTimer.
    void bind();
    // While this window shows (the splash, during start-up) popups live a shorter time.
    void setSplash(QWidget* splash) { m_splash = splash; }
    // The screen the popup slides on; a null rectangle is the primary screen's full geometry.
    void setScreenRect(const QRect& rect) { m_screenRect = rect; }

    using Shown = std::function<void(const std::optional<AppError>& failure)>;

    // Builds the popup for the picture at path and, once the picture is decoded (off this
    // thread), shows it and starts its slide into place. The newest popup takes the place of the
    // one on screen, and of one still waiting for its picture. A picture that cannot be decoded
    // is never shown: its error goes to the error box, unless whenShown has taken it; a path that
    // is no file throws AppError at once. TimerPop is on by then and its tick closes the popup.
    void VisaPopup(const QString& path);
    // Runs shown once the popup asked for last is shown, or with its failure; not at all when a
    // newer popup replaces it first. At once when no popup waits for its picture.
    void whenShown(Shown shown);
    // Whether the newest popup still waits for its picture.
    bool isWaiting() const { return m_waiting; }
    void TimerPopTimer();
    void ImgStengClick();
    // The program is ending: every slide stops and every popup is hidden.
    void stopAll();

    // The newest popup, or null before the first.
    ChangePopup* current() const;
    // Every popup window held, shown or hidden.
    int windowCount() const { return int(m_popups.size()); }

    // The top where a popup is created: its target line above the bottom edge.
    static int targetTop(const QRect& screen);
    static int leftEdge(const QRect& screen);

private:
    struct Held;

    QRect screen() const;
    Held* freePopup();
    void startSlide(Held* held, int direction);
    void slideStep(Held* held);
    void close(Held* held);
    void abandonWaiting();
    void pictureLoaded(Held* held, quint64 request, const std::optional<QString>& failure);

    Controls m_c;
    QPointer<QWidget> m_splash;
    QRect m_screenRect;
    std::vector<std::unique_ptr<Held>> m_popups;
    Held* m_current = nullptr;
    // Counts the popups asked for: a picture decoded for an older one is not shown.
    quint64 m_request = 0;
    bool m_waiting = false;
    Shown m_shown;
};
