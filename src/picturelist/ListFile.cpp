#include "ListFile.h"

#include "platform/AppError.h"
#include "platform/OutsideFile.h"
#include "platform/TextLines.h"
#include "platform/WholeFile.h"

#include <QFile>

namespace ListFile {

QList<QByteArray> parse(const QByteArray& bytes)
{
    return TextLines::split(bytes);
}

QByteArray serialize(const QList<QByteArray>& entries)
{
    qsizetype size = 0;
    for (const QByteArray& entry : entries)
        size += entry.size() + 2;
    QByteArray bytes;
    bytes.reserve(size);
    for (const QByteArray& entry : entries) {
        bytes.append(entry);
        bytes.append("\r\n", 2);
    }
    return bytes;
}

bool canHold(const QString& name)
{
    return !name.contains(QLatin1Char('\r')) && !name.contains(QLatin1Char('\n')) && !name.contains(QChar(0));
}

QString refusedNamesText(const QStringList& names)
{
    QStringList shown;
    for (QString name : names) {
        name.replace(QLatin1Char('\r'), QLatin1String("\\r"));
        name.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        name.replace(QChar(0), QLatin1String("\\0"));
        shown << name;
    }
    return QStringLiteral("En bildlista kan inte hålla namn med radbrytning eller NUL-tecken, så dessa läggs inte "
                          "till:\n") +
           shown.join(QLatin1Char('\n'));
}

QByteArray readBytes(const QString& fileName)
{
    // Only a regular file of a list's size: a pipe or a device would block the window or fill the memory.
    OutsideFile::Options options;
    options.maxBytes = MaxFileBytes;
    const OutsideFile::Result read = OutsideFile::read(fileName, options);
    if (!read.ok())
        throw OutsideFile::error(fileName, read, MaxFileBytes);
    return read.bytes;
}

QList<QByteArray> read(const QString& fileName)
{
    return parse(readBytes(fileName));
}

QString decodeEntry(const QByteArray& entry)
{
    return QFile::decodeName(entry);
}

QByteArray encodeEntry(const QString& path)
{
    return QFile::encodeName(path);
}

void write(const QString& fileName, const QList<QByteArray>& entries)
{
    // A write that fails keeps the old list.
    WholeFile::write(fileName, serialize(entries));
}

} // namespace ListFile
