#pragma once

#include "JpegDecoder.h"

#include <QImage>
#include <QString>

class QPainter;
class QRect;
class QSize;

// A decoded picture file. The decoder is chosen by the file's extension, never by its content;
// every failure (unknown extension, unreadable file, undecodable data) is an AppError with the
// text the user sees.
class Picture
{
public:
    Picture() = default;
    explicit Picture(QImage image) : m_image(std::move(image)) {}

    // Decodes the whole picture. Throws AppError.
    static Picture load(const QString& path);
    using Scans = JpegDecoder::Scans;

    // A picture decoded only as far as a box needs: a JPEG at the smallest DCT scale that still
    // covers the box (other formats whole, as their readers cannot scale), with its own size.
    struct Reduced
    {
        QImage image;
        QSize pictureSize;
    };

    // Throws AppError: a damaged file fails whatever the box or the scans, so a thumbnail shows
    // exactly when the picture can be shown large; a file needing more memory than a picture may
    // have fails with "Bilden är för stor ...". Scans::Enough (thumbnails) skips block smoothing.
    static Reduced loadReduced(const QString& path, const QSize& box, Scans scans = Scans::All);
    // What a thumbnail of box (logical pixels) at deviceRatio is made from: a JPEG's embedded
    // preview when ExifThumbnail::usable allows it and the file is whole to its end marker, else
    // loadReduced(path, decodeBox, Scans::Enough). Either way pictureSize is the picture's own.
    // Throws AppError.
    static Reduced loadForThumbnail(const QString& path, const QSize& box, qreal deviceRatio, const QSize& decodeBox);
    // The reduced picture scaled to fitRect(picture size, box).size(), a logical size: at a
    // deviceRatio above 1 the image is decoded for that many more pixels and carries the ratio.
    // Throws AppError.
    static QImage loadFitted(const QString& path, const QSize& box, Scans scans = Scans::All, qreal deviceRatio = 1);
    // reduced scaled to the size the fit rule gives its picture in box, as loadFitted.
    static QImage fitted(const Reduced& reduced, const QSize& box, qreal deviceRatio = 1);

    bool isNull() const { return m_image.isNull(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    const QImage& image() const { return m_image; }

    // Draws the picture stretched into target.
    void draw(QPainter& p, const QRect& target) const;

private:
    QImage m_image;
};
