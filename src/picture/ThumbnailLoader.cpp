#include "ThumbnailLoader.h"

#include "FitRule.h"
#include "Picture.h"
#include "platform/AppError.h"

#include <QThread>

namespace {

// A thumbnail scaled for the cache: fitted into the flavour's square, never enlarged.
QImage forFlavour(const Picture::Reduced& reduced, ThumbnailCache::Flavour flavour)
{
    const int side = ThumbnailCache::side(flavour);
    return Picture::fitted(reduced, QSize(side, side));
}

} // namespace

ThumbnailLoader::ThumbnailLoader(ThumbnailCache cache, QObject* parent) : QObject(parent), m_cache(std::move(cache))
{
    m_pool.setMaxThreadCount(threadCount());
}

ThumbnailLoader::~ThumbnailLoader()
{
    reset();
    m_pool.waitForDone();
}

int ThumbnailLoader::threadCount()
{
    return qMax(1, QThread::idealThreadCount());
}

QImage ThumbnailLoader::make(const QString& path, const QSize& box, const ThumbnailCache& cache, qreal deviceRatio)
{
    // The cached flavour must cover the card's device pixels, not its logical size.
    const std::optional<ThumbnailCache::Flavour> flavour = ThumbnailCache::flavourFor(box * deviceRatio);
    if (!flavour)
        return Picture::loadFitted(path, box, Picture::Scans::Enough, deviceRatio);

    // Taken before the decode: a file changed meanwhile gets a thumbnail that is already stale.
    const qint64 mtime = ThumbnailCache::modificationTime(path);
    const int side = ThumbnailCache::side(*flavour);
    if (auto hit = cache.find(path, mtime, side)) {
        // Without the picture's size only a thumbnail scaled down to its flavour tells it: its
        // proportions are the picture's, and the picture was larger than any card box.
        const bool scaledDown = qMax(hit->image.width(), hit->image.height()) == ThumbnailCache::side(hit->flavour);
        const QSize pictureSize = hit->pictureSize.isValid() ? hit->pictureSize : hit->image.size();
        const QSize target = fitRect(pictureSize, box).size() * deviceRatio;
        // Thumbnails are never enlarged for the card; one too small is made anew.
        if ((hit->pictureSize.isValid() || scaledDown) && hit->image.width() >= target.width() &&
            hit->image.height() >= target.height())
            return Picture::fitted({hit->image, pictureSize}, box, deviceRatio);
    }

    // Decoded for the flavour's square, which covers box too; an embedded preview covers box but
    // is cached only when it covers the flavour's thumbnail as well.
    const QSize square(side, side);
    const Picture::Reduced reduced = Picture::loadForThumbnail(path, box, deviceRatio, square);
    const QSize flavourSize = fitRect(reduced.pictureSize, square).size();
    if (reduced.image.width() >= flavourSize.width() && reduced.image.height() >= flavourSize.height())
        cache.store(path, mtime, forFlavour(reduced, *flavour), reduced.pictureSize, *flavour);
    return Picture::fitted(reduced, box, deviceRatio);
}

void ThumbnailLoader::request(int index, const QString& path, const QSize& box)
{
    // A second request for the same index makes the first one's result stale by its serial.
    const quint64 serial = ++m_serial;
    Slot& slot = m_slots[index];
    slot = Slot();
    slot.path = path;
    slot.box = box;
    slot.ratio = m_ratio;
    slot.serial = serial;
    const quint64 generation = m_generation.load();
    const ThumbnailCache cache = m_cache;
    const qreal ratio = m_ratio;
    m_pool.start([this, generation, serial, index, path, box, cache, ratio] {
        if (m_generation.load() != generation)
            return;
        QImage image;
        QString error;
        try {
            image = make(path, box, cache, ratio);
        } catch (const AppError& e) {
            error = e.message();
        } catch (const std::exception& e) {
            error = QString::fromLocal8Bit(e.what());
        }
        QMetaObject::invokeMethod(
            this, [this, generation, serial, index, image, error] { deliver(generation, serial, index, image, error); },
            Qt::QueuedConnection);
    });
}

bool ThumbnailLoader::isRequested(int index, const QString& path, const QSize& box) const
{
    const auto it = m_slots.constFind(index);
    return it != m_slots.cend() && it->path == path && it->box == box && it->ratio == m_ratio;
}

void ThumbnailLoader::reset()
{
    ++m_generation;
    m_pool.clear();
    m_slots.clear();
}

void ThumbnailLoader::deliver(quint64 generation, quint64 serial, int index, const QImage& image, const QString& error)
{
    if (generation != m_generation.load())
        return;
    const auto it = m_slots.find(index);
    if (it == m_slots.end() || it->serial != serial || it->done)
        return;
    it->done = true;
    it->image = image;
    it->error = error;
    emit ready(index);
}

std::optional<QImage> ThumbnailLoader::take(int index)
{
    const auto it = m_slots.find(index);
    if (it == m_slots.end() || !it->done)
        return std::nullopt;
    const Slot slot = *it;
    m_slots.erase(it);
    if (!slot.error.isNull())
        throw AppError(slot.error);
    return slot.image;
}
