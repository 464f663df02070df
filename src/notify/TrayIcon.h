#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

class QMenu;
class QWidget;

// The notification-area icon: picture, tip, balloon, popup menu, and hiding and restoring the
// main window. A double-click runs the menu's default item on areas that send double-clicks; on
// the others their one activation does.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    enum class BalloonKind
    {
        None = 0,
        Information = 1,
        Warning = 2,
        Error = 3
    };

    // What a click on the icon comes as, by the kind of notification area.
    enum class AreaKind
    {
        DoubleClicks,    // Windows' notification area, X11 (XEmbed) trays: a click, then a double-click
        SingleActivation // StatusNotifierItem hosts: one activation
    };
    // The kind Qt's icon gets in this session: decided once, at the first use, as Qt decides it.
    static AreaKind detectedAreaKind();

    explicit TrayIcon(QWidget* mainWindow, AreaKind areaKind = detectedAreaKind());
    ~TrayIcon() override;

    void setIconVisible(bool visible);
    bool iconVisible() const { return m_visible; }
    void setIcon(const QIcon& icon);
    QIcon icon() const { return m_icon; }
    // The tip shows the first 127 characters.
    void setHint(const QString& hint);
    QString hint() const { return m_hint; }
    // Only the tip actually shown: empty when hints are off.
    QString shownTip() const;
    void setShowHint(bool show);
    void setPopupMenu(QMenu* menu);

    // Title cut to 63, text to 255 characters. Shown only while the icon is in the notification area.
    bool ShowBalloon(const QString& title, const QString& text, BalloonKind kind, int seconds);
    void HideBalloon();
    QString lastBalloonText() const { return m_balloonText; }

    // Whether the session has a notification area to hide into.
    static bool areaAvailable();
    // Hides the main window; while it is hidden the area is watched, and areaLost() reports
    // when it goes away, leaving nothing that leads back to the window.
    void HideMainWindow();
    void ShowMainWindow();
    // There is no separate application window to hide on this toolkit: the main window is it.
    void HideAppWindow() {}
    void ShowAppWindow() {}

    // Runs the default item of the popup menu, as a double-click on the icon does.
    void runDefaultItem();
    // What the notification area reported. Where activations stand for clicks, a second one within
    // the double-click time belongs to the first.
    void activate(QSystemTrayIcon::ActivationReason reason);

signals:
    void areaLost();

private:
    void updateIcon();
    void watchArea();

    QPointer<QWidget> m_mainWindow;
    QSystemTrayIcon* m_tray;
    const AreaKind m_areaKind;
    QElapsedTimer m_lastActivation;
    QTimer m_areaWatch;
    QPointer<QMenu> m_menu;
    QIcon m_icon;
    QString m_hint;
    QString m_balloonText;
    bool m_visible = false;
    bool m_showHint = true;
};
