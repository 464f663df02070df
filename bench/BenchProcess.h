#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A field of /proc/self/status in KiB ("VmRSS:", "VmHWM:"), or -1 when it cannot be read.
inline long procStatusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    return -1;
}

// Starts a new high-water mark of the resident set at its current size.
inline void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}
