#include "WindowDragger.h"

#include "toolkit/DragShape.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowDragger::WindowDragger(QWidget* window, const QList<DragShape*>& areas, QObject* parent)
    : QObject(parent), m_window(window)
{
    for (DragShape* area : areas)
        area->installEventFilter(this);
}

void WindowDragger::Shape1MouseDown(Qt::MouseButton button, const QPoint& globalPos)
{
    if (button != Qt::LeftButton)
        return;
    // Wayland lets no client place its window: the compositor moves it for us.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) && m_window->windowHandle() &&
        m_window->windowHandle()->startSystemMove())
        return;
    m_dragging = true;
    m_last = globalPos;
}

void WindowDragger::Shape1MouseMove(const QPoint& globalPos)
{
    if (!m_dragging)
        return;
    const QPoint delta = globalPos - m_last;
    m_window->move(m_window->pos() + delta);
    m_last += delta;
}

void WindowDragger::Shape1MouseUp(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        m_dragging = false;
}

bool WindowDragger::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        Shape1MouseDown(mouse->button(), mouse->globalPosition().toPoint());
        return true;
    }
    case QEvent::MouseMove:
        Shape1MouseMove(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return true;
    case QEvent::MouseButtonRelease:
        Shape1MouseUp(static_cast<QMouseEvent*>(event)->button());
        return true;
    default:
        return false;
    }
}
