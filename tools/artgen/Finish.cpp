#include "Finish.h"

#include <QHash>
#include <QList>
#include <algorithm>

namespace Finish {

namespace {

// Below this coverage an edge pixel reads as background; keeps outlines crisp.
constexpr int kAlphaThreshold = 40;

int distance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

// The nearest colour that is not the key, one step off in blue.
QRgb offKey(QRgb key)
{
    return qRgb(qRed(key), qGreen(key), qBlue(key) > 0 ? qBlue(key) - 1 : 1);
}

} // namespace

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage flatten(const QImage& painted, QRgb key, QRgb matte)
{
    const QImage source = painted.convertToFormat(QImage::Format_ARGB32);
    QImage out(source.size(), QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const int a = qAlpha(in[x]);
            if (a < kAlphaThreshold) {
                line[x] = key;
                continue;
            }
            const auto mix = [a](int c, int m) { return (c * a + m * (255 - a) + 127) / 255; };
            QRgb c =
                qRgb(mix(qRed(in[x]), qRed(matte)), mix(qGreen(in[x]), qGreen(matte)), mix(qBlue(in[x]), qBlue(matte)));
            if ((c & 0xFFFFFF) == (key & 0xFFFFFF))
                c = offKey(key);
            line[x] = c;
        }
    }
    return out;
}

QImage toIndexed(const QImage& picture, int maxColours, QRgb key)
{
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    // Count colours; ties broken by first appearance so the palette never depends on hashing.
    QList<QRgb> order;
    QHash<QRgb, int> count;
    for (int y = 0; y < source.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const QRgb c = line[x] | 0xFF000000;
            if (!count.contains(c))
                order.append(c);
            ++count[c];
        }
    }
    QList<QRgb> palette = order;
    if (palette.size() > maxColours) {
        std::stable_sort(palette.begin(), palette.end(), [&](QRgb a, QRgb b) {
            if ((a == key) != (b == key))
                return a == key;
            return count.value(a) > count.value(b);
        });
        palette.resize(maxColours);
    }
    const QRgb fullKey = key | 0xFF000000;
    QImage out(source.size(), QImage::Format_Indexed8);
    out.setColorTable(QList<QRgb>(palette.begin(), palette.end()));
    for (int y = 0; y < source.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* dst = out.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            const QRgb c = line[x] | 0xFF000000;
            int best = -1;
            for (int i = 0; i < palette.size(); ++i) {
                // The key stands only for itself, never for a nearby glyph colour.
                if ((palette[i] == fullKey) != (c == fullKey))
                    continue;
                if (best < 0 || distance(palette[i], c) < distance(palette[best], c))
                    best = i;
            }
            dst[x] = uchar(std::max(best, 0));
        }
    }
    return out;
}

void cutSkin(QImage& skin, const std::function<bool(int x, int y)>& inside, QRgb edge, int scale)
{
    const int w = skin.width() / scale;
    const int h = skin.height() / scale;
    const auto in = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && inside(x, y); };
    for (int py = 0; py < skin.height(); ++py) {
        auto* line = reinterpret_cast<QRgb*>(skin.scanLine(py));
        const int y = py / scale;
        for (int px = 0; px < skin.width(); ++px) {
            const int x = px / scale;
            if (!in(x, y)) {
                line[px] = kSkinKey;
            } else if (!in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1)) {
                line[px] = edge;
            } else if ((line[px] & 0xFFFFFF) == (kSkinKey & 0xFFFFFF)) {
                line[px] = offKey(kSkinKey);
            }
        }
    }
}

} // namespace Finish
