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
    // Sizes are logical: an image that already fits (made for the screen's pixels by
    // Picture::fitted) is drawn as it is; a larger one is scaled for the screen's pixels.
    const QSize logical = m_image.deviceIndependentSize().toSize();
    const QRect target = fitRect(logical, size());
    if (target.isEmpty())
        return;
    QPainter p(this);
    const qreal ratio = devicePixelRatioF();
    if (target.size() == logical) {
        p.drawImage(target.topLeft(), m_image);
        return;
    }
    if (m_scaled.deviceIndependentSize().toSize() != target.size() ||
        !qFuzzyCompare(m_scaled.devicePixelRatio(), ratio)) {
        m_scaled = m_image.scaled(target.size() * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_scaled.setDevicePixelRatio(ratio);
    }
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
