#include "GifCheck.h"

#include <array>

namespace {

class Reader
{
public:
    explicit Reader(const QByteArray& bytes) : m_bytes(bytes) {}

    bool has(qsizetype n) const { return m_pos + n <= m_bytes.size(); }
    int byte() { return has(1) ? static_cast<uchar>(m_bytes[m_pos++]) : -1; }
    int word()
    {
        const int lo = byte();
        const int hi = byte();
        return lo < 0 || hi < 0 ? -1 : lo | (hi << 8);
    }
    bool skip(qsizetype n)
    {
        if (!has(n))
            return false;
        m_pos += n;
        return true;
    }
    // Skips a chain of data sub-blocks up to and including its empty terminator.
    bool skipSubBlocks()
    {
        for (;;) {
            const int size = byte();
            if (size < 0)
                return false;
            if (size == 0)
                return true;
            if (!skip(size))
                return false;
        }
    }
    qsizetype pos() const { return m_pos; }
    const QByteArray& bytes() const { return m_bytes; }

private:
    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
};

// Reads LZW codes least significant bit first across the frame's sub-blocks.
class CodeStream
{
public:
    explicit CodeStream(Reader& reader) : m_reader(reader) {}

    // -1 at the end of the data.
    int next(int width)
    {
        while (m_bitCount < width) {
            if (m_blockLeft == 0) {
                if (m_ended)
                    return -1;
                const int size = m_reader.byte();
                if (size <= 0) {
                    m_ended = true;
                    return -1;
                }
                m_blockLeft = size;
            }
            const int b = m_reader.byte();
            if (b < 0) {
                m_ended = true;
                return -1;
            }
            --m_blockLeft;
            m_bits |= quint32(b) << m_bitCount;
            m_bitCount += 8;
        }
        const int code = int(m_bits & ((1u << width) - 1));
        m_bits >>= width;
        m_bitCount -= width;
        return code;
    }

private:
    Reader& m_reader;
    quint32 m_bits = 0;
    int m_bitCount = 0;
    int m_blockLeft = 0;
    bool m_ended = false;
};

bool skipColourTable(Reader& r, int packed)
{
    return !(packed & 0x80) || r.skip(3 * (2 << (packed & 7)));
}

bool lzwHoldsPixels(Reader& r, qint64 pixels)
{
    const int minSize = r.byte();
    if (minSize < 1 || minSize > 11)
        return false;
    const int clear = 1 << minSize;
    const int end = clear + 1;
    constexpr int tableSize = 4096;
    std::array<qint64, tableSize> lengths{}; // pixels each code stands for
    for (int i = 0; i < clear; ++i)
        lengths[i] = 1;

    CodeStream codes(r);
    int width = minSize + 1;
    int next = clear + 2;
    int previous = -1;
    qint64 decoded = 0;
    while (decoded < pixels) {
        const int code = codes.next(width);
        if (code < 0 || code == end)
            return false; // the frame stops before its last pixel
        if (code == clear) {
            width = minSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (previous < 0) {
            if (code > clear)
                return false; // only a literal can follow a clear code
            decoded += 1;
            previous = code;
            continue;
        }
        if (code > next || (code == next && next >= tableSize))
            return false; // a code the table does not hold yet
        const qint64 length = code < next ? lengths[code] : lengths[previous] + 1;
        if (next < tableSize) {
            lengths[next] = lengths[previous] + 1;
            ++next;
            if (next == (1 << width) && width < 12)
                ++width;
        }
        decoded += length;
        previous = code;
    }
    return true;
}

} // namespace

bool GifCheck::firstFrameIntact(const QByteArray& bytes)
{
    Reader r(bytes);
    if (!bytes.startsWith("GIF87a") && !bytes.startsWith("GIF89a"))
        return false;
    r.skip(6);
    // A screen or a frame without pixels is no picture (Qt's reader refuses an empty screen).
    if (r.word() <= 0 || r.word() <= 0)
        return false;
    const int packed = r.byte();
    if (packed < 0 || !r.skip(2) || !skipColourTable(r, packed))
        return false;
    for (;;) {
        switch (r.byte()) {
        case 0x21: // extension: label, then sub-blocks
            if (r.byte() < 0 || !r.skipSubBlocks())
                return false;
            break;
        case 0x2C: {
            if (!r.skip(4))
                return false;
            const int width = r.word();
            const int height = r.word();
            const int framePacked = r.byte();
            if (width <= 0 || height <= 0 || framePacked < 0 || !skipColourTable(r, framePacked))
                return false;
            return lzwHoldsPixels(r, qint64(width) * height);
        }
        default: // the trailer before any frame, or garbage
            return false;
        }
    }
}

GifCheck::Sizes GifCheck::sizes(const QByteArray& bytes)
{
    Sizes sizes;
    Reader r(bytes);
    if (!r.skip(6))
        return sizes;
    const int width = r.word();
    const int height = r.word();
    sizes.screen = QSize(qMax(0, width), qMax(0, height));
    const int packed = r.byte();
    if (packed < 0 || !r.skip(2) || !skipColourTable(r, packed))
        return sizes;
    for (;;) {
        switch (r.byte()) {
        case 0x21:
            if (r.byte() < 0 || !r.skipSubBlocks())
                return sizes;
            break;
        case 0x2C: {
            if (!r.skip(4))
                return sizes;
            const int w = r.word();
            const int h = r.word();
            if (w > 0 && h > 0)
                sizes.frame = QSize(w, h);
            return sizes;
        }
        default:
            return sizes;
        }
    }
}
