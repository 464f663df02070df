#include "DragShape.h"

DragShape::DragShape(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::DragMoveCursor);
    setAttribute(Qt::WA_NoSystemBackground);
}
