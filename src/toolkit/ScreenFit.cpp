#include "ScreenFit.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace ScreenFit {

namespace {

// The squared distance between two rectangles that do not overlap; 0 when they touch.
qint64 distance(const QRect& a, const QRect& b)
{
    const qint64 dx = std::max({0, b.left() - a.right() - 1, a.left() - b.right() - 1});
    const qint64 dy = std::max({0, b.top() - a.bottom() - 1, a.top() - b.bottom() - 1});
    return dx * dx + dy * dy;
}

int fitInto(int start, int length, int areaStart, int areaLength)
{
    if (length >= areaLength)
        return areaStart;
    return std::clamp(start, areaStart, areaStart + areaLength - length);
}

void fit(QWidget* window)
{
    // Frameless windows have no frame; others are known by their frame once shown.
    const QRect frame = window->isVisible() ? window->frameGeometry() : window->geometry();
    const QPoint at = place(frame, currentScreens());
    if (at != frame.topLeft())
        window->move(window->pos() + (at - frame.topLeft()));
}

} // namespace

QPoint place(const QRect& window, const QList<Screen>& screens)
{
    const bool onSome = std::any_of(screens.begin(), screens.end(),
                                    [&](const Screen& screen) { return screen.geometry.intersects(window); });
    if (onSome || screens.isEmpty())
        return window.topLeft();
    const Screen* nearest = &screens.first();
    for (const Screen& screen : screens) {
        if (distance(window, screen.workArea) < distance(window, nearest->workArea))
            nearest = &screen;
    }
    const QRect& area = nearest->workArea;
    return {fitInto(window.x(), window.width(), area.x(), area.width()),
            fitInto(window.y(), window.height(), area.y(), area.height())};
}

QList<Screen> currentScreens()
{
    QList<Screen> screens;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        screens << Screen{primary->geometry(), primary->availableGeometry()};
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary)
            screens << Screen{screen->geometry(), screen->availableGeometry()};
    }
    return screens;
}

void keepOnScreen(QWidget* window)
{
    fit(window);
    if (window->property("tavlixKeptOnScreen").toBool())
        return;
    window->setProperty("tavlixKeptOnScreen", true);
    // Qt has the screen off its list by then, but the remaining screens may still change.
    const auto refit = [window = QPointer<QWidget>(window)] {
        if (window)
            QTimer::singleShot(0, window, [window] {
                if (window)
                    fit(window);
            });
    };
    QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, window, refit);
    const auto watch = [window, refit](QScreen* screen) {
        QObject::connect(screen, &QScreen::availableGeometryChanged, window, refit);
    };
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    // A monitor plugged in later may lose work area to a panel as well.
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, window, watch);
}

} // namespace ScreenFit
