#include "CustomColours.h"

#include "AppError.h"
#include "ColourValue.h"
#include "TextLines.h"
#include "WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace {

QByteArray slotName(int i)
{
    return QByteArray("Color") + char('A' + i);
}

int findLine(const QList<QByteArray>& lines, const QByteArray& name)
{
    for (int i = 0; i < lines.size(); ++i) {
        const qsizetype eq = lines[i].indexOf('=');
        if (eq >= 0 && lines[i].left(eq).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// The slot's colour; nullopt when the value is not a colour. An empty value is a slot without one.
std::optional<QColor> slotColour(const QByteArray& value)
{
    if (value.isEmpty())
        return QColor();
    bool ok = false;
    const qint64 v = value.toLongLong(&ok, 16);
    if (!ok || v < 0 || v > 0xFFFFFFFFLL)
        return std::nullopt;
    return v == 0xFFFFFFFFLL ? QColor() : ColourValue::toColour(qint32(quint32(v) & 0x00FFFFFFu));
}

QString notSmallText(const QString& fileName)
{
    return QStringLiteral("Filen \"%1\" med egna färger är ingen vanlig liten textfil och används inte.").arg(fileName);
}

QByteArray slotValue(const QList<QByteArray>& lines, int i)
{
    const int line = findLine(lines, slotName(i));
    return line < 0 ? QByteArray() : lines[line].mid(lines[line].indexOf('=') + 1);
}

} // namespace

QString CustomColours::load(const QString& fileName)
{
    m_lines.clear();
    const QFileInfo info(fileName);
    if (!info.exists())
        return QString();
    // Only a regular file is read: a pipe or a device would never end.
    if (!info.isFile() || info.size() > MaxFileBytes)
        return notSmallText(fileName);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return AppError::fileOpen(fileName, file.errorString()).message();
    // QIODevice::read(n) reserves n bytes at once; the file's own size keeps a short file cheap.
    const QByteArray bytes = file.read(qMin(info.size(), MaxFileBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return AppError::fileOpen(fileName, file.errorString()).message();
    if (bytes.size() > MaxFileBytes)
        return notSmallText(fileName);
    m_lines = TextLines::split(bytes);

    QStringList bad;
    for (int i = 0; i < Count; ++i) {
        const QByteArray value = slotValue(m_lines, i);
        if (!slotColour(value))
            bad << QStringLiteral("%1=%2").arg(QString::fromLatin1(slotName(i)), QString::fromLocal8Bit(value));
    }
    if (bad.isEmpty())
        return QString();
    return QStringLiteral("Filen \"%1\" med egna färger har rader som inte är färger: %2. De lämnas tomma.")
        .arg(fileName, bad.join(QStringLiteral(", ")));
}

void CustomColours::save(const QString& fileName) const
{
    QByteArray bytes;
    for (const QByteArray& line : m_lines)
        bytes += line + "\r\n";
    WholeFile::write(fileName, bytes);
}

QList<QColor> CustomColours::colourSlots() const
{
    QList<QColor> out;
    for (int i = 0; i < Count; ++i)
        out << slotColour(slotValue(m_lines, i)).value_or(QColor());
    return out;
}

void CustomColours::setColourSlots(const QList<QColor>& colours)
{
    for (int i = 0; i < Count; ++i) {
        const QColor c = i < colours.size() ? colours[i] : QColor();
        const quint32 value = c.isValid() ? quint32(ColourValue::fromColour(c)) : 0xFFFFFFFFu;
        const QByteArray line = slotName(i) + '=' + QByteArray::number(value, 16).toUpper().rightJustified(6, '0');
        const int at = findLine(m_lines, slotName(i));
        if (at >= 0)
            m_lines[at] = line;
        else
            m_lines << line;
    }
}
