#include "ThumbnailIcon.h"

#include "platform/WholeFile.h"

#include "platform/AppError.h"

#include <QPainter>
#include <QtEndian>

namespace ThumbnailIcon {

QImage render(const QImage& preview)
{
    QImage icon(Size, Size, QImage::Format_RGB16);
    icon.fill(Qt::black);
    if (!preview.isNull()) {
        QPainter painter(&icon);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(0, 0, Size, Size), preview);
    }
    return icon;
}

namespace {

void put16(QByteArray& out, quint16 v)
{
    char bytes[2];
    qToLittleEndian(v, bytes);
    out.append(bytes, 2);
}

void put32(QByteArray& out, quint32 v)
{
    char bytes[4];
    qToLittleEndian(v, bytes);
    out.append(bytes, 4);
}

} // namespace

QByteArray icoBytes(const QImage& icon)
{
    const QImage argb = icon.scaled(Size, Size).convertToFormat(QImage::Format_ARGB32);
    constexpr quint32 headerSize = 40;
    constexpr quint32 pixelBytes = Size * Size * 4;
    constexpr quint32 maskRowBytes = ((Size + 31) / 32) * 4; // 1 bit a pixel, rows padded to 32 bits
    constexpr quint32 maskBytes = maskRowBytes * Size;
    constexpr quint32 imageBytes = headerSize + pixelBytes + maskBytes;
    constexpr quint32 imageOffset = 6 + 16;

    QByteArray out;
    out.reserve(int(imageOffset + imageBytes));
    // ICONDIR
    put16(out, 0); // reserved
    put16(out, 1); // 1 = icon (2 would be a cursor)
    put16(out, 1); // one image
    // ICONDIRENTRY
    out.append(char(Size)); // width
    out.append(char(Size)); // height
    out.append(char(0));    // no palette
    out.append(char(0));    // reserved
    put16(out, 1);          // planes
    put16(out, 32);         // bits per pixel
    put32(out, imageBytes);
    put32(out, imageOffset);
    // BITMAPINFOHEADER; the height counts the colour image and the mask together
    put32(out, headerSize);
    put32(out, Size);
    put32(out, Size * 2);
    put16(out, 1);
    put16(out, 32);
    put32(out, 0); // BI_RGB
    put32(out, pixelBytes + maskBytes);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    // Colour image, bottom row first, BGRA with full alpha
    for (int y = Size - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < Size; ++x) {
            out.append(char(qBlue(line[x])));
            out.append(char(qGreen(line[x])));
            out.append(char(qRed(line[x])));
            out.append(char(0xFF));
        }
    }
    // AND mask: all zero bits, every pixel opaque
    out.append(QByteArray(int(maskBytes), '\0'));
    return out;
}

void save(const QString& fileName, const QImage& icon)
{
    WholeFile::write(fileName, icoBytes(icon));
}

} // namespace ThumbnailIcon
