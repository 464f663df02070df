#include "TestFiles.h"

#include "platform/AppError.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

bool setWriteProtected(const QString& path, bool on)
{
    if (geteuid() != 0) {
        const QFile::Permissions exec = QFileInfo(path).isDir() ? QFile::ExeOwner : QFile::Permissions();
        return QFile::setPermissions(path, on ? QFile::ReadOwner | exec : QFile::ReadOwner | QFile::WriteOwner | exec);
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

QString fromGVariant(QString literal)
{
    literal = literal.trimmed();
    if (literal.size() < 2 || (literal[0] != '\'' && literal[0] != '"') || literal.back() != literal[0])
        return QStringLiteral("<not a literal: %1>").arg(literal);
    QString text;
    for (qsizetype i = 1; i < literal.size() - 1; ++i) {
        QChar c = literal[i];
        if (c == literal[0])
            return QStringLiteral("<unescaped quote in %1>").arg(literal);
        if (c != '\\') {
            text += c;
            continue;
        }
        c = literal[++i];
        if (c == 'n')
            text += '\n';
        else if (c == 't')
            text += '\t';
        else if (c == 'r')
            text += '\r';
        else if (c == 'u') {
            text += QChar(literal.mid(i + 1, 4).toUShort(nullptr, 16));
            i += 4;
        } else
            text += c;
    }
    return text;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const AppError& e) {
        return e.message();
    }
    return QString();
}
