#include "ExifThumbnail.h"

#include <QtGlobal>

namespace ExifThumbnail {

namespace {

// Bounds-checked reads in the block's byte order; every offset is checked against the block before use.
class Tiff
{
public:
    explicit Tiff(QByteArrayView data) : m_data(data) {}

    bool open()
    {
        if (m_data.size() < 8)
            return false;
        if (m_data.startsWith("II"))
            m_little = true;
        else if (!m_data.startsWith("MM"))
            return false;
        return value16(2) == 42;
    }
    bool has(qint64 at, qint64 bytes) const { return at >= 0 && bytes >= 0 && at + bytes <= m_data.size(); }
    quint32 u16(qint64 at) const { return quint32(byte(at, 0) << 8 | byte(at, 1)); }
    quint32 u32(qint64 at) const { return u16(at) << 16 | u16(at + 2); }
    quint32 value32(qint64 at) const { return m_little ? swap32(u32(at)) : u32(at); }
    quint32 value16(qint64 at) const { return m_little ? swap16(u16(at)) : u16(at); }
    QByteArrayView slice(qint64 at, qint64 bytes) const { return m_data.sliced(qsizetype(at), qsizetype(bytes)); }

private:
    // Bytes in the order they are read when the block is big-endian.
    uchar byte(qint64 at, int k) const { return has(at + k, 1) ? uchar(m_data[qsizetype(at + k)]) : 0; }
    static quint32 swap16(quint32 v) { return ((v & 0xFF) << 8) | (v >> 8); }
    static quint32 swap32(quint32 v) { return swap16(v >> 16) | swap16(v & 0xFFFF) << 16; }

    QByteArrayView m_data;
    bool m_little = false;
};

constexpr quint32 ThumbnailOffsetTag = 0x0201;
constexpr quint32 ThumbnailLengthTag = 0x0202;
constexpr quint32 ShortType = 3;
constexpr quint32 LongType = 4;

} // namespace

QByteArrayView find(QByteArrayView tiff)
{
    Tiff t(tiff);
    if (!t.open())
        return {};
    // IFD0 holds the picture's tags; the offset after its entries leads to IFD1, the thumbnail's.
    const qint64 ifd0 = t.value32(4);
    if (!t.has(ifd0, 2))
        return {};
    const qint64 next = ifd0 + 2 + 12 * qint64(t.value16(ifd0));
    if (!t.has(next, 4))
        return {};
    const qint64 ifd1 = t.value32(next);
    if (ifd1 == 0 || !t.has(ifd1, 2))
        return {};
    const qint64 entries = t.value16(ifd1);
    qint64 offset = -1;
    qint64 length = -1;
    for (qint64 k = 0; k < entries && t.has(ifd1 + 2 + 12 * k, 12); ++k) {
        const qint64 entry = ifd1 + 2 + 12 * k;
        const quint32 tag = t.value16(entry);
        const quint32 type = t.value16(entry + 2);
        if ((tag != ThumbnailOffsetTag && tag != ThumbnailLengthTag) || t.value32(entry + 4) != 1)
            continue;
        // One value, held in the entry itself; some writers give it as a short.
        const qint64 value = type == LongType ? t.value32(entry + 8) : type == ShortType ? t.value16(entry + 8) : -1;
        (tag == ThumbnailOffsetTag ? offset : length) = value;
    }
    if (offset <= 0 || length < 4 || !t.has(offset, length))
        return {};
    const QByteArrayView jpeg = t.slice(offset, length);
    if (uchar(jpeg[0]) != 0xFF || uchar(jpeg[1]) != 0xD8)
        return {};
    return jpeg;
}

bool usable(const QSize& preview, const QSize& picture, const QSize& needed)
{
    if (preview.isEmpty() || picture.isEmpty() || preview.width() < needed.width() ||
        preview.height() < needed.height())
        return false;
    // |preview aspect / picture aspect - 1| <= 1 %, in integers.
    const qint64 a = qint64(preview.width()) * picture.height();
    const qint64 b = qint64(preview.height()) * picture.width();
    return 100 * qAbs(a - b) <= b;
}

} // namespace ExifThumbnail
