#include "TransparentImage.h"

#include "TransparentColour.h"
#include "resources/Resources.h"

TransparentImage::TransparentImage(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TransparentImage::setBitmap(const QPixmap& bitmap, bool transparent)
{
    m_bitmap = bitmap;
    m_transparent = transparent;
    setPixmap(transparent ? withBottomLeftTransparent(bitmap) : bitmap);
    if (!bitmap.isNull())
        resize(bitmap.deviceIndependentSize().toSize());
}

void TransparentImage::setResource(const QString& name)
{
    const QPixmap bitmap = Resources::bitmap(name, devicePixelRatio());
    m_resource = name;
    setBitmap(bitmap, m_transparent);
}
