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

    // How much of a progressive file is read when the picture is decoded at 1/8.
    enum class Scans
    {
        All,   // every scan: a damaged file fails, as it must before it is shown or applied
        Enough // stop once every component has its DC coefficients, which is all 1/8 shows
    };

    // The picture decoded with the smallest DCT scaling (n/8, n = 1..8) whose result still covers
    // the size that fitting into box asks for. pictureSize receives the unscaled size.
    // With Scans::Enough, a file stopped early is checked to be whole to its end marker; one that
    // is not is decoded again with every scan, so it fails with the error a full decode gives.
    static QImage decodeForBox(const QByteArray& data, const QSize& box, QSize* pictureSize, Scans scans = Scans::All);

    // The DCT scaling numerator (over 8) that decodeForBox uses for a picture into box.
    static int scaleNumerator(const QSize& picture, const QSize& box);
};
