#include "PrivateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PrivateFile {

namespace {

constexpr mode_t FolderMode = 0700;

bool ownFolder(const QByteArray& path)
{
    struct stat info = {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    return (info.st_mode & 07777) == FolderMode || ::chmod(path.constData(), FolderMode) == 0;
}

} // namespace

bool makeFolder(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), FolderMode) != 0) {
        if (errno == ENOENT) {
            // The folders above are ordinary ones with their usual modes; only this one is private.
            const QString parent = QFileInfo(path).path();
            if (parent == path || !QDir().mkpath(parent))
                return false;
            if (::mkdir(name.constData(), FolderMode) != 0 && errno != EEXIST)
                return false;
        } else if (errno != EEXIST) {
            return false;
        }
    }
    return ownFolder(name);
}

bool replace(const QString& path, const QByteArray& bytes)
{
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        // A name of our own: O_EXCL with O_NOFOLLOW creates a new file or fails, never opens one put there.
        temporary = target + ".tmp-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool ok = true;
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const ssize_t wrote = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (wrote < 0 && errno == EINTR)
            continue;
        ok = wrote > 0;
        done += ok ? wrote : 0;
    }
    ok = ::close(fd) == 0 && ok;
    // rename replaces the name itself: a link there is replaced, its target left alone.
    if (!ok || ::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

} // namespace PrivateFile
