#include "CustomColours.h"

#include "picturelist/ListFile.h"
#include "platform/AppError.h"
#include "platform/ColourValue.h"
#include "platform/WholeFile.h"

#include <QFile>

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

} // namespace

void CustomColours::load(const QString& fileName)
{
    if (QFile::exists(fileName))
        m_lines = ListFile::read(fileName);
    colourSlots(); // a bad value must fail now, before any dialog opens
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
    for (int i = 0; i < Count; ++i) {
        const int line = findLine(m_lines, slotName(i));
        const QByteArray value = line < 0 ? QByteArray() : m_lines[line].mid(m_lines[line].indexOf('=') + 1);
        if (value.isEmpty()) {
            out << QColor();
            continue;
        }
        bool ok = false;
        const qint64 v = value.toLongLong(&ok, 16);
        if (!ok || v < 0 || v > 0xFFFFFFFFLL)
            throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(QString::fromLatin1(value)));
        out << (v == 0xFFFFFFFFLL ? QColor() : ColourValue::toColour(qint32(quint32(v) & 0x00FFFFFFu)));
    }
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
