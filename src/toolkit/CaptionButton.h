#pragma once

#include "ClickTracker.h"

#include <QObject>
#include <QString>

class QLabel;
class TransparentImage;

// A caption button drawn on the skin: an image with a transparent hot-spot label over it.
// The hot spot's mouse events swap the image; a press and release of the left button on the
// hot spot is a click.
class CaptionButton : public QObject
{
    Q_OBJECT

public:
    // The image names of one button, by event.
    struct Images
    {
        QString rest; // at creation and when the pointer leaves
        QString over; // pointer enters
        QString down; // mouse button down
        QString up;   // mouse button up
    };
    static const Images closeImages;
    static const Images minimiseImages;
    static const Images aboutImages;

    CaptionButton(TransparentImage* image, QLabel* hotSpot, Images images, QObject* parent = nullptr);

    void MouseEnter();
    void MouseLeave();
    void MouseDown();
    void MouseUp();

signals:
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TransparentImage* m_image;
    QLabel* m_hotSpot;
    Images m_images;
    ClickTracker m_click;
};
