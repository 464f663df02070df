#pragma once

#include <QLabel>
#include <QPixmap>

// An image control that sizes itself to its bitmap. When transparent, the colour of the
// bitmap's bottom-left pixel is left out, so what lies below shows through.
class TransparentImage : public QLabel
{
    Q_OBJECT

public:
    explicit TransparentImage(QWidget* parent = nullptr);

    void setBitmap(const QPixmap& bitmap, bool transparent = true);
    // Loads a bitmap resource by name with the current transparency; throws AppError for an
    // unknown name and then keeps the image shown before.
    void setResource(const QString& name);
    QString resource() const { return m_resource; }
    void setTransparent(bool transparent) { m_transparent = transparent; }
    bool isTransparent() const { return m_transparent; }
    // The bitmap as given, before the transparent colour was taken out.
    QPixmap bitmap() const { return m_bitmap; }

private:
    QPixmap m_bitmap;
    QString m_resource;
    bool m_transparent = true;
};
