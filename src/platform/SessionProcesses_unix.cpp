#include "SessionProcesses.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <poll.h>
#include <sys/types.h>
#include <unistd.h>
#include <utility>

// glibc 2.36 declares these without C linkage.
extern "C" {
#include <sys/pidfd.h>
}

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

// Whether the process now at /proc/<pid> is one of ours named program in this session.
bool belongsHere(const QString& dir, const QString& program)
{
    if (QFileInfo(dir).ownerId() != uint(getuid()))
        return false;
    QFile comm(dir + QStringLiteral("/comm"));
    if (!comm.open(QIODevice::ReadOnly) || QString::fromLocal8Bit(comm.readAll().trimmed()) != program)
        return false;
    // Another session of the same user has its own background.
    QFile env(dir + QStringLiteral("/environ"));
    if (!env.open(QIODevice::ReadOnly))
        return false;
    const QByteArrayList environ = env.readAll().split('\0');
    return environValue(environ, "WAYLAND_DISPLAY") == qgetenv("WAYLAND_DISPLAY") &&
           environValue(environ, "XDG_RUNTIME_DIR") == qgetenv("XDG_RUNTIME_DIR");
}

} // namespace

Handle::Handle(Handle&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)), m_pid(other.m_pid) {}

Handle& Handle::operator=(Handle&& other) noexcept
{
    std::swap(m_fd, other.m_fd);
    std::swap(m_pid, other.m_pid);
    return *this;
}

Handle::~Handle()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool Handle::terminate() const
{
    return m_fd >= 0 && pidfd_send_signal(m_fd, SIGTERM, nullptr, 0) == 0;
}

bool Handle::kill() const
{
    return m_fd >= 0 && pidfd_send_signal(m_fd, SIGKILL, nullptr, 0) == 0;
}

bool Handle::waitForEnd(int waitMs) const
{
    if (m_fd < 0)
        return true;
    pollfd ended = {m_fd, POLLIN, 0};
    return ::poll(&ended, 1, waitMs) > 0;
}

Handle ofChild(qint64 pid)
{
    const int fd = pidfd_open(pid_t(pid), 0);
    return fd >= 0 ? Handle(fd, pid) : Handle();
}

std::vector<Handle> find(const QString& program)
{
    std::vector<Handle> found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number || pid == qint64(getpid()))
            continue;
        // Opened first and checked after: once the pidfd is open, a process that is still alive
        // (signal 0 reaches it) is the one whose /proc entry was read.
        const int fd = pidfd_open(pid_t(pid), 0);
        if (fd < 0)
            continue;
        Handle handle(fd, pid);
        if (belongsHere(QStringLiteral("/proc/") + entry, program) && pidfd_send_signal(fd, 0, nullptr, 0) == 0)
            found.push_back(std::move(handle));
    }
    return found;
}

} // namespace SessionProcesses
