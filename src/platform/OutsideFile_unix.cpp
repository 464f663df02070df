#include "OutsideFile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace OutsideFile {

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

Result failed(Problem problem, int error = 0)
{
    Result result;
    result.problem = problem;
    if (error)
        result.reason = systemReason(error);
    return result;
}

} // namespace

Result read(const QString& path, const Options& options)
{
    // Non-blocking, so opening a pipe returns at once; what it is, fstat tells afterwards.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (options.followLinks ? 0 : O_NOFOLLOW);
    const int fd = ::open(QFile::encodeName(path).constData(), flags);
    if (fd < 0) {
        const int error = errno;
        if (error == ELOOP && !options.followLinks)
            return failed(Problem::NotRegular);
        return failed(error == ENOENT ? Problem::Missing : Problem::CannotOpen, error);
    }
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat info = {};
    if (::fstat(fd, &info) != 0)
        return failed(Problem::CannotOpen, errno);
    if (!S_ISREG(info.st_mode))
        return failed(Problem::NotRegular);
    if (options.ownedByUser && info.st_uid != ::geteuid())
        return failed(Problem::NotOwned);
    if (info.st_size > options.maxBytes)
        return failed(Problem::TooLarge);

    if (options.headBytes > 0) {
        Result result;
        const auto readAt = [&](QByteArray& into, qint64 at, qint64 bytes) {
            into.resize(qsizetype(bytes));
            qsizetype got = 0;
            while (got < into.size()) {
                const ssize_t n = ::pread(fd, into.data() + got, size_t(into.size() - got), off_t(at + got));
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0)
                    return false;
                if (n == 0) // a file that shrank meanwhile ends early
                    break;
                got += n;
            }
            into.truncate(got);
            return true;
        };
        const qint64 tail = qMin<qint64>(options.tailBytes, info.st_size);
        if (!readAt(result.bytes, 0, qMin<qint64>(options.headBytes, info.st_size)) ||
            !readAt(result.tail, info.st_size - tail, tail))
            return failed(Problem::CannotOpen, errno);
        return result;
    }
    if (options.beforeRead)
        options.beforeRead(info.st_size);
    // The file may grow while it is read: never more than the limit and one byte.
    Result result;
    result.bytes.resize(qsizetype(qMin<qint64>(info.st_size, options.maxBytes) + 1));
    qsizetype length = 0;
    for (;;) {
        if (length == result.bytes.size()) {
            if (length > options.maxBytes)
                return failed(Problem::TooLarge);
            result.bytes.resize(qsizetype(qMin<qint64>(2 * qint64(length), options.maxBytes + 1)));
        }
        const ssize_t got = ::read(fd, result.bytes.data() + length, size_t(result.bytes.size() - length));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return failed(Problem::CannotOpen, errno);
        }
        if (got == 0)
            break;
        length += got;
    }
    if (length > options.maxBytes)
        return failed(Problem::TooLarge);
    result.bytes.truncate(length);
    return result;
}

} // namespace OutsideFile
