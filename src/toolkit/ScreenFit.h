#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

class QWidget;

// Windows the program places itself come back onto a screen when their place is on none
// (a monitor unplugged since the place was stored, or removed while the program runs).
namespace ScreenFit {

struct Screen
{
    QRect geometry;
    QRect workArea;
};

// The top-left corner for window: where it is while it overlaps some screen; otherwise wholly
// inside the nearest screen's work area (at that area's top-left where it is larger). Screens are
// taken in order for equal distances, so the primary one should come first.
QPoint place(const QRect& window, const QList<Screen>& screens);

// The screens now, the primary one first.
QList<Screen> currentScreens();

// Moves window by place() now and again whenever a screen goes or a work area shrinks.
void keepOnScreen(QWidget* window);

} // namespace ScreenFit
