#pragma once

#include <QList>
#include <QObject>
#include <QPoint>

class DragShape;
class QWidget;

// Moves a frameless window while the left button is held on one of its drag areas. Positions
// are taken in screen coordinates, so moving the window under the pointer does not feed back.
class WindowDragger : public QObject
{
    Q_OBJECT

public:
    WindowDragger(QWidget* window, const QList<DragShape*>& areas, QObject* parent = nullptr);

    void Shape1MouseDown(Qt::MouseButton button, const QPoint& globalPos);
    void Shape1MouseMove(const QPoint& globalPos);
    void Shape1MouseUp(Qt::MouseButton button);
    bool isDragging() const { return m_dragging; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    bool m_dragging = false;
    QPoint m_last;
};
