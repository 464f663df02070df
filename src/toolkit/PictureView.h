#pragma once

#include "ClickTracker.h"
#include "picture/AsyncDecode.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class Picture;

// Shows one picture by the fit rule: centred, scaled down to the widget when larger, never
// enlarged, on a transparent background. Emits clicked() for a left click anywhere on it.
class PictureView : public QWidget
{
    Q_OBJECT

public:
    using Failure = std::optional<QString>;

    explicit PictureView(QWidget* parent = nullptr);

    // Each of these replaces a load still under way: its picture is never shown.
    void setImage(const QImage& image);
    void setPicture(const Picture& picture);
    void clear();
    const QImage& image() const { return m_image; }

    // Shows the picture at path fitted to the view once it is decoded, off this thread; until then
    // the view shows what it showed. A picture that cannot be decoded leaves it so, and its error
    // goes to the error box, unless whenLoaded has taken it. Throws AppError at once when path is
    // no file.
    void load(const QString& path, Picture::Scans scans = Picture::Scans::All);
    bool isLoading() const { return m_loading; }
    // Runs then once the load under way has ended: with its error when it failed (then reports
    // it, not the view), without one when it was shown or replaced. Runs at once when no load is
    // under way. Never after context is gone.
    void whenLoaded(QObject* context, std::function<void(const Failure& failure)> then);

signals:
    void clicked();
    // The picture of the last load is shown.
    void loaded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Waiter
    {
        QPointer<QObject> context;
        std::function<void(const Failure&)> then;
    };

    void showImage(const QImage& image);
    void endLoad();
    void loadEnded(const AsyncDecode::Result& result);

    QImage m_image;
    // The picture scaled to the last painted size, so a large picture is not rescaled on every paint.
    QImage m_scaled;
    ClickTracker m_click;
    AsyncDecode::Channel m_decode;
    bool m_loading = false;
    std::vector<Waiter> m_waiters;
};
