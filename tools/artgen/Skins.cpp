#include "Artwork.h"
#include "Finish.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace {

constexpr int kMainWidth = 988;
constexpr int kMainHeight = 608;
constexpr int kSplashWidth = 300;
constexpr int kSplashHeight = 124;

// Main skin outline: an elliptical arch whose widest row is 52, centred on the window.
constexpr double kArchCentreX = 494.0;
constexpr double kArchHalfWidth = 490.0;
constexpr double kArchCentreY = 52.5;
// Chosen so that the arch's first row (4) is about 135 pixels wide.
const double kArchHalfHeight = 48.0 / std::sqrt(1.0 - (67.5 / 490.0) * (67.5 / 490.0));
constexpr int kCornerRadius = 12;

// The splash card: a flat arch over rows 1 to 10, full width from row 10 on.
constexpr double kSplashCentreX = 150.0;
constexpr double kSplashHalfWidth = 149.0;
constexpr double kSplashArchCentreY = 10.5;
constexpr double kSplashArchHalfHeight = 12.8;
constexpr int kSplashCornerRadius = 8;

const QColor kOutline(0x1A, 0x33, 0x58);
const QColor kGold(0xF3, 0xD9, 0x8B);

bool insideRoundedBottom(int x, int y, int left, int right, int bottom, int radius)
{
    const double cy = bottom + 1 - radius;
    if (y + 0.5 <= cy)
        return true;
    const double cxLeft = left + radius;
    const double cxRight = right + 1 - radius;
    const double px = x + 0.5;
    const double dy = y + 0.5 - cy;
    if (px < cxLeft)
        return (px - cxLeft) * (px - cxLeft) + dy * dy <= radius * radius;
    if (px > cxRight)
        return (px - cxRight) * (px - cxRight) + dy * dy <= radius * radius;
    return true;
}

// The font of the lettering: a serif with a calligraphic italic, whichever is installed.
QFont letteringFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif"), QStringLiteral("serif")});
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setItalic(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// Text as a path centred on (cx, baseline).
QPainterPath textPath(const QString& text, const QFont& font, double cx, double baseline)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    return path.translated(cx - box.center().x(), baseline);
}

void drawLettering(QPainter& p, const QPainterPath& text, double top, double bottom)
{
    // A soft drop shadow from a few offset copies, then a dark rim and a gilded face.
    for (int i = 3; i >= 1; --i) {
        p.fillPath(text.translated(i * 0.8, i * 1.0), QColor(8, 20, 40, 46));
    }
    p.strokePath(text, QPen(QColor(0x17, 0x2E, 0x52), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient face(0, top, 0, bottom);
    face.setColorAt(0.0, QColor(0xFF, 0xFC, 0xEE));
    face.setColorAt(0.45, QColor(0xFA, 0xEB, 0xC0));
    face.setColorAt(0.55, QColor(0xEE, 0xD0, 0x86));
    face.setColorAt(1.0, QColor(0xF8, 0xE4, 0xA8));
    p.fillPath(text, face);
}

// A thin gilded rule with a diamond at its outer end.
void drawFlourish(QPainter& p, double from, double to, double y)
{
    QLinearGradient fade(from, 0, to, 0);
    fade.setColorAt(0.0, QColor(0xF3, 0xD9, 0x8B, 255));
    fade.setColorAt(1.0, QColor(0xF3, 0xD9, 0x8B, 90));
    p.setPen(QPen(QBrush(fade), 1.2));
    p.drawLine(QPointF(from, y), QPointF(to, y));
    QPainterPath diamond;
    diamond.moveTo(from, y - 3.5);
    diamond.lineTo(from + 3.5, y);
    diamond.lineTo(from, y + 3.5);
    diamond.lineTo(from - 3.5, y);
    diamond.closeSubpath();
    p.fillPath(diamond, kGold);
    p.strokePath(diamond, QPen(kOutline, 0.8));
}

QPainterPath archPath()
{
    QPainterPath arch;
    arch.addEllipse(QPointF(kArchCentreX, kArchCentreY), kArchHalfWidth, kArchHalfHeight);
    QPainterPath upper;
    upper.addRect(QRectF(0, 0, kMainWidth, kArchCentreY));
    return arch.intersected(upper);
}

QImage paintMainSkin(int scale)
{
    QImage skin(kMainWidth * scale, kMainHeight * scale, QImage::Format_RGB32);
    skin.fill(Finish::kSkinKey);
    QPainter p(&skin);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);

    // Body: a deep blue frame, lighter at the top, around the sky-blue panels.
    QLinearGradient body(0, 60, 0, 604);
    body.setColorAt(0.0, QColor(0x3E, 0x72, 0xAE));
    body.setColorAt(1.0, QColor(0x22, 0x46, 0x78));
    p.fillRect(QRect(0, 0, kMainWidth, kMainHeight), body);

    // The arch and the band under it: a glassy blue.
    QPainterPath crown = archPath();
    crown.addRect(QRectF(0, kArchCentreY - 0.5, kMainWidth, 70 - kArchCentreY + 0.5));
    crown = crown.simplified();
    QLinearGradient glass(0, 4, 0, 70);
    glass.setColorAt(0.0, QColor(0x8C, 0xBC, 0xEA));
    glass.setColorAt(0.48, QColor(0x55, 0x8D, 0xC8));
    glass.setColorAt(0.52, QColor(0x46, 0x7E, 0xBB));
    glass.setColorAt(1.0, QColor(0x33, 0x64, 0x9E));
    p.fillPath(crown, glass);

    // Sheen over the top of the arch.
    QPainterPath sheen;
    sheen.addEllipse(QPointF(kArchCentreX, 30), 420, 24);
    QLinearGradient shine(0, 6, 0, 54);
    shine.setColorAt(0.0, QColor(255, 255, 255, 95));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillPath(sheen.intersected(archPath()), shine);

    // A gilded line following the arch just inside its edge.
    QPainterPath inner;
    inner.addEllipse(QPointF(kArchCentreX, kArchCentreY), kArchHalfWidth - 6, kArchHalfHeight - 4);
    QPainterPath innerUpper;
    innerUpper.addRect(QRectF(0, 0, kMainWidth, kArchCentreY - 2));
    p.strokePath(inner.intersected(innerUpper), QPen(QColor(0xF3, 0xD9, 0x8B, 150), 1.0));

    // A line under the crown where the body starts, and the recess the panels sit in.
    p.setPen(QPen(QColor(0xCF, 0xE2, 0xF6, 120), 1.0));
    p.drawLine(QPointF(10, 66.5), QPointF(978, 66.5));
    p.setPen(QPen(QColor(0x10, 0x24, 0x42), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(8.5, 69.5, 969, 530));
    p.setPen(QPen(QColor(0x7F, 0xA8, 0xD6, 140), 1.0));
    p.drawLine(QPointF(8.5, 600.5), QPointF(978.5, 600.5));
    p.drawLine(QPointF(978.5, 69.5), QPointF(978.5, 600.5));

    // Title lettering in the arch, with rules on either side.
    const QFont font = letteringFont(34);
    const QPainterPath title = textPath(QStringLiteral("Tavelväxlaren"), font, kArchCentreX, 46);
    const QRectF titleBox = title.boundingRect();
    drawLettering(p, title, titleBox.top(), titleBox.bottom());
    drawFlourish(p, titleBox.left() - 110, titleBox.left() - 16, 38.5);
    drawFlourish(p, titleBox.right() + 110, titleBox.right() + 16, 38.5);

    // The light tray the caption buttons sit in.
    const QRectF tray(787, 30, 62, 28);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0C, 0x20, 0x3E, 90));
    p.drawRoundedRect(tray.translated(0.5, 1.0), 6, 6);
    p.setBrush(QColor(Finish::kTray));
    p.setPen(QPen(QColor(0x6E, 0x90, 0xBA), 1.0));
    p.drawRoundedRect(tray.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    p.setPen(QPen(QColor(0xD4, 0xE0, 0xEE), 1.0));
    p.drawLine(QPointF(793, 31.5), QPointF(843, 31.5));
    p.end();

    Finish::cutSkin(skin, insideMainSkin, kOutline.rgb(), scale);
    return skin.convertToFormat(QImage::Format_RGB888);
}

QImage paintSplashSkin(int scale)
{
    QImage skin(kSplashWidth * scale, kSplashHeight * scale, QImage::Format_RGB32);
    skin.fill(Finish::kSkinKey);
    QPainter p(&skin);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);

    // A light card so that dark text stays readable on it.
    QLinearGradient card(0, 14, 0, 123);
    card.setColorAt(0.0, QColor(0xE6, 0xF0, 0xFB));
    card.setColorAt(1.0, QColor(0xC2, 0xD9, 0xF1));
    p.fillRect(QRect(0, 0, kSplashWidth, kSplashHeight), card);

    // Soft hills along the bottom, a hint of a landscape.
    QPainterPath far;
    far.moveTo(0, 104);
    far.cubicTo(60, 88, 120, 112, 180, 98);
    far.cubicTo(220, 90, 260, 96, 300, 90);
    far.lineTo(300, 124);
    far.lineTo(0, 124);
    far.closeSubpath();
    p.fillPath(far, QColor(0x9F, 0xC0, 0xE4, 110));
    QPainterPath near;
    near.moveTo(0, 114);
    near.cubicTo(70, 104, 140, 122, 210, 110);
    near.cubicTo(245, 104, 275, 108, 300, 104);
    near.lineTo(300, 124);
    near.lineTo(0, 124);
    near.closeSubpath();
    p.fillPath(near, QColor(0x86, 0xAE, 0xDA, 110));

    // The blue band under the arch with the program's name.
    QLinearGradient band(0, 1, 0, 15);
    band.setColorAt(0.0, QColor(0x86, 0xB7, 0xE6));
    band.setColorAt(0.5, QColor(0x4E, 0x86, 0xC2));
    band.setColorAt(1.0, QColor(0x35, 0x67, 0xA2));
    p.fillRect(QRectF(0, 0, kSplashWidth, 15), band);
    p.fillRect(QRectF(0, 1, kSplashWidth, 5), QColor(255, 255, 255, 50));
    p.setPen(QPen(kGold, 1.0));
    p.drawLine(QPointF(0, 15.5), QPointF(kSplashWidth, 15.5));
    p.setPen(QPen(QColor(0x1A, 0x33, 0x58, 120), 1.0));
    p.drawLine(QPointF(0, 16.5), QPointF(kSplashWidth, 16.5));

    const QPainterPath title = textPath(QStringLiteral("Tavelväxlaren"), letteringFont(12), kSplashCentreX, 12);
    p.fillPath(title.translated(0.6, 0.8), QColor(8, 20, 40, 90));
    p.fillPath(title, QColor(0xFF, 0xF8, 0xE2));

    // An inner highlight along the sides and bottom.
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.0));
    p.setBrush(Qt::NoBrush);
    QPainterPath rim;
    rim.moveTo(2.5, 17);
    rim.lineTo(2.5, 121.5 - kSplashCornerRadius + 1);
    rim.quadTo(2.5, 120.5, 2.5 + kSplashCornerRadius - 1, 120.5);
    rim.lineTo(297.5 - kSplashCornerRadius + 1, 120.5);
    rim.quadTo(296.5, 120.5, 296.5, 121.5 - kSplashCornerRadius + 1);
    rim.lineTo(296.5, 17);
    p.drawPath(rim);
    p.end();

    Finish::cutSkin(skin, insideSplashSkin, kOutline.rgb(), scale);
    return skin.convertToFormat(QImage::Format_RGB888);
}

} // namespace

bool insideMainSkin(int x, int y)
{
    if (x < 4 || x > 983 || y < 4 || y > 603)
        return false;
    if (y + 0.5 < kArchCentreY) {
        const double dx = (x + 0.5 - kArchCentreX) / kArchHalfWidth;
        const double dy = (y + 0.5 - kArchCentreY) / kArchHalfHeight;
        return dx * dx + dy * dy <= 1.0;
    }
    if (y >= 58 && y <= 65) {
        // A slight waist where the crown meets the body.
        const int inset = int(std::lround(4.0 * std::sin(M_PI * (y - 57) / 9.0)));
        return x >= 4 + inset && x <= 983 - inset;
    }
    return insideRoundedBottom(x, y, 4, 983, 603, kCornerRadius);
}

bool insideSplashSkin(int x, int y)
{
    if (x < 1 || x > 298 || y < 1 || y > 122)
        return false;
    if (y + 0.5 < kSplashArchCentreY) {
        const double dx = (x + 0.5 - kSplashCentreX) / kSplashHalfWidth;
        const double dy = (y + 0.5 - kSplashArchCentreY) / kSplashArchHalfHeight;
        return dx * dx + dy * dy <= 1.0;
    }
    return insideRoundedBottom(x, y, 1, 298, 122, kSplashCornerRadius);
}

QList<Artwork> paintSkins()
{
    // The @2x pictures serve screens scaled above 1; their shape is the 1x one, doubled.
    return {{QStringLiteral("SKAL"), paintMainSkin(1)},
            {QStringLiteral("SPLASH"), paintSplashSkin(1)},
            {QStringLiteral("SKAL@2x"), paintMainSkin(2)},
            {QStringLiteral("SPLASH@2x"), paintSplashSkin(2)}};
}
