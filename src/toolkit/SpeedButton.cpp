#include "SpeedButton.h"

#include "TransparentColour.h"
#include "resources/Resources.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {

constexpr int glyphMargin = 8;  // glyph from the left edge
constexpr int glyphSpacing = 4; // caption after the glyph

} // namespace

SpeedButton::SpeedButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void SpeedButton::setGlyph(const QPixmap& glyph, int numGlyphs)
{
    m_glyph = glyph;
    m_fineGlyph = QPixmap();
    m_numGlyphs = qMax(1, numGlyphs);
    m_glyphResource.clear();
    update();
}

void SpeedButton::setGlyphResource(const QString& name, int numGlyphs)
{
    setGlyph(Resources::bitmap(name), numGlyphs);
    // Both are kept and chosen per paint: the window may move to a screen of another scale.
    const QPixmap fine = Resources::bitmap(name, 2.0);
    if (fine.devicePixelRatio() == 2.0)
        m_fineGlyph = fine;
    m_glyphResource = name;
}

QPixmap SpeedButton::currentGlyph() const
{
    const QPixmap& source = devicePixelRatio() > 1.0 && !m_fineGlyph.isNull() ? m_fineGlyph : m_glyph;
    if (source.isNull())
        return {};
    const int width = source.width() / m_numGlyphs; // device pixels
    // The images are enabled, disabled, (clicked, down); a missing one falls back to the first.
    const int index = !isEnabled() && m_numGlyphs >= 2 ? 1 : 0;
    QPixmap image = withBottomLeftTransparent(source.copy(index * width, 0, width, source.height()));
    image.setDevicePixelRatio(source.devicePixelRatio());
    if (!isEnabled() && m_numGlyphs < 2) {
        QStyleOption option;
        option.initFrom(this);
        image = style()->generatedIconPixmap(QIcon::Disabled, image, &option);
        image.setDevicePixelRatio(source.devicePixelRatio());
    }
    return image;
}

QSize SpeedButton::sizeHint() const
{
    const QSize glyph = m_glyph.isNull() ? QSize() : QSize(m_glyph.width() / m_numGlyphs, m_glyph.height());
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, this->text());
    return {glyphMargin + glyph.width() + glyphSpacing + text.width() + glyphMargin,
            qMax(glyph.height(), text.height()) + 8};
}

void SpeedButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool down = isDown() || isChecked();
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    // Flat: the frame shows only while the pointer is over the button or it is down.
    if (isEnabled() && (down || m_hover)) {
        const QColor light(255, 255, 255);
        const QColor dark(128, 128, 128);
        painter.setPen(down ? dark : light);
        painter.drawLine(frame.topLeft(), frame.topRight());
        painter.drawLine(frame.topLeft(), frame.bottomLeft());
        painter.setPen(down ? light : dark);
        painter.drawLine(frame.bottomLeft(), frame.bottomRight());
        painter.drawLine(frame.topRight(), frame.bottomRight());
    }
    const int shift = down ? 1 : 0;
    int x = glyphMargin + shift;
    const QPixmap glyph = currentGlyph();
    if (!glyph.isNull()) {
        const QSize size = glyph.deviceIndependentSize().toSize();
        const int y = (height() - size.height()) / 2 + shift;
        painter.drawPixmap(x, y, glyph);
        x += size.width() + glyphSpacing;
    }
    if (!text().isEmpty()) {
        const QRect textRect(x, shift, width() - x, height());
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
        if (isEnabled()) {
            painter.setPen(palette().color(QPalette::WindowText));
        } else {
            // Disabled captions are embossed: a white copy one pixel down-right under grey.
            painter.setPen(QColor(255, 255, 255));
            painter.drawText(textRect.translated(1, 1), flags, text());
            painter.setPen(QColor(128, 128, 128));
        }
        painter.drawText(textRect, flags, text());
    }
}

void SpeedButton::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void SpeedButton::leaveEvent(QEvent* event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}
