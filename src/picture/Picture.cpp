#include "Picture.h"

#include "ExifThumbnail.h"
#include "FitRule.h"
#include "GifCheck.h"
#include "JpegDecoder.h"
#include "JpegStructure.h"
#include "PathText.h"
#include "platform/AppError.h"
#include "platform/OutsideFile.h"

#include <QBuffer>
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

// Files larger than this are not read into memory: a 100-megapixel camera file is about a third of it.
constexpr qint64 maxFileBytes = 128LL * 1024 * 1024;
constexpr qint64 mb = 1024 * 1024;

// Qt's readers refuse on their own any header that would need more than a picture may have.
void limitQtReaders()
{
    static const bool done = [] {
        QImageReader::setAllocationLimit(int(DecodeBudget::DefaultBytes / mb));
        return true;
    }();
    (void)done;
}

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

// Reads a whole file that the decoder wants in memory, its bytes counted in share before they are
// allocated. Only a regular file is read (a pipe or a device named like a picture would block the
// reader or never end), and never more than any picture needs; tooLarge is raised beyond that.
QByteArray readWhole(const QString& path, const QString& tooLarge, DecodeBudget::Share& share)
{
    OutsideFile::Options options;
    options.maxBytes = maxFileBytes;
    options.beforeRead = [&](qint64 size) { share = DecodeBudget::shared().take(size); };
    const OutsideFile::Result read = OutsideFile::read(path, options);
    switch (read.problem) {
    case OutsideFile::Problem::None:
        return read.bytes;
    case OutsideFile::Problem::TooLarge:
        throw AppError(tooLarge);
    case OutsideFile::Problem::NotRegular:
        throw AppError::fileOpen(path, QStringLiteral("Det är ingen vanlig fil."));
    default:
        throw AppError::fileOpen(path, read.reason);
    }
}

QByteArray readJpegFile(const QString& path, DecodeBudget::Share& share)
{
    return readWhole(path, JpegDecoder::errorText(JERR_IMAGE_TOO_BIG), share);
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

// The pixels Qt's reader will allocate for the file, from its header; 0 when the header cannot say.
qint64 qtDecodeBytes(QImageReader& reader, const QByteArray& bytes, Format format)
{
    if (format == Format::Gif) {
        // The screen is allocated whatever the frames hold, and the frame beside it.
        const GifCheck::Sizes sizes = GifCheck::sizes(bytes);
        return 4 * (qint64(sizes.screen.width()) * sizes.screen.height() +
                    qint64(sizes.frame.width()) * sizes.frame.height());
    }
    const QSize size = reader.size();
    if (!size.isValid())
        return 0;
    const QImage::Format pixelFormat = reader.imageFormat();
    const int bits =
        pixelFormat == QImage::Format_Invalid ? 32 : qMax(32, int(QImage::toPixelFormat(pixelFormat).bitsPerPixel()));
    return qint64(size.width()) * size.height() * bits / 8;
}

// BMP, GIF and PNG through Qt's readers, always with the reader the extension names:
// a .bmp holding PNG data is an invalid bitmap, as it would be anywhere else.
QImage readWithQt(const QString& path, Format format)
{
    limitQtReaders();
    DecodeBudget::Share share;
    QByteArray bytes = readWhole(path, invalidText(format), share);
    if (format == Format::Gif && !GifCheck::firstFrameIntact(bytes))
        throw AppError(invalidText(format));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const char* name = format == Format::Bmp ? "bmp" : format == Format::Gif ? "gif" : "png";
    QImageReader reader(&buffer, name);
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);

    // Weighed from the header before Qt allocates anything; a header beyond any picture is invalid.
    const qint64 needed = qtDecodeBytes(reader, bytes, format);
    if (needed > 4 * JpegDecoder::maxPixels)
        throw AppError(invalidText(format));
    if (share.bytes() + needed > DecodeBudget::DefaultBytes)
        throw AppError(JpegDecoder::tooLargeText(path, share.bytes() + needed));
    share.grow(needed);
    QImage image; // a GIF gives its first frame
    if (!reader.read(&image) || image.isNull())
        throw AppError(invalidText(format));
    return image;
}

} // namespace

Picture Picture::load(const QString& path)
{
    const Format format = formatFor(path);
    if (format == Format::Jpeg) {
        DecodeBudget::Share share;
        const QByteArray bytes = readJpegFile(path, share);
        return Picture(JpegDecoder::decode(bytes, {.fileName = path, .share = &share}));
    }
    return Picture(readWithQt(path, format));
}

Picture::Reduced Picture::loadReduced(const QString& path, const QSize& box, Scans scans)
{
    const Format format = formatFor(path);
    Reduced reduced;
    if (format == Format::Jpeg) {
        DecodeBudget::Share share;
        const QByteArray bytes = readJpegFile(path, share);
        reduced.image =
            JpegDecoder::decodeForBox(bytes, box, &reduced.pictureSize, scans, {.fileName = path, .share = &share});
    } else {
        // Qt's BMP, GIF and PNG readers cannot decode at a reduced size.
        reduced.image = readWithQt(path, format);
        reduced.pictureSize = reduced.image.size();
    }
    return reduced;
}

Picture::Reduced Picture::loadForThumbnail(const QString& path, const QSize& box, qreal deviceRatio,
                                           const QSize& decodeBox)
{
    if (formatFor(path) != Format::Jpeg)
        return loadReduced(path, decodeBox, Scans::Enough);
    // The EXIF block and the frame header come first, within 64 KiB and a little: the head and the
    // end marker are read, not the whole file.
    OutsideFile::Options options;
    options.maxBytes = maxFileBytes;
    options.headBytes = 128 * 1024;
    options.tailBytes = 2;
    const OutsideFile::Result ends = OutsideFile::read(path, options);
    const JpegStructure::Head head = JpegStructure::head(ends.bytes);
    const QByteArrayView preview = ExifThumbnail::find(head.exif);
    // A picture the decoder would refuse, or one cut short, gets no stand-in.
    const QSize& picture = head.pictureSize;
    if (ends.ok() && !preview.isEmpty() && picture.isValid() &&
        qint64(picture.width()) * picture.height() <= JpegDecoder::maxPixels && JpegStructure::endsWithEoi(ends.tail)) {
        try {
            Reduced reduced{JpegDecoder::decode(preview.toByteArray(), {.fileName = path}), picture};
            if (ExifThumbnail::usable(reduced.image.size(), picture, fitRect(picture, box).size() * deviceRatio))
                return reduced;
        } catch (const AppError&) {
            // A damaged preview says nothing about the picture: it is decoded instead.
        }
    }
    return loadReduced(path, decodeBox, Scans::Enough);
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
