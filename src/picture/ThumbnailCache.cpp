#include "ThumbnailCache.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString UriKey = QStringLiteral("Thumb::URI");
const QString MTimeKey = QStringLiteral("Thumb::MTime");
const QString WidthKey = QStringLiteral("Thumb::Image::Width");
const QString HeightKey = QStringLiteral("Thumb::Image::Height");

QString folderName(ThumbnailCache::Flavour flavour)
{
    return flavour == ThumbnailCache::Flavour::Normal ? QStringLiteral("normal") : QStringLiteral("large");
}

// The cache holds other programs' thumbnails too: private to the user.
bool makePrivateFolder(const QString& path)
{
    if (QFileInfo(path).isDir())
        return true;
    if (!QDir().mkpath(path))
        return false;
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return true;
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

std::optional<ThumbnailCache::Entry> ThumbnailCache::read(const QString& file, const QByteArray& uri, qint64 mtime)
{
    QImageReader reader(file, "png");
    reader.setDecideFormatFromContent(false);
    Entry entry;
    if (!reader.read(&entry.image) || entry.image.isNull())
        return std::nullopt;
    // Qt hands out the text chunks with the pixels only.
    if (entry.image.text(UriKey).toUtf8() != uri)
        return std::nullopt;
    bool ok = false;
    if (entry.image.text(MTimeKey).toLongLong(&ok) != mtime || !ok)
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
    for (Flavour flavour : {Flavour::Normal, Flavour::Large}) {
        if (ThumbnailCache::side(flavour) < side)
            continue;
        const QString file = fileFor(flavour, path);
        if (!QFileInfo::exists(file))
            continue;
        if (auto entry = read(file, key, mtime)) {
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
    if (!makePrivateFolder(m_root) || !makePrivateFolder(QFileInfo(file).path()))
        return false;
    QImage tagged = thumbnail;
    tagged.setText(UriKey, QString::fromUtf8(uri(path)));
    tagged.setText(MTimeKey, QString::number(mtime));
    tagged.setText(WidthKey, QString::number(pictureSize.width()));
    tagged.setText(HeightKey, QString::number(pictureSize.height()));
    tagged.setText(QStringLiteral("Software"), QStringLiteral("Tavelväxlaren"));

    // Written beside the final name and renamed over it: a reader never sees half a file.
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QImageWriter writer(&out, "png");
    writer.setCompression(1); // thumbnails are small; speed matters more than bytes
    if (!writer.write(tagged)) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}
