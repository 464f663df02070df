#include "JpegStructure.h"

#include <cstring>

namespace JpegStructure {

int scanCount(const QByteArray& data, int limit)
{
    const auto* p = reinterpret_cast<const uchar*>(data.constData());
    const qsizetype n = data.size();
    if (n < 4 || p[0] != 0xFF || p[1] != 0xD8)
        return 0;
    int scans = 0;
    qsizetype i = 2;
    while (scans <= limit) {
        if (i >= n || p[i] != 0xFF)
            return scans;
        while (i < n && p[i] == 0xFF) // fill bytes
            ++i;
        if (i >= n)
            return scans;
        const uchar marker = p[i++];
        if (marker == 0xD9 || marker == 0xD8 || marker == 0x00)
            return scans;
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01)
            continue; // no length
        if (i + 2 > n)
            return scans;
        const int length = (p[i] << 8) | p[i + 1];
        if (length < 2 || i + length > n)
            return scans;
        i += length;
        if (marker != 0xDA)
            continue;
        ++scans;
        // Entropy-coded data runs to the next marker that is neither a stuffed zero nor a restart.
        for (;;) {
            const void* ff = i < n ? std::memchr(p + i, 0xFF, size_t(n - i)) : nullptr;
            if (!ff)
                return scans;
            i = static_cast<const uchar*>(ff) - p;
            qsizetype next = i + 1;
            while (next < n && p[next] == 0xFF)
                ++next;
            if (next >= n)
                return scans;
            if (p[next] == 0x00 || (p[next] >= 0xD0 && p[next] <= 0xD7)) {
                i = next + 1;
                continue;
            }
            i = next - 1; // at the 0xFF before the marker
            break;
        }
    }
    return scans;
}

Head head(QByteArrayView data)
{
    const auto* p = reinterpret_cast<const uchar*>(data.data());
    const qsizetype n = data.size();
    Head head;
    if (n < 4 || p[0] != 0xFF || p[1] != 0xD8)
        return head;
    for (qsizetype i = 2;;) {
        if (i + 4 > n || p[i] != 0xFF)
            return head;
        while (i + 4 <= n && p[i + 1] == 0xFF) // fill bytes
            ++i;
        if (i + 4 > n)
            return head;
        const uchar marker = p[i + 1];
        const qsizetype length = (p[i + 2] << 8) | p[i + 3];
        // A scan, the end, or a marker without a length: nothing of the head comes after it.
        const bool noLength = marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9);
        if (marker == 0xDA || noLength || length < 2 || i + 2 + length > n)
            return head;
        const uchar* body = p + i + 4;
        const qsizetype bodyLength = length - 2;
        // Start-of-frame markers are C0 to CF but for DHT (C4), JPG (C8) and DAC (CC).
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && bodyLength >= 5 && !head.pictureSize.isValid()) {
            const int height = (body[1] << 8) | body[2];
            const int width = (body[3] << 8) | body[4];
            if (width > 0 && height > 0) // a height of 0 is given later, after the first scan
                head.pictureSize = QSize(width, height);
        }
        if (marker == 0xE1 && head.exif.isEmpty() && bodyLength > 6 && std::memcmp(body, "Exif\0\0", 6) == 0)
            head.exif = QByteArrayView(body + 6, bodyLength - 6);
        i += 2 + length;
    }
}

bool endsWithEoi(QByteArrayView data)
{
    return data.size() >= 2 && uchar(data[data.size() - 2]) == 0xFF && uchar(data[data.size() - 1]) == 0xD9;
}

} // namespace JpegStructure
