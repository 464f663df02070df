#include "FuzzSupport.h"
#include "picture/ThumbnailCache.h"

#include <utime.h>

// Any bytes at a picture's cache name: the lookup never blocks or crashes, and what it hands out
// is a thumbnail of the flavour's size at most, for this picture. The seeds are entries for the
// fixed picture below (seeds/cache), so the checks after the keys are reached too.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString folder = scratchFolder();
    static const QString picture = folder + QStringLiteral("/p.jpg");
    static const ThumbnailCache cache(folder + QStringLiteral("/thumbnails"));
    static const bool ready = [] {
        startGuiApplication();
        QDir().mkpath(folder + QStringLiteral("/thumbnails/normal"));
        writeFile(picture, "fuzz");
        const utimbuf times{1700000000, 1700000000};
        return utime(QFile::encodeName(picture).constData(), &times) == 0;
    }();
    FUZZ_CHECK(ready);
    writeFile(cache.fileFor(ThumbnailCache::Flavour::Normal, picture), bytesOf(data, size));
    const std::optional<ThumbnailCache::Entry> entry = cache.find(picture, 1700000000, 128);
    if (entry) {
        FUZZ_CHECK(!entry->image.isNull());
        FUZZ_CHECK(entry->image.width() <= 128 && entry->image.height() <= 128);
        FUZZ_CHECK(entry->image.text(QStringLiteral("Thumb::URI")).toUtf8() == ThumbnailCache::uri(picture));
    }
    return 0;
}
