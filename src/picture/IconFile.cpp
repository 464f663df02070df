#include "IconFile.h"

#include "platform/OutsideFile.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>

IconFile::Result IconFile::read(const QString& fileName)
{
    Result result;
    OutsideFile::Options options;
    options.maxBytes = MaxFileBytes;
    OutsideFile::Result read = OutsideFile::read(fileName, options);
    if (read.problem == OutsideFile::Problem::Missing)
        return result;
    if (!read.ok()) {
        result.problem = OutsideFile::error(fileName, read, MaxFileBytes).message();
        return result;
    }
    QBuffer buffer(&read.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    // The size the directory entry claims is weighed before any pixel is allocated.
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > MaxSide || size.height() > MaxSide)) {
        result.problem = QStringLiteral("Ikonen \"%1\" är större än %2 x %2 bildpunkter och används inte.")
                             .arg(QDir::toNativeSeparators(fileName))
                             .arg(MaxSide);
        return result;
    }
    if (!reader.read(&result.image) || result.image.isNull() || result.image.width() > MaxSide ||
        result.image.height() > MaxSide) {
        result.image = QImage();
        result.problem = QStringLiteral("Ikonen \"%1\" är ingen giltig ikonfil och används inte.")
                             .arg(QDir::toNativeSeparators(fileName));
    }
    return result;
}
