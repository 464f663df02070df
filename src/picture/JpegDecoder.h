#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// JPEG decoding through libjpeg, from an in-memory copy of the file. Every libjpeg error becomes
// AppError("JPEG error #<libjpeg message code>").
class JpegDecoder
{
public:
    // Pictures with more pixels than this are refused before anything is allocated for them.
    static constexpr qint64 maxPixels = 128LL * 1024 * 1024;

    // "JPEG error #<code>", the text of every JPEG failure.
    static QString errorText(int libjpegCode);

    // The whole picture as 32-bit RGB.
    static QImage decode(const QByteArray& data);

    // The picture decoded with the coarsest DCT scaling (1/8, 1/4, 1/2) whose result still covers
    // the size that fitting into box asks for. pictureSize receives the unscaled size.
    static QImage decodeForBox(const QByteArray& data, const QSize& box, QSize* pictureSize);
};
