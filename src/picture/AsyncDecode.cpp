#include "AsyncDecode.h"

#include "platform/AppError.h"

#include <QPointer>
#include <QThreadPool>

namespace AsyncDecode {

namespace {

QThreadPool& pool()
{
    static QThreadPool* const instance = [] {
        auto* p = new QThreadPool; // never destroyed: a decode may still run when the program ends
        p->setMaxThreadCount(1);
        return p;
    }();
    return *instance;
}

} // namespace

void loadReduced(const QString& path, const QSize& box, QObject* context,
                 std::function<void(const Picture::Reduced&)> done)
{
    pool().clear();
    QPointer<QObject> receiver(context);
    pool().start([path, box, receiver, done = std::move(done)] {
        if (!receiver)
            return;
        Picture::Reduced reduced;
        try {
            reduced = Picture::loadReduced(path, box, Picture::Scans::Enough);
        } catch (const AppError&) {
            reduced = {};
        }
        if (QObject* target = receiver.data())
            QMetaObject::invokeMethod(
                target,
                [receiver, done, reduced] {
                    if (receiver)
                        done(reduced);
                },
                Qt::QueuedConnection);
    });
}

} // namespace AsyncDecode
