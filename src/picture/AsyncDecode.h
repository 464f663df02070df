#pragma once

#include "Picture.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// Decodes for views off the UI thread, so a large picture never holds up a click or a timer.
// The views' decodes have workers of their own, apart from the thumbnails', so a preview is not
// queued behind a long list.
namespace AsyncDecode {

struct Result
{
    QImage image;      // empty on a failure, or when the box is empty
    QSize pictureSize; // the picture's own size
    QString error;     // the decoder's error; empty when the picture was decoded
};

// The error of a picture that is no file at all (missing, a folder), known on this thread without
// reading anything: such a load fails at once, as it always did. Nothing for a file, which
// only a decode can judge.
std::optional<QString> failsAtOnce(const QString& path);

// One view's line of requests: a new request supersedes the ones before it. One still waiting
// is never decoded; one under way runs on, and its result is dropped.
class Channel
{
public:
    Channel();
    ~Channel();
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // The picture at path fitted into box (logical pixels) for a screen of deviceRatio, as
    // Picture::loadFitted. done runs on context's thread, unless a newer request or cancel()
    // came first or context is gone.
    void loadFitted(const QString& path, const QSize& box, qreal deviceRatio, Picture::Scans scans, QObject* context,
                    std::function<void(const Result&)> done);
    // As Picture::loadReduced for box (device pixels), every scan read without smoothing.
    void loadReduced(const QString& path, const QSize& box, QObject* context, std::function<void(const Result&)> done);
    // Drops the request under way, if any.
    void cancel();

private:
    void start(QObject* context, std::function<Result()> work, std::function<void(const Result&)> done);

    std::shared_ptr<std::atomic<quint64>> m_latest;
};

} // namespace AsyncDecode
