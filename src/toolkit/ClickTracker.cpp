#include "ClickTracker.h"

#include <QMouseEvent>
#include <QRegion>

bool ClickTracker::press(const QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    m_pressed = true;
    return true;
}

bool ClickTracker::releasedAfterPress(const QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    const bool pressed = m_pressed;
    m_pressed = false;
    return pressed;
}

bool ClickTracker::release(const QMouseEvent* event, const QRect& area)
{
    return releasedAfterPress(event) && area.contains(event->position().toPoint());
}

bool ClickTracker::release(const QMouseEvent* event, const QRegion& area)
{
    return releasedAfterPress(event) && area.contains(event->position().toPoint());
}
