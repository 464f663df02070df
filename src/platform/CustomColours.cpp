#include "CustomColours.h"

#include "AppError.h"
#include "ColourValue.h"
#include "WholeFile.h"

#include "OutsideFile.h"

#include <QStringList>
#include <optional>

namespace {

QByteArray slotName(int i)
{
    return QByteArray("Color") + char('A' + i);
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

} // namespace

int CustomColours::findSlotLine(int slot) const
{
    const QByteArray name = slotName(slot);
    for (int i = 0; i < m_lines.size(); ++i) {
        const QByteArray& text = m_lines[i].text;
        const qsizetype eq = text.indexOf('=');
        if (eq >= 0 && text.left(eq).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QByteArray CustomColours::slotValue(int slot) const
{
    const int line = findSlotLine(slot);
    return line < 0 ? QByteArray() : m_lines[line].text.mid(m_lines[line].text.indexOf('=') + 1);
}

QString CustomColours::load(const QString& fileName)
{
    m_lines.clear();
    m_tail.clear();
    m_unreadable = false;
    OutsideFile::Options options;
    options.maxBytes = MaxFileBytes;
    const OutsideFile::Result read = OutsideFile::read(fileName, options);
    if (read.problem == OutsideFile::Problem::Missing)
        return QString();
    if (!read.ok()) {
        // Whatever the file is, it is the user's: it is never replaced after a load that failed.
        m_unreadable = true;
        if (read.problem == OutsideFile::Problem::NotRegular || read.problem == OutsideFile::Problem::TooLarge)
            return notSmallText(fileName);
        return OutsideFile::error(fileName, read, MaxFileBytes).message();
    }
    const QByteArray& bytes = read.bytes;

    // Lines end at CR, LF or CR LF (LF CR is two breaks); a NUL ends the text.
    const qsizetype nul = bytes.indexOf('\0');
    const qsizetype end = nul >= 0 ? nul : bytes.size();
    if (nul >= 0)
        m_tail = bytes.mid(nul);
    qsizetype start = 0;
    for (qsizetype i = 0; i < end; ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        const qsizetype breakLength = c == '\r' && i + 1 < end && bytes.at(i + 1) == '\n' ? 2 : 1;
        m_lines.append({bytes.mid(start, i - start), bytes.mid(i, breakLength)});
        i += breakLength - 1;
        start = i + 1;
    }
    if (start < end)
        m_lines.append({bytes.mid(start, end - start), QByteArray()});

    QStringList bad;
    for (int i = 0; i < Count; ++i) {
        const QByteArray value = slotValue(i);
        if (!slotColour(value))
            bad << QStringLiteral("%1=%2").arg(QString::fromLatin1(slotName(i)), QString::fromLocal8Bit(value));
    }
    if (bad.isEmpty())
        return QString();
    return QStringLiteral("Filen \"%1\" med egna färger har rader som inte är färger: %2. De lämnas tomma.")
        .arg(fileName, bad.join(QStringLiteral(", ")));
}

bool CustomColours::save(const QString& fileName) const
{
    if (m_unreadable)
        return false;
    QByteArray bytes;
    for (const Line& line : m_lines)
        bytes += line.text + line.end;
    WholeFile::write(fileName, bytes + m_tail);
    return true;
}

QList<QColor> CustomColours::colourSlots() const
{
    QList<QColor> out;
    for (int i = 0; i < Count; ++i)
        out << slotColour(slotValue(i)).value_or(QColor());
    return out;
}

void CustomColours::setColourSlots(const QList<QColor>& colours)
{
    for (int i = 0; i < Count; ++i) {
        const QColor c = i < colours.size() ? colours[i] : QColor();
        const quint32 value = c.isValid() ? quint32(ColourValue::fromColour(c)) : 0xFFFFFFFFu;
        const QByteArray text = slotName(i) + '=' + QByteArray::number(value, 16).toUpper().rightJustified(6, '0');
        const int at = findSlotLine(i);
        if (at >= 0) {
            m_lines[at].text = text;
            continue;
        }
        // A last line without a break gets one, so the new entry starts a line of its own.
        if (!m_lines.isEmpty() && m_lines.last().end.isEmpty())
            m_lines.last().end = "\r\n";
        m_lines.append({text, "\r\n"});
    }
}
