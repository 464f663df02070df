#include "ChangePopups.h"

#include "ChangePopup.h"
#include "platform/Guard.h"
#include "platform/Pause.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/SpinEdit.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace {

// Marks a popup as sliding for the length of a loop, also when the loop is left by an error.
class SlidingScope
{
public:
    SlidingScope(std::vector<ChangePopup*>& sliding, ChangePopup* popup) : m_sliding(sliding), m_popup(popup)
    {
        m_sliding.push_back(popup);
    }
    ~SlidingScope() { m_sliding.erase(std::find(m_sliding.begin(), m_sliding.end(), m_popup)); }
    SlidingScope(const SlidingScope&) = delete;
    SlidingScope& operator=(const SlidingScope&) = delete;

private:
    std::vector<ChangePopup*>& m_sliding;
    ChangePopup* m_popup;
};

} // namespace

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

QRect ChangePopups::screen() const
{
    if (!m_screenRect.isNull())
        return m_screenRect;
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->availableGeometry() : QRect(0, 0, 640, 480);
}

ChangePopup* ChangePopups::freePopup()
{
    for (const auto& popup : m_popups) {
        const bool sliding = std::find(m_sliding.begin(), m_sliding.end(), popup.get()) != m_sliding.end();
        if (!popup->isVisible() && !sliding)
            return popup.get();
    }
    m_popups.push_back(std::make_unique<ChangePopup>());
    ChangePopup* popup = m_popups.back().get();
    connectGuarded(popup, &ChangePopup::closeClicked, this, &ChangePopups::ImgStengClick);
    return popup;
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
        m_current->hide();

    const QRect area = screen();
    ChangePopup* popup = freePopup();
    m_current = popup;
    popup->move(leftEdge(area), targetTop(area));
    popup->dress(
        {m_c.form->palette().color(QPalette::Window), m_c.pnlBg->color(), m_c.pnlMark->color(), m_c.ram->value()},
        path);

    popup->move(leftEdge(area), area.y() + area.height());
    popup->show();
    // Unmanaged windows are stacked by their owner: on top of what is there now.
    popup->raise();
    slideIn(popup);
}

void ChangePopups::TimerPopTimer()
{
    if (m_current)
        slideOut(m_current);
    m_c.timerPop->stop();
    if (m_current)
        m_current->hide();
}

void ChangePopups::ImgStengClick()
{
    m_c.timerPop->stop();
    if (m_current)
        m_current->hide();
}

void ChangePopups::slideIn(ChangePopup* popup)
{
    const SlidingScope scope(m_sliding, popup);
    const int target = targetTop(screen());
    // A popup closed or replaced while it moves stops where it is.
    while (popup->isVisible() && popup->y() > target) {
        popup->move(popup->x(), popup->y() - SlideStep);
        QCoreApplication::processEvents();
        pause();
    }
}

void ChangePopups::slideOut(ChangePopup* popup)
{
    const SlidingScope scope(m_sliding, popup);
    const QRect area = screen();
    const int bottom = area.y() + area.height();
    while (popup->isVisible() && popup->y() < bottom) {
        popup->move(popup->x(), popup->y() + SlideStep);
        QCoreApplication::processEvents();
        pause();
    }
}

void ChangePopups::pause() const
{
    Pause::ms(StepPauseMs);
}
