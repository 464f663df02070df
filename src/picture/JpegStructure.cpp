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

} // namespace JpegStructure
