#include "AsyncDecode.h"

#include "platform/AppError.h"

#include <QFileInfo>
#include <QPointer>
#include <QThread>
#include <QThreadPool>

namespace AsyncDecode {

namespace {

QThreadPool& pool()
{
    static QThreadPool* const instance = [] {
        auto* p = new QThreadPool; // never destroyed: a decode may still run when the program ends
        // The preview and the popup of one change decode side by side where there are cores for it.
        p->setMaxThreadCount(qBound(1, QThread::idealThreadCount(), 2));
        return p;
    }();
    return *instance;
}

} // namespace

std::optional<QString> failsAtOnce(const QString& path)
{
    if (QFileInfo(path).isFile())
        return std::nullopt;
    // The loader's own text: it stops at opening, before anything is decoded.
    try {
        (void)Picture::loadReduced(path, QSize(1, 1), Picture::Scans::Enough);
    } catch (const AppError& error) {
        return error.message();
    }
    return std::nullopt;
}

Channel::Channel() : m_latest(std::make_shared<std::atomic<quint64>>(0)) {}

Channel::~Channel()
{
    cancel();
}

void Channel::cancel()
{
    ++*m_latest;
}

void Channel::loadFitted(const QString& path, const QSize& box, qreal deviceRatio, Picture::Scans scans,
                         QObject* context, std::function<void(const Result&)> done)
{
    start(
        context,
        [path, box, deviceRatio, scans] {
            const Picture::Reduced reduced = Picture::loadReduced(path, box * deviceRatio, scans);
            return Result{Picture::fitted(reduced, box, deviceRatio), reduced.pictureSize, {}};
        },
        std::move(done));
}

void Channel::loadReduced(const QString& path, const QSize& box, QObject* context,
                          std::function<void(const Result&)> done)
{
    start(
        context,
        [path, box] {
            Picture::Reduced reduced = Picture::loadReduced(path, box, Picture::Scans::Enough);
            return Result{std::move(reduced.image), reduced.pictureSize, {}};
        },
        std::move(done));
}

void Channel::start(QObject* context, std::function<Result()> work, std::function<void(const Result&)> done)
{
    const quint64 request = ++*m_latest;
    const std::shared_ptr<std::atomic<quint64>> latest = m_latest;
    QPointer<QObject> receiver(context);
    pool().start([request, latest, receiver, work = std::move(work), done = std::move(done)] {
        if (*latest != request || !receiver)
            return;
        Result result;
        try {
            result = work();
        } catch (const AppError& error) {
            result = Result{{}, {}, error.message()};
        }
        if (*latest != request)
            return;
        if (QObject* target = receiver.data())
            QMetaObject::invokeMethod(
                target,
                [request, latest, receiver, done, result] {
                    // Checked again here: a newer request may have come while this one was on its way.
                    if (receiver && *latest == request)
                        done(result);
                },
                Qt::QueuedConnection);
    });
}

} // namespace AsyncDecode
