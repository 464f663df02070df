#include "CaptionButton.h"

#include "platform/Guard.h"
#include "toolkit/TransparentImage.h"

#include <QLabel>
#include <QMouseEvent>

const CaptionButton::Images CaptionButton::closeImages = {QStringLiteral("Steng"), QStringLiteral("StengOver"),
                                                          QStringLiteral("StengNer"), QStringLiteral("Steng")};
const CaptionButton::Images CaptionButton::minimiseImages = {QStringLiteral("Min"), QStringLiteral("MinOver"),
                                                             QStringLiteral("MinNer"), QStringLiteral("Min")};
const CaptionButton::Images CaptionButton::aboutImages = {QStringLiteral("Om"), QStringLiteral("Om1"),
                                                          QStringLiteral("Om2"), QStringLiteral("Om1")};

CaptionButton::CaptionButton(TransparentImage* image, QLabel* hotSpot, Images images, QObject* parent)
    : QObject(parent), m_image(image), m_hotSpot(hotSpot), m_images(std::move(images))
{
    hotSpot->installEventFilter(this);
}

void CaptionButton::MouseEnter()
{
    m_image->setResource(m_images.over);
}

void CaptionButton::MouseLeave()
{
    m_image->setResource(m_images.rest);
}

void CaptionButton::MouseDown()
{
    m_image->setResource(m_images.down);
}

void CaptionButton::MouseUp()
{
    m_image->setResource(m_images.up);
}

bool CaptionButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_hotSpot)
        return false;
    switch (event->type()) {
    case QEvent::Enter:
        runGuarded([this] { MouseEnter(); });
        return false;
    case QEvent::Leave:
        runGuarded([this] { MouseLeave(); });
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        m_click.press(static_cast<QMouseEvent*>(event));
        runGuarded([this] { MouseDown(); });
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const bool click = m_click.release(static_cast<QMouseEvent*>(event), m_hotSpot->rect());
        runGuarded([this] { MouseUp(); });
        if (click)
            runGuarded([this] { emit clicked(); });
        return true;
    }
    default:
        return false;
    }
}
