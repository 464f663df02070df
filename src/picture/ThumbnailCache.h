#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

// The freedesktop.org thumbnail cache that file managers share: $XDG_CACHE_HOME/thumbnails/normal
// (at most 128 pixels a side) and large (256), PNG files named by the MD5 of the picture's URI and
// carrying Thumb::URI, Thumb::MTime and Thumb::Size. A thumbnail counts only while its MTime (and
// its Size, when it has one) are the file's; an entry that is no small PNG file of the user's is
// passed over and made anew.
// Holds nothing but its folder, so any thread may use it.
class ThumbnailCache
{
public:
    enum class Flavour
    {
        Normal = 128,
        Large = 256
    };

    struct Entry
    {
        QImage image;
        QSize pictureSize; // from Thumb::Image::Width/Height; invalid when the thumbnail omits them
        Flavour flavour = Flavour::Normal;
    };

    // root is the thumbnails folder; by default the user's.
    explicit ThumbnailCache(QString root = defaultRoot());
    static QString defaultRoot();
    const QString& root() const { return m_root; }

    // file:// URI of the absolute path, escaped as GLib escapes it, so the names match other programs'.
    static QByteArray uri(const QString& path);
    // The cache file of path in flavour.
    QString fileFor(Flavour flavour, const QString& path) const;
    // Whole seconds since the epoch, as Thumb::MTime holds them; -1 when path is no readable file.
    static qint64 modificationTime(const QString& path);
    // The smallest flavour whose thumbnails cover box; none for a larger box.
    static std::optional<Flavour> flavourFor(const QSize& box);
    static int side(Flavour flavour) { return int(flavour); }

    // A thumbnail of path made while the file had modification time mtime, from the smallest
    // flavour at least `side` big (normal first, then large).
    std::optional<Entry> find(const QString& path, qint64 mtime, int side) const;
    // Writes thumbnail (already scaled for flavour) atomically; folders 0700 (an existing one of the
    // user's is made so), file 0600.
    // Returns false when it could not be written; the cache is an aid, never an error.
    bool store(const QString& path, qint64 mtime, const QImage& thumbnail, const QSize& pictureSize,
               Flavour flavour) const;

private:
    static std::optional<Entry> read(const QString& file, const QByteArray& uri, qint64 mtime, qint64 size, int side);

    QString m_root;
};
