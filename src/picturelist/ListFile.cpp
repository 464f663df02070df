#include "ListFile.h"

#include "platform/AppError.h"
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

QList<QByteArray> read(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError::fileOpen(fileName, file.errorString());
    // Read in pieces and stop at the first NUL, which ends the text anyway: a device or a file full
    // of zeros is then no reason to wait or to fill the memory.
    QByteArray bytes;
    constexpr qint64 Piece = 1 << 20;
    while (true) {
        const QByteArray piece = file.read(Piece);
        if (piece.isEmpty()) {
            if (file.error() != QFileDevice::NoError)
                throw AppError::fileOpen(fileName, file.errorString());
            break;
        }
        const qsizetype nul = piece.indexOf('\0');
        bytes.append(nul >= 0 ? piece.left(nul) : piece);
        if (nul >= 0)
            break;
    }
    return parse(bytes);
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
