#include "TextLines.h"

namespace TextLines {

QList<QByteArray> split(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    const qsizetype nul = bytes.indexOf('\0');
    const qsizetype end = nul >= 0 ? nul : bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < end; ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < end && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < end)
        lines.append(bytes.mid(start, end - start));
    return lines;
}

} // namespace TextLines
