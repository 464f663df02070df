#include "Picture.h"

#include "FitRule.h"
#include "GifCheck.h"
#include "JpegDecoder.h"
#include "PathText.h"
#include "platform/AppError.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <jerror.h>

namespace {

enum class Format
{
    Bmp,
    Jpeg,
    Gif,
    Png
};

// Files larger than this are not read into memory: no picture the program can show is that big.
constexpr qint64 maxFileBytes = 256LL * 1024 * 1024;
// Qt's readers refuse headers that would need more than this for the decoded picture.
constexpr int allocationLimitMb = 512;

Format formatFor(const QString& path)
{
    // The suffix of the file name only, so a dot in a folder name is not taken for one.
    const QString suffix = PathText::extension(path).mid(1);
    const QString lower = suffix.toLower();
    if (lower == u"bmp")
        return Format::Bmp;
    if (lower == u"jpg" || lower == u"jpeg")
        return Format::Jpeg;
    if (lower == u"gif")
        return Format::Gif;
    if (lower == u"png")
        return Format::Png;
    throw AppError(QStringLiteral("Unknown picture file extension (.%1)").arg(suffix));
}

// Only regular files are read: a pipe or a device named like a picture would block the reader or
// never end.
void openFile(QFile& file)
{
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isFile())
        throw AppError::fileOpen(file.fileName(), QStringLiteral("Det är ingen vanlig fil."));
    if (!file.open(QIODevice::ReadOnly))
        throw AppError::fileOpen(file.fileName(), file.errorString());
}

// Reads a whole file that the decoder wants in memory, never more than any picture needs (a file
// may grow while it is read); tooLarge is raised for files beyond that.
QByteArray readWhole(QFile& file, const QString& tooLarge)
{
    openFile(file);
    if (file.size() > maxFileBytes)
        throw AppError(tooLarge);
    // Grown as the data comes: reading with the limit as the size would allocate all of it up front.
    QByteArray data(qBound<qint64>(4096, file.size() + 1, maxFileBytes + 1), Qt::Uninitialized);
    qint64 length = 0;
    for (;;) {
        if (length == data.size()) {
            if (length > maxFileBytes)
                throw AppError(tooLarge);
            data.resize(qMin<qint64>(2 * length, maxFileBytes + 1));
        }
        const qint64 got = file.read(data.data() + length, data.size() - length);
        if (got < 0)
            throw AppError::fileOpen(file.fileName(), file.errorString());
        if (got == 0)
            break;
        length += got;
    }
    if (length > maxFileBytes)
        throw AppError(tooLarge);
    data.truncate(length);
    return data;
}

QByteArray readJpegFile(QFile& file)
{
    return readWhole(file, JpegDecoder::errorText(JERR_IMAGE_TOO_BIG));
}

QString invalidText(Format format)
{
    switch (format) {
    case Format::Bmp:
        return QStringLiteral("Bitmap image is not valid");
    case Format::Gif:
        return QStringLiteral("GIF image is not valid");
    case Format::Png:
        return QStringLiteral("PNG image is not valid");
    case Format::Jpeg:
        break;
    }
    return QString();
}

QImage readDevice(QIODevice* device, QFile& file, Format format)
{
    const char* name = format == Format::Bmp ? "bmp" : format == Format::Gif ? "gif" : "png";
    QImageReader::setAllocationLimit(allocationLimitMb);
    QImageReader reader(device, name);
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    QImage image; // a GIF gives its first frame
    if (!reader.read(&image) || image.isNull()) {
        if (file.error() != QFileDevice::NoError)
            throw AppError::fileOpen(file.fileName(), file.errorString());
        throw AppError(invalidText(format));
    }
    return image;
}

// BMP, GIF and PNG through Qt's readers, always with the reader the extension names:
// a .bmp holding PNG data is an invalid bitmap, as it would be anywhere else.
QImage readWithQt(QFile& file, Format format)
{
    QByteArray bytes = readWhole(file, invalidText(format));
    if (format == Format::Gif && !GifCheck::firstFrameIntact(bytes))
        throw AppError(invalidText(format));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readDevice(&buffer, file, format);
}

} // namespace

Picture Picture::load(const QString& path)
{
    const Format format = formatFor(path);
    QFile file(path);
    if (format == Format::Jpeg)
        return Picture(JpegDecoder::decode(readJpegFile(file)));
    return Picture(readWithQt(file, format));
}

Picture::Reduced Picture::loadReduced(const QString& path, const QSize& box, Scans scans)
{
    const Format format = formatFor(path);
    QFile file(path);
    Reduced reduced;
    if (format == Format::Jpeg) {
        reduced.image = JpegDecoder::decodeForBox(readJpegFile(file), box, &reduced.pictureSize, scans);
    } else {
        // Qt's BMP, GIF and PNG readers cannot decode at a reduced size.
        reduced.image = readWithQt(file, format);
        reduced.pictureSize = reduced.image.size();
    }
    return reduced;
}

QImage Picture::fitted(const Reduced& reduced, const QSize& box, qreal deviceRatio)
{
    const QSize size = fitRect(reduced.pictureSize, box).size();
    if (size.isEmpty() || reduced.image.isNull())
        return QImage();
    // Scaled for the screen's pixels: the painter then draws it one to one, never enlarged.
    const QSize pixels = size * deviceRatio;
    QImage image = reduced.image.size() == pixels
                       ? reduced.image
                       : reduced.image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(deviceRatio);
    return image;
}

QImage Picture::loadFitted(const QString& path, const QSize& box, Scans scans, qreal deviceRatio)
{
    return fitted(loadReduced(path, box * deviceRatio, scans), box, deviceRatio);
}

void Picture::draw(QPainter& p, const QRect& target) const
{
    if (m_image.isNull() || target.isEmpty())
        return;
    const bool smooth = p.testRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, m_image);
    p.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}
