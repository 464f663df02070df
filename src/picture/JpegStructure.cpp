#include "JpegStructure.h"

#include <QList>

#include <cstring>

namespace JpegStructure {

namespace {

constexpr int maxScans = 256; // as the decoder: more is a hostile file

bool isFrameMarker(uchar m)
{
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

// A scan header's components must belong to the frame; progressive steps must be legal.
bool scanHeaderValid(const uchar* s, int length, const QList<uchar>& frameIds, bool progressive)
{
    if (length < 1)
        return false;
    const int count = s[0];
    if (count < 1 || count > 4 || length != 1 + 2 * count + 3)
        return false;
    for (int i = 0; i < count; ++i) {
        if (!frameIds.contains(s[1 + 2 * i]))
            return false;
    }
    if (!progressive)
        return true;
    const int ss = s[1 + 2 * count], se = s[2 + 2 * count];
    const int ah = s[3 + 2 * count] >> 4, al = s[3 + 2 * count] & 15;
    if (ss == 0 ? se != 0 : (se < ss || se > 63 || count != 1))
        return false;
    if (ah != 0 && al != ah - 1)
        return false;
    return al <= 13;
}

} // namespace

bool wholeToTheEnd(const QByteArray& data)
{
    const auto* p = reinterpret_cast<const uchar*>(data.constData());
    const qsizetype n = data.size();
    if (n < 4 || p[0] != 0xFF || p[1] != 0xD8)
        return false;
    QList<uchar> frameIds;
    bool progressive = false;
    int scans = 0;
    qsizetype i = 2;
    for (;;) {
        if (i >= n || p[i] != 0xFF)
            return false;
        while (i < n && p[i] == 0xFF) // fill bytes
            ++i;
        if (i >= n)
            return false;
        const uchar marker = p[i++];
        if (marker == 0xD9)
            return scans > 0;
        if (marker == 0xD8 || marker == 0x00)
            return false;
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01)
            continue; // no length
        if (i + 2 > n)
            return false;
        const int length = (p[i] << 8) | p[i + 1];
        if (length < 2 || i + length > n)
            return false;
        const uchar* body = p + i + 2;
        const int bodyLength = length - 2;
        i += length;
        if (isFrameMarker(marker)) {
            if (bodyLength < 6 || bodyLength != 6 + 3 * body[5])
                return false;
            progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
            frameIds.clear();
            for (int c = 0; c < body[5]; ++c)
                frameIds.append(body[6 + 3 * c]);
            continue;
        }
        if (marker != 0xDA)
            continue;
        if (frameIds.isEmpty() || ++scans > maxScans || !scanHeaderValid(body, bodyLength, frameIds, progressive))
            return false;
        // Entropy-coded data runs to the next marker that is neither a stuffed zero nor a restart.
        for (;;) {
            const void* ff = std::memchr(p + i, 0xFF, size_t(n - i));
            if (!ff)
                return false;
            i = static_cast<const uchar*>(ff) - p;
            qsizetype next = i + 1;
            while (next < n && p[next] == 0xFF)
                ++next;
            if (next >= n)
                return false;
            if (p[next] == 0x00 || (p[next] >= 0xD0 && p[next] <= 0xD7)) {
                i = next + 1;
                continue;
            }
            i = next - 1; // at the 0xFF before the marker
            break;
        }
    }
}

} // namespace JpegStructure
