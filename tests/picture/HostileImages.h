#pragma once

// Small files that claim much more than they hold, as anyone can send them: for the hostile
// picture tests and the benchmark that weighs their cost.

#include <QByteArray>

namespace HostileImages {

// A progressive JPEG whose frame claims width x height with 1 or 3 components (1 x 1 sampling),
// followed by `scans` DC scans that hold no data at all.
inline QByteArray emptyProgressive(int width, int height, int components, int scans)
{
    const bool colour = components == 3;
    const char size[] = {char(height >> 8), char(height), char(width >> 8), char(width)};
    QByteArray out = QByteArray::fromHex("ffd8ffdb004300") + QByteArray(64, '\1') +
                     QByteArray::fromHex(colour ? "ffc2001108" : "ffc2000b08") + QByteArray(size, 4) +
                     QByteArray::fromHex(colour ? "03011100021100031100" : "01011100") +
                     QByteArray::fromHex("ffc400140001") + QByteArray(16, '\0'); // one DC code
    const QByteArray scan = QByteArray::fromHex(colour ? "ffda000c03010002000300000000" : "ffda0008010100000000");
    return out + scan.repeated(scans) + QByteArray::fromHex("ffd9");
}

// A GIF of one 1 x 1 frame of two colours on a logical screen of width x height (35 bytes).
inline QByteArray bigScreenGif(int width, int height)
{
    const char size[] = {char(width), char(width >> 8), char(height), char(height >> 8)};
    return "GIF89a" + QByteArray(size, 4) + QByteArray::fromHex("800000ffffff0000002c0000000001000100") +
           QByteArray::fromHex("02024401003b"); // code size 2: clear, literal 0, end
}

} // namespace HostileImages
