#include "SessionProcesses.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace SessionProcesses {

namespace {

QByteArray environValue(const QByteArrayList& environ, const QByteArray& name)
{
    const QByteArray prefix = name + '=';
    for (const QByteArray& entry : environ) {
        if (entry.startsWith(prefix))
            return entry.mid(prefix.size());
    }
    return {};
}

} // namespace

QList<qint64> find(const QString& program)
{
    const QByteArray display = qgetenv("WAYLAND_DISPLAY");
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const uint me = uint(getuid());
    QList<qint64> found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number || pid == qint64(getpid()))
            continue;
        const QString dir = QStringLiteral("/proc/") + entry;
        if (QFileInfo(dir).ownerId() != me)
            continue;
        QFile comm(dir + QStringLiteral("/comm"));
        if (!comm.open(QIODevice::ReadOnly) || QString::fromLocal8Bit(comm.readAll().trimmed()) != program)
            continue;
        // Another session of the same user has its own background.
        QFile env(dir + QStringLiteral("/environ"));
        if (!env.open(QIODevice::ReadOnly))
            continue;
        const QByteArrayList environ = env.readAll().split('\0');
        if (environValue(environ, "WAYLAND_DISPLAY") != display || environValue(environ, "XDG_RUNTIME_DIR") != runtime)
            continue;
        found << pid;
    }
    return found;
}

bool terminate(qint64 pid)
{
    return ::kill(pid_t(pid), SIGTERM) == 0;
}

} // namespace SessionProcesses
