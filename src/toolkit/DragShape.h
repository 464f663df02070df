#pragma once

#include <QWidget>

// An invisible area that shows the drag cursor; whoever moves the window watches its
// mouse events.
class DragShape : public QWidget
{
    Q_OBJECT

public:
    explicit DragShape(QWidget* parent = nullptr);
};
