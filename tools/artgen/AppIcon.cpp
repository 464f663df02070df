#include "Artwork.h"
#include "Finish.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

// A gilded picture frame holding a landscape, drawn on a 48-unit grid and scaled.
QImage paintIcon(int size)
{
    QImage image = Finish::canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    // Small sizes get a relatively heavier frame so it still reads as one.
    const double border = size <= 16 ? 6.5 : 5.0;
    const QRectF outer = size <= 16 ? QRectF(1, 4, 45, 40) : QRectF(2, 5, 43, 38);
    const QRectF picture = outer.adjusted(border, border, -border, -border);

    QPainterPath shadow;
    shadow.addRoundedRect(outer.translated(1.5, 1.5), 1.5, 1.5);
    p.fillPath(shadow, QColor(0, 0, 0, 70));

    QLinearGradient wood(outer.topLeft(), outer.bottomRight());
    wood.setColorAt(0.0, QColor(0xF0, 0xC8, 0x6A));
    wood.setColorAt(0.45, QColor(0xB8, 0x7E, 0x28));
    wood.setColorAt(0.7, QColor(0xE2, 0xB2, 0x52));
    wood.setColorAt(1.0, QColor(0x96, 0x60, 0x18));
    QPainterPath frame;
    frame.addRoundedRect(outer, 1.5, 1.5);
    p.fillPath(frame, wood);
    p.strokePath(frame, QPen(QColor(0x5A, 0x3A, 0x0E), 48.0 / size));
    if (size > 16) {
        // The frame's inner bevel.
        p.setPen(QPen(QColor(0xFF, 0xEC, 0xB8, 160), 0.9));
        p.drawRect(outer.adjusted(2.2, 2.2, -2.2, -2.2));
    }

    QLinearGradient sky(0, picture.top(), 0, picture.bottom());
    sky.setColorAt(0, QColor(0x4E, 0x9E, 0xEA));
    sky.setColorAt(0.7, QColor(0xC9, 0xE6, 0xFC));
    p.fillRect(picture, sky);
    p.save();
    p.setClipRect(picture);
    const QPointF sun(picture.right() - picture.width() * 0.22, picture.top() + picture.height() * 0.28);
    QRadialGradient glow(sun, 7);
    glow.setColorAt(0, QColor(0xFF, 0xF4, 0xB0, 230));
    glow.setColorAt(1, QColor(0xFF, 0xF4, 0xB0, 0));
    p.fillRect(picture, glow);
    QPainterPath disc;
    disc.addEllipse(sun, 3.4, 3.4);
    p.fillPath(disc, QColor(0xFF, 0xD0, 0x3A));

    const double l = picture.left();
    const double w = picture.width();
    const double b = picture.bottom();
    const double h = picture.height();
    QPainterPath mountains;
    mountains.moveTo(l, b - h * 0.35);
    mountains.lineTo(l + w * 0.25, b - h * 0.72);
    mountains.lineTo(l + w * 0.40, b - h * 0.52);
    mountains.lineTo(l + w * 0.58, b - h * 0.80);
    mountains.lineTo(l + w * 0.82, b - h * 0.42);
    mountains.lineTo(l + w, b - h * 0.55);
    mountains.lineTo(l + w, b);
    mountains.lineTo(l, b);
    mountains.closeSubpath();
    QLinearGradient rock(0, b - h * 0.8, 0, b);
    rock.setColorAt(0, QColor(0x8A, 0x9E, 0xC8));
    rock.setColorAt(1, QColor(0x5C, 0x72, 0xA2));
    p.fillPath(mountains, rock);
    QPainterPath meadow;
    meadow.moveTo(l, b - h * 0.26);
    meadow.quadTo(l + w * 0.45, b - h * 0.48, l + w, b - h * 0.22);
    meadow.lineTo(l + w, b);
    meadow.lineTo(l, b);
    meadow.closeSubpath();
    QLinearGradient grass(0, b - h * 0.45, 0, b);
    grass.setColorAt(0, QColor(0x7C, 0xCF, 0x6A));
    grass.setColorAt(1, QColor(0x2E, 0x80, 0x34));
    p.fillPath(meadow, grass);
    p.restore();
    p.setPen(QPen(QColor(0x5A, 0x3A, 0x0E, 200), 48.0 / size));
    p.setBrush(Qt::NoBrush);
    p.drawRect(picture);
    p.end();
    return image;
}

} // namespace

QList<Artwork> paintAppIcon()
{
    QList<Artwork> all;
    for (int size : {48, 32, 16})
        all.append({QStringLiteral("MAINICON_%1").arg(size), paintIcon(size).convertToFormat(QImage::Format_ARGB32)});
    return all;
}

QList<Artwork> paintThemeIcons()
{
    QList<Artwork> all;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        all.append({QStringLiteral("%1x%1").arg(size), paintIcon(size).convertToFormat(QImage::Format_ARGB32)});
    return all;
}
