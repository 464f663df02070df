#include "BevelPanel.h"

#include <QContextMenuEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The classic 3D colours: button highlight and button shadow.
const QColor highlightColour(255, 255, 255);
const QColor shadowColour(128, 128, 128);

// Draws one bevel of the given width inside rect and returns the rectangle left inside it.
QRect drawBevel(QPainter& painter, QRect rect, BevelPanel::Bevel bevel, int width)
{
    if (bevel == BevelPanel::Bevel::None)
        return rect;
    const QColor topLeft = bevel == BevelPanel::Bevel::Raised ? highlightColour : shadowColour;
    const QColor bottomRight = bevel == BevelPanel::Bevel::Raised ? shadowColour : highlightColour;
    for (int i = 0; i < width && rect.width() > 0 && rect.height() > 0; ++i) {
        painter.setPen(topLeft);
        painter.drawLine(rect.left(), rect.top(), rect.right(), rect.top());
        painter.drawLine(rect.left(), rect.top(), rect.left(), rect.bottom());
        painter.setPen(bottomRight);
        painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
        painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
        rect.adjust(1, 1, -1, -1);
    }
    return rect;
}

} // namespace

BevelPanel::BevelPanel(QWidget* parent) : QFrame(parent)
{
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

void BevelPanel::setBevelOuter(Bevel bevel)
{
    m_outer = bevel;
    update();
}

void BevelPanel::setBevelInner(Bevel bevel)
{
    m_inner = bevel;
    update();
}

void BevelPanel::setBevelWidth(int width)
{
    m_bevelWidth = qMax(0, width);
    update();
}

void BevelPanel::setBorderWidth(int width)
{
    // A negative border has no meaning for drawing; it draws as none.
    m_borderWidth = width;
    update();
}

void BevelPanel::setSingleBorder(bool on)
{
    m_singleBorder = on;
    update();
}

void BevelPanel::setColor(const QColor& colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    setPalette(pal);
}

QColor BevelPanel::color() const
{
    return palette().color(QPalette::Window);
}

void BevelPanel::setFontColor(const QColor& colour)
{
    QPalette pal = palette();
    for (auto role : {QPalette::WindowText, QPalette::ButtonText})
        pal.setColor(role, colour);
    setPalette(pal);
}

QColor BevelPanel::fontColor() const
{
    return palette().color(QPalette::WindowText);
}

void BevelPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect rect = this->rect();
    if (m_singleBorder) {
        painter.setPen(Qt::black);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        rect.adjust(1, 1, -1, -1);
    }
    rect = drawBevel(painter, rect, m_outer, m_bevelWidth);
    rect.adjust(qMax(0, m_borderWidth), qMax(0, m_borderWidth), -qMax(0, m_borderWidth), -qMax(0, m_borderWidth));
    drawBevel(painter, rect, m_inner, m_bevelWidth);
}

void BevelPanel::mousePressEvent(QMouseEvent* event)
{
    if (m_click.press(event))
        event->accept();
    else
        QFrame::mousePressEvent(event);
}

void BevelPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_click.release(event, rect())) {
        QFrame::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    emit clicked();
}

void BevelPanel::contextMenuEvent(QContextMenuEvent* event)
{
    if (isSignalConnected(QMetaMethod::fromSignal(&BevelPanel::rightClicked))) {
        event->accept();
        emit rightClicked(event->globalPos());
    } else {
        event->ignore();
    }
}
