#include "PictureView.h"

#include "picture/FitRule.h"
#include "picture/Picture.h"

#include <QMouseEvent>
#include <QPainter>

PictureView::PictureView(QWidget* parent) : QWidget(parent)
{
    // Only the picture is painted; whatever lies behind shows through around it.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground);
}

void PictureView::setImage(const QImage& image)
{
    m_image = image;
    m_scaled = QImage();
    update();
}

void PictureView::setPicture(const Picture& picture)
{
    setImage(picture.image());
}

void PictureView::clear()
{
    setImage(QImage());
}

void PictureView::paintEvent(QPaintEvent*)
{
    if (m_image.isNull())
        return;
    const QRect target = fitRect(m_image.size(), size());
    if (target.isEmpty())
        return;
    QPainter p(this);
    if (target.size() == m_image.size()) {
        p.drawImage(target.topLeft(), m_image);
        return;
    }
    if (m_scaled.size() != target.size())
        m_scaled = m_image.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    p.drawImage(target.topLeft(), m_scaled);
}

void PictureView::mousePressEvent(QMouseEvent* event)
{
    m_click.press(event);
    QWidget::mousePressEvent(event);
}

void PictureView::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_click.release(event, rect());
    QWidget::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}
