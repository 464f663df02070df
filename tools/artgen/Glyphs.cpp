#include "Artwork.h"
#include "Finish.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

using Painter = std::function<void(QPainter&)>;

// At scale 2 the same drawing, on a canvas twice the size.
QImage painted(int width, int height, bool antialias, const Painter& paint, int scale = 1)
{
    QImage image = Finish::canvas(width * scale, height * scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, antialias);
    p.scale(scale, scale);
    paint(p);
    p.end();
    return image;
}

// Every glyph is drawn transparent through its bottom-left pixel, so that pixel must be the key.
QImage checked(const QString& name, QImage image, QRgb key)
{
    if ((image.pixel(0, image.height() - 1) & 0xFFFFFF) != (key & 0xFFFFFF)) {
        std::fprintf(stderr, "artgen: %s: bottom-left pixel is not the key colour\n", qPrintable(name));
        std::exit(1);
    }
    return image;
}

Artwork trueColour(const QString& name, int w, int h, const Painter& paint, QRgb matte = Finish::kWindow, int scale = 1)
{
    const QImage flat = Finish::flatten(painted(w, h, true, paint, scale), Finish::kGlyphKey, matte);
    return {name, checked(name, flat, Finish::kGlyphKey).convertToFormat(QImage::Format_RGB888)};
}

Artwork highColour(const QString& name, int w, int h, const Painter& paint, int scale = 1)
{
    const QImage flat = Finish::flatten(painted(w, h, true, paint, scale), Finish::kGlyphKey, Finish::kWindow);
    return {name, checked(name, flat, Finish::kGlyphKey).convertToFormat(QImage::Format_RGB16)};
}

// 256-colour glyphs keep their soft edges; 16-colour ones are drawn as crisp pixel art.
Artwork indexed(const QString& name, int w, int h, int colours, const Painter& paint, QRgb matte = Finish::kWindow,
                int scale = 1)
{
    const QImage flat = Finish::flatten(painted(w, h, colours > 16, paint, scale), Finish::kGlyphKey, matte);
    return {name, checked(name, Finish::toIndexed(flat, colours, Finish::kGlyphKey), Finish::kGlyphKey)};
}

QPen pen(const QColor& colour, double width = 1.0)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QLinearGradient vertical(double top, double bottom, const QColor& from, const QColor& to)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    return g;
}

// --- Caption buttons ---------------------------------------------------------------------

enum class State
{
    Rest,
    Over,
    Down
};

const QColor kCloseRed(0xC6, 0x45, 0x3D);
const QColor kChromeBlue(0x3F, 0x77, 0xB5);

// A glossy button body; the pointer-over state glows, the pressed state sinks.
void buttonBody(QPainter& p, const QPainterPath& shape, const QRectF& box, const QColor& base, State state,
                bool round = false)
{
    const QColor colour = state == State::Over ? base.lighter(128) : state == State::Down ? base.darker(135) : base;
    QLinearGradient fill(0, box.top(), 0, box.bottom());
    if (state == State::Down) {
        fill.setColorAt(0, colour.darker(125));
        fill.setColorAt(1, colour.lighter(115));
    } else {
        fill.setColorAt(0, colour.lighter(140));
        fill.setColorAt(0.5, colour);
        fill.setColorAt(1, colour.darker(120));
    }
    p.fillPath(shape, fill);
    if (state != State::Down) {
        QPainterPath upper;
        upper.addRect(QRectF(box.left(), box.top(), box.width(), box.height() * 0.45));
        p.fillPath(shape.intersected(upper), QColor(255, 255, 255, state == State::Over ? 90 : 60));
    }
    p.strokePath(shape, QPen(base.darker(state == State::Down ? 210 : 170), 1.0));
    if (state == State::Over) {
        const QRectF glow = box.adjusted(1, 1, -1, -1);
        QPainterPath inner;
        if (round)
            inner.addEllipse(glow);
        else
            inner.addRoundedRect(glow, 3, 3);
        p.strokePath(inner, QPen(QColor(255, 255, 255, 140), 1.0));
    }
}

// The glyph on a button: white with a faint shadow, pushed down a pixel when pressed.
void buttonGlyph(QPainter& p, const QPainterPath& glyph, double width, State state, bool filled)
{
    const QPointF shift = state == State::Down ? QPointF(0.5, 1.0) : QPointF(0, 0);
    const QPainterPath shadow = glyph.translated(shift + QPointF(0.6, 0.8));
    const QPainterPath face = glyph.translated(shift);
    const QColor shade(0, 0, 0, 90);
    const QColor white = state == State::Down ? QColor(0xE4, 0xEA, 0xF2) : QColor(0xFF, 0xFF, 0xFF);
    if (filled) {
        p.fillPath(shadow, shade);
        p.fillPath(face, white);
    } else {
        p.strokePath(shadow, pen(shade, width));
        p.strokePath(face, pen(white, width));
    }
}

Artwork closeButton(const QString& name, State state, int scale)
{
    const QRectF box(0.5, 0.5, 17, 17);
    QPainterPath body;
    body.addRoundedRect(box, 4, 4);
    QPainterPath cross;
    cross.moveTo(6, 6);
    cross.lineTo(12, 12);
    cross.moveTo(12, 6);
    cross.lineTo(6, 12);
    return trueColour(
        name, 18, 18,
        [&](QPainter& p) {
            buttonBody(p, body, box, kCloseRed, state);
            buttonGlyph(p, cross, 2.2, state, false);
        },
        Finish::kTray, scale);
}

// The minimise-style buttons are not drawn transparent: their corners are the tray's colour.
Artwork trayButton(const QString& name, State state, const QPainterPath& glyph, bool filled, int scale)
{
    const QRectF box(0.5, 0.5, 17, 17);
    QPainterPath body;
    body.addRoundedRect(box, 4, 4);
    QImage image = painted(
        18, 18, true,
        [&](QPainter& p) {
            buttonBody(p, body, box, kChromeBlue, state);
            buttonGlyph(p, glyph, 1.4, state, filled);
        },
        scale);
    const QImage flat = Finish::flatten(image, Finish::kTray, Finish::kTray);
    return {name, checked(name, flat, Finish::kTray).convertToFormat(QImage::Format_RGB888)};
}

Artwork minimiseButton(const QString& name, State state, int scale)
{
    QPainterPath bar;
    bar.addRoundedRect(QRectF(5, 11, 8, 2.5), 0.8, 0.8);
    return trayButton(name, state, bar, true, scale);
}

Artwork restoreButton(const QString& name, int scale)
{
    // Two overlapping windows: the back one outlined, the front one with a heavy title bar.
    QPainterPath glyph;
    glyph.addRect(QRectF(7.5, 4.5, 6, 5));
    glyph.addRect(QRectF(4.5, 8.5, 6, 5));
    glyph.addRect(QRectF(4.5, 8.5, 6, 1.2));
    glyph.addRect(QRectF(7.5, 4.5, 6, 1.2));
    return trayButton(name, State::Rest, glyph, false, scale);
}

Artwork aboutButton(const QString& name, State state, int scale)
{
    const QRectF box(0.5, 0.5, 15, 15);
    QPainterPath body;
    body.addEllipse(box);
    QPainterPath info;
    info.addEllipse(QPointF(8, 4.6), 1.35, 1.35);
    info.addRoundedRect(QRectF(7, 6.8, 2.1, 5.8), 0.5, 0.5);
    return trueColour(
        name, 16, 16,
        [&](QPainter& p) {
            buttonBody(p, body, box, kChromeBlue, state, true);
            buttonGlyph(p, info, 1.0, state, true);
        },
        Finish::kTray, scale);
}

// --- Button and menu glyphs --------------------------------------------------------------

const QColor kInk(0x3E, 0x4F, 0x66);

void paintNewList(QPainter& p)
{
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(12.5, 4.5);
    page.lineTo(12.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.fillPath(page, vertical(1, 15, QColor(0xFF, 0xFF, 0xFF), QColor(0xE2, 0xEA, 0xF4)));
    p.strokePath(page, pen(QColor(0x4E, 0x64, 0x84)));
    QPainterPath fold;
    fold.moveTo(9.5, 1.5);
    fold.lineTo(9.5, 4.5);
    fold.lineTo(12.5, 4.5);
    fold.closeSubpath();
    p.fillPath(fold, QColor(0xC9, 0xD6, 0xE6));
    p.strokePath(fold, pen(QColor(0x4E, 0x64, 0x84)));
    p.setPen(pen(QColor(0xB4, 0xC2, 0xD4)));
    for (double y : {8.5, 10.5, 12.5})
        p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
    // A sparkle: this list is new.
    QPainterPath star;
    const QPointF c(4.5, 4.5);
    star.moveTo(c.x(), c.y() - 4);
    star.lineTo(c.x() + 1.1, c.y() - 1.1);
    star.lineTo(c.x() + 4, c.y());
    star.lineTo(c.x() + 1.1, c.y() + 1.1);
    star.lineTo(c.x(), c.y() + 4);
    star.lineTo(c.x() - 1.1, c.y() + 1.1);
    star.lineTo(c.x() - 4, c.y());
    star.lineTo(c.x() - 1.1, c.y() - 1.1);
    star.closeSubpath();
    p.fillPath(star, QColor(0xFF, 0xC8, 0x24));
    p.strokePath(star, QPen(QColor(0xA8, 0x6E, 0x00), 0.7));
}

void paintAddPictures(QPainter& p)
{
    // Crisp pixel art: a small framed landscape and a green plus.
    const QColor frame(0x30, 0x3A, 0x4A);
    p.fillRect(QRect(1, 2, 11, 10), frame);
    p.fillRect(QRect(2, 3, 9, 8), QColor(0x7E, 0xC0, 0xF4));
    p.fillRect(QRect(7, 4, 2, 2), QColor(0xFF, 0xD2, 0x3C));
    const QColor hill(0x3F, 0xA3, 0x4D);
    p.fillRect(QRect(3, 7, 2, 1), hill);
    p.fillRect(QRect(2, 8, 4, 1), hill);
    p.fillRect(QRect(7, 8, 2, 1), hill);
    p.fillRect(QRect(2, 9, 9, 2), hill);
    const QColor halo(0xFF, 0xFF, 0xFF);
    p.fillRect(QRect(10, 8, 5, 8), halo);
    p.fillRect(QRect(8, 10, 8, 5), halo);
    const QColor plus(0x1E, 0x9E, 0x3A);
    p.fillRect(QRect(11, 9, 3, 6), plus);
    p.fillRect(QRect(9, 11, 7, 2), plus);
    p.fillRect(QRect(11, 11, 3, 2), plus);
}

void paintSave(QPainter& p)
{
    QPainterPath disk;
    disk.moveTo(1.5, 1.5);
    disk.lineTo(12.5, 1.5);
    disk.lineTo(14.5, 3.5);
    disk.lineTo(14.5, 14.5);
    disk.lineTo(1.5, 14.5);
    disk.closeSubpath();
    p.fillPath(disk, vertical(1, 15, QColor(0x4A, 0x7E, 0xC6), QColor(0x22, 0x48, 0x86)));
    p.strokePath(disk, pen(QColor(0x17, 0x32, 0x60)));
    const QRectF shutter(4.5, 1.5, 7, 5);
    p.fillRect(shutter, vertical(1, 7, QColor(0xEE, 0xF1, 0xF5), QColor(0xA8, 0xB1, 0xBE)));
    p.setPen(pen(QColor(0x56, 0x60, 0x70), 0.8));
    p.drawRect(shutter);
    p.fillRect(QRectF(8.5, 2.5, 2, 3), QColor(0x34, 0x3C, 0x4A));
    const QRectF label(3.5, 8.5, 9, 6);
    p.fillRect(label, QColor(0xF7, 0xF9, 0xFC));
    p.setPen(pen(QColor(0x88, 0x94, 0xA8), 0.8));
    p.drawRect(label);
    p.setPen(pen(QColor(0x9A, 0xA6, 0xBA), 0.9));
    p.drawLine(QPointF(5, 10.5), QPointF(11, 10.5));
    p.drawLine(QPointF(5, 12.5), QPointF(11, 12.5));
}

void paintOpen(QPainter& p)
{
    const QColor rim(0x8A, 0x5E, 0x10);
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(5.5, 3.5);
    back.lineTo(7, 5);
    back.lineTo(13.5, 5);
    back.lineTo(13.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.fillPath(back, vertical(3, 14, QColor(0xE6, 0xAE, 0x3E), QColor(0xC4, 0x8A, 0x22)));
    p.strokePath(back, pen(rim));
    const QRectF sheet(3.5, 5.5, 8, 4);
    p.fillRect(sheet, QColor(0xFD, 0xFD, 0xFB));
    p.setPen(pen(QColor(0xA0, 0xA0, 0xA0), 0.6));
    p.drawRect(sheet);
    QPainterPath front;
    front.moveTo(4, 7.5);
    front.lineTo(15.5, 7.5);
    front.lineTo(13.5, 13.5);
    front.lineTo(1.5, 13.5);
    front.closeSubpath();
    p.fillPath(front, vertical(7, 14, QColor(0xFD, 0xE3, 0x92), QColor(0xF0, 0xB6, 0x44)));
    p.strokePath(front, pen(rim));
}

void paintExit(QPainter& p)
{
    QRadialGradient badge(QPointF(6.5, 5.5), 9);
    badge.setColorAt(0, QColor(0xF6, 0x7A, 0x6E));
    badge.setColorAt(1, QColor(0xAE, 0x22, 0x1A));
    QPainterPath circle;
    circle.addEllipse(QPointF(8, 8), 6.8, 6.8);
    p.fillPath(circle, badge);
    p.strokePath(circle, QPen(QColor(0x76, 0x16, 0x10), 0.9));
    // The power sign: an open ring and a bar through its gap.
    p.setPen(pen(QColor(0xFF, 0xFF, 0xFF), 1.6));
    p.drawArc(QRectF(4.6, 4.9, 6.8, 6.8), 125 * 16, 290 * 16);
    p.drawLine(QPointF(8, 3.8), QPointF(8, 8));
}

void paintStart(QPainter& p)
{
    QPainterPath play;
    play.moveTo(4, 2.5);
    play.lineTo(13.5, 8);
    play.lineTo(4, 13.5);
    play.closeSubpath();
    p.fillPath(play, vertical(2, 14, QColor(0x86, 0xE0, 0x88), QColor(0x1F, 0x8E, 0x3A)));
    p.strokePath(play, pen(QColor(0x14, 0x5E, 0x28)));
}

void paintStop(QPainter& p)
{
    QPainterPath block;
    block.addRoundedRect(QRectF(3.5, 3.5, 9, 9), 1.5, 1.5);
    p.fillPath(block, vertical(3, 13, QColor(0xF2, 0x78, 0x6C), QColor(0xB4, 0x26, 0x1E)));
    QPainterPath upper;
    upper.addRect(QRectF(3.5, 3.5, 9, 4));
    p.fillPath(block.intersected(upper), QColor(255, 255, 255, 55));
    p.strokePath(block, pen(QColor(0x76, 0x18, 0x12)));
}

void tick(QPainter& p, const QPointF& at, const QColor& colour, double width)
{
    QPainterPath mark;
    mark.moveTo(at + QPointF(3, 8));
    mark.lineTo(at + QPointF(6, 11));
    mark.lineTo(at + QPointF(12, 4));
    p.strokePath(mark, QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
}

void paintApply(QPainter& p)
{
    // Left: the enabled tick. Right: the same tick, greyed and embossed, for disabled.
    tick(p, QPointF(0, 0), QColor(0x0E, 0x50, 0x1C), 4);
    tick(p, QPointF(0, 0), QColor(0x2C, 0xB0, 0x44), 2);
    tick(p, QPointF(17, 1), QColor(0xFF, 0xFF, 0xFF), 2);
    tick(p, QPointF(16, 0), QColor(0x80, 0x80, 0x80), 2);
}

void paintCancel(QPainter& p)
{
    QPainterPath cross;
    cross.moveTo(4, 4);
    cross.lineTo(11, 11);
    cross.moveTo(11, 4);
    cross.lineTo(4, 11);
    p.strokePath(cross, QPen(QColor(0x70, 0x00, 0x00), 4, Qt::SolidLine, Qt::SquareCap));
    p.strokePath(cross, QPen(QColor(0xE0, 0x22, 0x22), 2, Qt::SolidLine, Qt::SquareCap));
}

void paintDelete(QPainter& p)
{
    QPainterPath handle;
    handle.addRoundedRect(QRectF(6, 1.5, 4, 2.5), 0.8, 0.8);
    p.fillPath(handle, kInk);
    QPainterPath lid;
    lid.addRoundedRect(QRectF(2.5, 3.5, 11, 2), 0.8, 0.8);
    p.fillPath(lid, vertical(3, 6, QColor(0xC4, 0xD2, 0xE2), QColor(0x86, 0x9A, 0xB2)));
    p.strokePath(lid, pen(kInk));
    QPainterPath bin;
    bin.moveTo(3.5, 6.5);
    bin.lineTo(12.5, 6.5);
    bin.lineTo(11.5, 14.5);
    bin.lineTo(4.5, 14.5);
    bin.closeSubpath();
    QLinearGradient metal(3, 0, 13, 0);
    metal.setColorAt(0, QColor(0xB8, 0xC7, 0xD8));
    metal.setColorAt(0.55, QColor(0x7F, 0x93, 0xAC));
    metal.setColorAt(1, QColor(0xA9, 0xB9, 0xCC));
    p.fillPath(bin, metal);
    p.strokePath(bin, pen(kInk));
    p.setPen(pen(QColor(0x52, 0x64, 0x7C), 0.9));
    p.drawLine(QPointF(6.2, 8.5), QPointF(6.6, 12.8));
    p.drawLine(QPointF(8, 8.5), QPointF(8, 12.8));
    p.drawLine(QPointF(9.8, 8.5), QPointF(9.4, 12.8));
}

void paintFind(QPainter& p)
{
    p.setPen(QPen(QColor(0x4A, 0x2C, 0x12), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.4, 10.4), QPointF(13.8, 13.8));
    p.setPen(QPen(QColor(0x9A, 0x66, 0x32), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.6, 10.6), QPointF(13.6, 13.6));
    QPainterPath lens;
    lens.addEllipse(QPointF(6.5, 6.5), 4.6, 4.6);
    QRadialGradient glass(QPointF(5.5, 5.5), 5.5);
    glass.setColorAt(0, QColor(0xF2, 0xF9, 0xFF));
    glass.setColorAt(1, QColor(0x96, 0xC4, 0xEE));
    p.fillPath(lens, glass);
    p.strokePath(lens, QPen(QColor(0x36, 0x42, 0x52), 1.5));
    p.setPen(pen(QColor(0xFF, 0xFF, 0xFF), 1.0));
    p.drawArc(QRectF(3.7, 3.7, 5.6, 5.6), 100 * 16, 70 * 16);
}

void paintWhite(QPainter& p)
{
    p.fillRect(QRect(0, 0, 16, 16), QColor(0xFF, 0xFF, 0xFF));
}

// A framed swatch split between the window's standard colour and the bottom field's.
void paintStandardColours(QPainter& p)
{
    p.fillRect(QRectF(1, 1, 14, 14), QColor(0x40, 0x48, 0x50));
    p.fillRect(QRectF(2, 2, 12, 12), QColor(0xA6, 0xCA, 0xF0));
    QPainterPath lower;
    lower.moveTo(14, 2);
    lower.lineTo(14, 14);
    lower.lineTo(2, 14);
    lower.closeSubpath();
    p.fillPath(lower, QColor(0x00, 0x00, 0x80));
}

// The standard text colour: a black letter over a black bar.
void paintStandardText(QPainter& p)
{
    p.fillRect(QRectF(1, 1, 14, 14), QColor(0x40, 0x48, 0x50));
    p.fillRect(QRectF(2, 2, 12, 12), QColor(0xF6, 0xF6, 0xF4));
    QPainterPath letter;
    letter.moveTo(4.5, 10.5);
    letter.lineTo(8, 2.8);
    letter.lineTo(11.5, 10.5);
    letter.moveTo(5.8, 7.8);
    letter.lineTo(10.2, 7.8);
    p.strokePath(letter, QPen(QColor(0, 0, 0), 1.6, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.fillRect(QRectF(2, 12, 12, 2), QColor(0, 0, 0));
}

void paintCloseMark(QPainter& p)
{
    QPainterPath cross;
    cross.moveTo(2, 2);
    cross.lineTo(6, 6);
    cross.moveTo(6, 2);
    cross.lineTo(2, 6);
    p.strokePath(cross, pen(QColor(0x2E, 0x33, 0x40), 1.7));
}

} // namespace

QList<Artwork> paintGlyphs()
{
    const QRgb menuGrey = 0xFFD8DCE2;
    QList<Artwork> all;
    // Every glyph also has an @2x painting, so buttons and menus stay sharp on scaled screens.
    for (int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@2x");
        const auto named = [&](const char* name) { return QLatin1String(name) + suffix; };
        all << closeButton(named("STENG"), State::Rest, scale) << closeButton(named("STENGOVER"), State::Over, scale)
            << closeButton(named("STENGNER"), State::Down, scale) << minimiseButton(named("MIN"), State::Rest, scale)
            << minimiseButton(named("MINOVER"), State::Over, scale)
            << minimiseButton(named("MINNER"), State::Down, scale) << aboutButton(named("OM"), State::Rest, scale)
            << aboutButton(named("OM1"), State::Over, scale) << aboutButton(named("OM2"), State::Down, scale)
            << restoreButton(named("MAX"), scale)
            << indexed(named("NY"), 16, 16, 256, paintNewList, Finish::kWindow, scale)
            << indexed(named("ADD"), 16, 16, 16, paintAddPictures, Finish::kWindow, scale)
            << trueColour(named("SPARA"), 16, 16, paintSave, Finish::kWindow, scale)
            << trueColour(named("OPEN"), 16, 16, paintOpen, Finish::kWindow, scale)
            << trueColour(named("AVSLUTA"), 16, 16, paintExit, Finish::kWindow, scale)
            << indexed(named("START"), 16, 16, 256, paintStart, Finish::kWindow, scale)
            << trueColour(named("STOP"), 16, 16, paintStop, Finish::kWindow, scale)
            << indexed(named("DO"), 32, 16, 16, paintApply, Finish::kWindow, scale)
            << indexed(named("NO"), 16, 16, 16, paintCancel, Finish::kWindow, scale)
            << indexed(named("DEL"), 16, 16, 256, paintDelete, menuGrey, scale)
            << highColour(named("HITTA"), 16, 16, paintFind, scale)
            << trueColour(named("STANDARD"), 16, 16, paintStandardColours, menuGrey, scale)
            << trueColour(named("SVART"), 16, 16, paintStandardText, menuGrey, scale)
            << indexed(named("CLOSE"), 8, 8, 256, paintCloseMark, menuGrey, scale);
        // The white square is the base of the colour swatches and has no key of its own.
        const QImage white = painted(16, 16, false, paintWhite, scale).convertToFormat(QImage::Format_RGB32);
        all.append({named("VIT"), Finish::toIndexed(white, 256, Finish::kGlyphKey)});
    }
    return all;
}
