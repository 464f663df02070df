#pragma once

#include "ThumbnailCache.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <optional>

// Makes the thumbnails of list entries on a pool of worker threads (one per core) and hands them
// to the thread that owns the loader, keyed by the entry's index, announcing each with ready(). Each thumbnail comes
// from the shared thumbnail cache when that holds a current one, else from a reduced decode that is then cached.
// reset() discards everything pending: a result of earlier requests is never handed out.
class ThumbnailLoader : public QObject
{
    Q_OBJECT

public:
    explicit ThumbnailLoader(ThumbnailCache cache = ThumbnailCache(), QObject* parent = nullptr);
    ~ThumbnailLoader() override;

    // Queues the thumbnail of path, fitted into box, as entry index (replacing an earlier request
    // for that index). Work starts in the order of the requests.
    void request(int index, const QString& path, const QSize& box);
    bool isRequested(int index, const QString& path, const QSize& box) const;
    // Later requests are made for this many device pixels per logical one (the screen's ratio).
    void setDeviceRatio(qreal ratio) { m_ratio = ratio; }
    // Forgets every request and result; work already running finishes unseen.
    void reset();

    // The thumbnail of entry index once it is made, which hands it over; nothing while it is
    // still being made (ready(index) follows) or was never asked for. Throws the decoder's AppError.
    std::optional<QImage> take(int index);

    // The thumbnail of path fitted into box (logical pixels) for a screen of deviceRatio, through
    // cache: what one worker does. Throws AppError.
    static QImage make(const QString& path, const QSize& box, const ThumbnailCache& cache, qreal deviceRatio = 1);

    static int threadCount();

signals:
    void ready(int index);

private:
    struct Slot
    {
        QString path;
        QSize box;
        qreal ratio = 1;
        quint64 serial = 0;
        bool done = false;
        QImage image;
        QString error;
    };

    void deliver(quint64 generation, quint64 serial, int index, const QImage& image, const QString& error);

    ThumbnailCache m_cache;
    QThreadPool m_pool;
    std::atomic<quint64> m_generation{0};
    quint64 m_serial = 0;
    qreal m_ratio = 1;
    QHash<int, Slot> m_slots;
};
