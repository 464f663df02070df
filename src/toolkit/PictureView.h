#pragma once

#include "ClickTracker.h"

#include <QImage>
#include <QWidget>

class Picture;

// Shows one picture by the fit rule: centred, scaled down to the widget when larger, never
// enlarged, on a transparent background. Emits clicked() for a left click anywhere on it.
class PictureView : public QWidget
{
    Q_OBJECT

public:
    explicit PictureView(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    void setPicture(const Picture& picture);
    void clear();
    const QImage& image() const { return m_image; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_image;
    // The picture scaled to the last painted size, so a large picture is not rescaled on every paint.
    QImage m_scaled;
    ClickTracker m_click;
};
