#include "ChangePopups.h"

#include "ChangePopup.h"
#include "platform/Guard.h"
#include "platform/Pause.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpinEdit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

// One popup window with the timer that moves it.
struct ChangePopups::Held
{
    ChangePopup window;
    QTimer slide;
    int direction = 0; // -1 sliding in (up), +1 sliding out (down), 0 still
};

ChangePopups::ChangePopups(Controls controls, QObject* parent) : QObject(parent), m_c(controls) {}

ChangePopups::~ChangePopups() = default;

void ChangePopups::bind()
{
    connectGuarded(m_c.timerPop, &QTimer::timeout, this, &ChangePopups::TimerPopTimer);
}

int ChangePopups::targetTop(const QRect& screen)
{
    return screen.y() + screen.height() - ChangePopup::Height - BottomGap;
}

int ChangePopups::leftEdge(const QRect& screen)
{
    return screen.x() + screen.width() - ChangePopup::Width;
}

ChangePopup* ChangePopups::current() const
{
    return m_current ? &m_current->window : nullptr;
}

QRect ChangePopups::screen() const
{
    if (!m_screenRect.isNull())
        return m_screenRect;
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->availableGeometry() : QRect(0, 0, 640, 480);
}

ChangePopups::Held* ChangePopups::freePopup()
{
    for (const auto& held : m_popups)
        if (!held->window.isVisible())
            return held.get();
    m_popups.push_back(std::make_unique<Held>());
    Held* held = m_popups.back().get();
    held->slide.setTimerType(Qt::PreciseTimer);
    connectGuarded(&held->slide, &QTimer::timeout, this, [this, held] { slideStep(held); });
    connectGuarded(&held->window, &ChangePopup::closeClicked, this, &ChangePopups::ImgStengClick);
    return held;
}

void ChangePopups::VisaPopup(const QString& path)
{
    // The lifetime counts from the request. The new popup replaces the one on screen, so it gets
    // its whole lifetime, not what was left of the old one's.
    const int lifetime = m_splash && m_splash->isVisible() ? StartupLifetimeMs : LifetimeMs;
    m_c.timerPop->start(lifetime);

    // A newer popup takes the place of the one on screen, which would otherwise stay there
    // with nothing left to close it.
    if (m_current)
        close(m_current);

    const QRect area = screen();
    Held* held = freePopup();
    m_current = held;
    const quint64 request = ++m_request;
    m_waiting = false;
    m_shown = nullptr;
    ChangePopup& popup = held->window;
    popup.move(leftEdge(area), targetTop(area));
    popup.dress(
        {m_c.form->palette().color(QPalette::Window), m_c.pnlBg->color(), m_c.pnlMark->color(), m_c.ram->value()},
        path);
    popup.picture()->load(path);
    m_waiting = true;
    popup.picture()->whenLoaded(
        this, [this, held, request](const PictureView::Failure& failure) { pictureLoaded(held, request, failure); });
}

void ChangePopups::whenShown(Shown shown)
{
    if (!m_waiting) {
        shown(std::nullopt);
        return;
    }
    m_shown = std::move(shown);
}

void ChangePopups::pictureLoaded(Held* held, quint64 request, const std::optional<QString>& failure)
{
    if (request != m_request)
        return;
    m_waiting = false;
    Shown shown = std::exchange(m_shown, nullptr);
    if (failure) {
        if (shown)
            shown(AppError(*failure));
        else
            Dialogs::instance().reportError(*failure);
        return;
    }
    const QRect area = screen();
    ChangePopup& popup = held->window;
    popup.move(leftEdge(area), area.y() + area.height());
    popup.show();
    // Unmanaged windows are stacked by their owner: on top of what is there now.
    popup.raise();
    startSlide(held, -1);
    if (shown)
        shown(std::nullopt);
}

void ChangePopups::TimerPopTimer()
{
    m_c.timerPop->stop();
    if (!m_current)
        return;
    if (m_current->window.isVisible()) {
        startSlide(m_current, +1);
        return;
    }
    // Never shown: its picture could not be loaded, or its lifetime ended before it was.
    close(m_current);
    abandonWaiting();
}

// A popup closed before its picture came is not shown when it comes; the change it announces is over.
void ChangePopups::abandonWaiting()
{
    if (!m_waiting)
        return;
    ++m_request;
    m_waiting = false;
    if (Shown shown = std::exchange(m_shown, nullptr))
        shown(std::nullopt);
}

void ChangePopups::ImgStengClick()
{
    m_c.timerPop->stop();
    if (m_current)
        close(m_current);
    abandonWaiting();
}

void ChangePopups::stopAll()
{
    m_c.timerPop->stop();
    ++m_request;
    m_waiting = false;
    m_shown = nullptr; // the program ends: nothing more is applied
    for (const auto& held : m_popups)
        close(held.get());
}

void ChangePopups::close(Held* held)
{
    held->slide.stop();
    held->direction = 0;
    held->window.hide();
}

// The first step moves at once; each further one follows a pause, as the slide always went.
void ChangePopups::startSlide(Held* held, int direction)
{
    held->direction = direction;
    held->slide.start(Pause::interval(StepPauseMs));
    slideStep(held);
}

void ChangePopups::slideStep(Held* held)
{
    ChangePopup& popup = held->window;
    const QRect area = screen();
    if (held->direction < 0) {
        // A popup closed or replaced while it moves stops where it is.
        if (!popup.isVisible() || popup.y() <= targetTop(area)) {
            held->slide.stop();
            held->direction = 0;
            return;
        }
        popup.move(popup.x(), popup.y() - SlideStep);
    } else if (held->direction > 0) {
        if (!popup.isVisible() || popup.y() >= area.y() + area.height()) {
            close(held);
            return;
        }
        popup.move(popup.x(), popup.y() + SlideStep);
    }
}
