#pragma once

// Small files that claim much more than they hold, as anyone can send them: for the hostile
// picture tests and the benchmark that weighs their cost.

#include <QByteArray>

namespace HostileImages {

// A progressive JPEG whose frame claims width x height with the given components, followed by
// `scans` DC scans that hold no data at all.
inline QByteArray emptyProgressive(int width, int height, int components, int scans)
{
    QByteArray out = QByteArray::fromHex("ffd8ffdb004300") + QByteArray(64, '\1');
    const auto word = [&](int v) {
        out.append(char(v >> 8));
        out.append(char(v & 0xFF));
    };
    out.append(QByteArray::fromHex("ffc2"));
    word(8 + 3 * components);
    out.append(char(8));
    word(height);
    word(width);
    out.append(char(components));
    for (int c = 0; c < components; ++c) {
        out.append(char(c + 1)); // id, 1 x 1 sampling, quantisation table 0
        out.append(char(0x11));
        out.append('\0');
    }
    // One DC table of one code.
    out.append(QByteArray::fromHex("ffc4001400") + QByteArray::fromHex("01") + QByteArray(15, '\0') +
               QByteArray(1, '\0'));
    for (int s = 0; s < scans; ++s) {
        out.append(QByteArray::fromHex("ffda"));
        word(6 + 2 * components);
        out.append(char(components));
        for (int c = 0; c < components; ++c) {
            out.append(char(c + 1));
            out.append('\0');
        }
        out.append(QByteArray::fromHex("000000"));
    }
    return out + QByteArray::fromHex("ffd9");
}

// A GIF of one 1 x 1 frame on a logical screen of width x height (35 bytes).
inline QByteArray bigScreenGif(int width, int height)
{
    QByteArray out("GIF89a");
    const auto word = [&](int v) {
        out.append(char(v & 0xFF));
        out.append(char(v >> 8));
    };
    word(width);
    word(height);
    out.append(QByteArray::fromHex("800000ffffff000000")); // two colours
    out.append(',');
    word(0);
    word(0);
    word(1);
    word(1);
    out.append(QByteArray::fromHex("0002024401003b")); // code size 2: clear, literal 0, end
    return out;
}

} // namespace HostileImages
