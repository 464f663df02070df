#pragma once

#include "DecodeBudget.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// JPEG decoding through libjpeg, from an in-memory copy of the file. Every libjpeg error becomes
// AppError("JPEG error #<libjpeg message code>"), and so do the warnings that mean damaged pixels
// (data that ends early, bad codes, a broken progression). The limits are applied from the header
// before anything is allocated: a decode that would need more memory than DecodeBudget gives one
// picture fails with tooLargeText, one of more scans than maxScans with JERR_BAD_PROGRESSION.
// What a decode is told besides the data.
struct JpegContext
{
    QString fileName;                     // named in the messages
    DecodeBudget::Share* share = nullptr; // holds the file's bytes already; the decode adds to it
};

class JpegDecoder
{
public:
    // Pictures claiming more pixels than this are refused (JERR_IMAGE_TOO_BIG); below it, the memory
    // a decode needs decides. A 100-megapixel camera file is decoded for a box with little memory.
    static constexpr qint64 maxPixels = 1LL << 28;
    // Encoders write about ten scans; each scan walks the whole picture.
    static constexpr int maxScans = 64;

    using Context = JpegContext;

    // "JPEG error #<code>", the text of every JPEG failure.
    static QString errorText(int libjpegCode);
    // "Bilden är för stor: ...", naming the file and the memory it would need.
    static QString tooLargeText(const QString& fileName, qint64 bytes);

    // The whole picture as 32-bit RGB.
    static QImage decode(const QByteArray& data, const Context& context = {});

    // How a progressive file is decoded at 1/8.
    enum class Scans
    {
        All,   // as large pictures are: with libjpeg's block smoothing
        Enough // without it (it guesses coefficients that 1/8 never shows); every scan is still read
               // and checked, so a thumbnail is shown exactly when the picture itself can be
    };

    // The picture decoded with the smallest DCT scaling (n/8, n = 1..8) whose result still covers
    // the size that fitting into box asks for. pictureSize receives the unscaled size.
    static QImage decodeForBox(const QByteArray& data, const QSize& box, QSize* pictureSize, Scans scans = Scans::All,
                               const Context& context = {});

    // The DCT scaling numerator (over 8) that decodeForBox uses for a picture into box.
    static int scaleNumerator(const QSize& picture, const QSize& box);
};
