#pragma once

#include "toolkit/ClickTracker.h"

#include <QLabel>

// The name under a thumbnail: a label that reports a left click (press and release inside it).
class ThumbnailCaption : public QLabel
{
    Q_OBJECT

public:
    explicit ThumbnailCaption(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ClickTracker m_click;
};
