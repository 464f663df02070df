#include "ThumbnailCaption.h"

#include <QMouseEvent>

ThumbnailCaption::ThumbnailCaption(QWidget* parent) : QLabel(parent) {}

void ThumbnailCaption::mousePressEvent(QMouseEvent* event)
{
    if (!m_click.press(event)) {
        QLabel::mousePressEvent(event);
        return;
    }
    event->accept();
}

void ThumbnailCaption::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    if (m_click.release(event, rect()))
        emit clicked();
}
