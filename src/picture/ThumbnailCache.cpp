#include "ThumbnailCache.h"

#include "platform/OutsideFile.h"
#include "platform/PrivateFile.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QStandardPaths>
#include <QtEndian>

namespace {

const QString UriKey = QStringLiteral("Thumb::URI");
const QString MTimeKey = QStringLiteral("Thumb::MTime");
const QString WidthKey = QStringLiteral("Thumb::Image::Width");
const QString HeightKey = QStringLiteral("Thumb::Image::Height");
const QString SizeKey = QStringLiteral("Thumb::Size");

// A 256-pixel PNG with its keys is far below this; anything larger is no thumbnail.
constexpr qint64 MaxEntryBytes = 1024 * 1024;

QString folderName(ThumbnailCache::Flavour flavour)
{
    return flavour == ThumbnailCache::Flavour::Normal ? QStringLiteral("normal") : QStringLiteral("large");
}

// Every chunk of the PNG lies within the file: libpng allocates a chunk's claimed length before it
// reads it, so a few bytes could otherwise make it take megabytes.
bool chunksFit(const QByteArray& png)
{
    if (!png.startsWith("\x89PNG\r\n\x1a\n"))
        return false;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const qint64 length = qFromBigEndian<quint32>(png.constData() + at);
        if (at + 12 + length > png.size())
            return false;
        if (png.mid(at + 4, 4) == "IEND")
            return true;
        at += 12 + length;
    }
    return false;
}

// The file's size in bytes, as Thumb::Size holds it; -1 when it is no readable file.
qint64 fileSize(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() ? info.size() : -1;
}

} // namespace

ThumbnailCache::ThumbnailCache(QString root) : m_root(std::move(root)) {}

QString ThumbnailCache::defaultRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/thumbnails");
}

QByteArray ThumbnailCache::uri(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    return QByteArrayLiteral("file://") + bytes.toPercentEncoding("!$&'()*+,;=:@/");
}

QString ThumbnailCache::fileFor(Flavour flavour, const QString& path) const
{
    const QByteArray md5 = QCryptographicHash::hash(uri(path), QCryptographicHash::Md5).toHex();
    return m_root + u'/' + folderName(flavour) + u'/' + QString::fromLatin1(md5) + QStringLiteral(".png");
}

qint64 ThumbnailCache::modificationTime(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return -1;
    return info.lastModified().toSecsSinceEpoch();
}

std::optional<ThumbnailCache::Flavour> ThumbnailCache::flavourFor(const QSize& box)
{
    const int needed = qMax(box.width(), box.height());
    if (needed <= side(Flavour::Normal))
        return Flavour::Normal;
    if (needed <= side(Flavour::Large))
        return Flavour::Large;
    return std::nullopt;
}

// The folder is shared with every program of the user and may hold anything: only a regular file
// of the user's, small enough for a thumbnail, is read (a pipe would block, a link lead elsewhere),
// and its pixels only when its header says it fits the flavour.
std::optional<ThumbnailCache::Entry> ThumbnailCache::read(const QString& file, const QByteArray& uri, qint64 mtime,
                                                          qint64 size, int side)
{
    OutsideFile::Options options;
    options.maxBytes = MaxEntryBytes;
    options.followLinks = false;
    options.ownedByUser = true;
    OutsideFile::Result read = OutsideFile::read(file, options);
    if (!read.ok() || !chunksFit(read.bytes))
        return std::nullopt;
    QBuffer buffer(&read.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    const QSize header = reader.size();
    if (!header.isValid() || header.isEmpty() || header.width() > side || header.height() > side)
        return std::nullopt;
    Entry entry;
    if (!reader.read(&entry.image) || entry.image.isNull())
        return std::nullopt;
    // Qt hands out the text chunks with the pixels only.
    if (entry.image.text(UriKey).toUtf8() != uri)
        return std::nullopt;
    bool ok = false;
    if (entry.image.text(MTimeKey).toLongLong(&ok) != mtime || !ok)
        return std::nullopt;
    // Optional, but when it is there it must match: a file replaced with its time kept has another size.
    const QString storedSize = entry.image.text(SizeKey);
    if (!storedSize.isEmpty() && (storedSize.toLongLong(&ok) != size || !ok))
        return std::nullopt;
    entry.pictureSize = QSize(entry.image.text(WidthKey).toInt(), entry.image.text(HeightKey).toInt());
    if (entry.pictureSize.isEmpty())
        entry.pictureSize = QSize();
    return entry;
}

std::optional<ThumbnailCache::Entry> ThumbnailCache::find(const QString& path, qint64 mtime, int side) const
{
    if (mtime < 0)
        return std::nullopt;
    const QByteArray key = uri(path);
    const qint64 size = fileSize(path);
    for (Flavour flavour : {Flavour::Normal, Flavour::Large}) {
        if (ThumbnailCache::side(flavour) < side)
            continue;
        if (auto entry = read(fileFor(flavour, path), key, mtime, size, ThumbnailCache::side(flavour))) {
            entry->flavour = flavour;
            return entry;
        }
    }
    return std::nullopt;
}

bool ThumbnailCache::store(const QString& path, qint64 mtime, const QImage& thumbnail, const QSize& pictureSize,
                           Flavour flavour) const
{
    if (mtime < 0 || thumbnail.isNull())
        return false;
    const QString file = fileFor(flavour, path);
    const qint64 size = fileSize(path);
    // The folders are the user's alone; one of another user's is not written into.
    if (size < 0 || !PrivateFile::makeFolder(m_root) || !PrivateFile::makeFolder(QFileInfo(file).path()))
        return false;
    QImage tagged = thumbnail;
    tagged.setText(UriKey, QString::fromUtf8(uri(path)));
    tagged.setText(MTimeKey, QString::number(mtime));
    tagged.setText(SizeKey, QString::number(size));
    tagged.setText(WidthKey, QString::number(pictureSize.width()));
    tagged.setText(HeightKey, QString::number(pictureSize.height()));
    tagged.setText(QStringLiteral("Software"), QStringLiteral("Tavelväxlaren"));

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(1); // thumbnails are small; speed matters more than bytes
    if (!writer.write(tagged))
        return false;
    // A new file of our own renamed over the name: a reader never sees half a file, and whatever
    // was put at the name (a link, a pipe) is replaced, never written through.
    return PrivateFile::replace(file, png);
}
