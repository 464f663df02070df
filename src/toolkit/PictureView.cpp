#include "PictureView.h"

#include "picture/FitRule.h"
#include "picture/Picture.h"
#include "platform/Guard.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

PictureView::PictureView(QWidget* parent) : QWidget(parent)
{
    // Only the picture is painted; whatever lies behind shows through around it.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground);
}

void PictureView::setImage(const QImage& image)
{
    endLoad();
    showImage(image);
}

void PictureView::showImage(const QImage& image)
{
    m_image = image;
    m_scaled = QImage();
    update();
}

void PictureView::load(const QString& path, Picture::Scans scans)
{
    endLoad();
    if (const auto failure = AsyncDecode::failsAtOnce(path))
        throw AppError(*failure);
    m_loading = true;
    m_decode.loadFitted(path, size(), devicePixelRatioF(), scans, this,
                        [this](const AsyncDecode::Result& result) { loadEnded(result); });
}

void PictureView::whenLoaded(QObject* context, std::function<void(const Failure&)> then)
{
    if (!m_loading) {
        then(std::nullopt);
        return;
    }
    m_waiters.push_back({context, std::move(then)});
}

// A replaced load's waiters hear of it from the event loop, not inside the call that replaced it.
void PictureView::endLoad()
{
    if (!m_loading)
        return;
    m_decode.cancel();
    m_loading = false;
    for (Waiter& waiter : std::exchange(m_waiters, {}))
        if (waiter.context)
            QTimer::singleShot(0, waiter.context, [then = std::move(waiter.then)] { runGuarded([&] { then({}); }); });
}

void PictureView::loadEnded(const AsyncDecode::Result& result)
{
    m_loading = false;
    std::vector<Waiter> waiters = std::exchange(m_waiters, {});
    if (result.error.isEmpty()) {
        showImage(result.image);
        emit loaded();
    }
    const Failure failure = result.error.isEmpty() ? Failure() : Failure(result.error);
    bool taken = false;
    for (Waiter& waiter : waiters) {
        if (!waiter.context)
            continue;
        taken = true;
        runGuarded([&] { waiter.then(failure); });
    }
    if (failure && !taken)
        Dialogs::instance().reportError(*failure);
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
