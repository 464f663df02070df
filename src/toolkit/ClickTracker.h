#pragma once

class QMouseEvent;
class QPoint;
class QRect;
class QRegion;

// A click as a button counts it: the left button pressed on the control and released inside its
// area. Other buttons neither start nor end a click.
class ClickTracker
{
public:
    // True when the event is a left press, the start of a click.
    bool press(const QMouseEvent* event);
    // True when the event is the left release that ends a click inside area.
    bool release(const QMouseEvent* event, const QRect& area);
    bool release(const QMouseEvent* event, const QRegion& area);

private:
    bool releasedAfterPress(const QMouseEvent* event);

    bool m_pressed = false;
};
