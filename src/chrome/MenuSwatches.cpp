#include "MenuSwatches.h"

#include "resources/Resources.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/MainControls.h"

#include <QAction>
#include <QIcon>
#include <QPainter>
#include <QWidget>

namespace MenuSwatches {

QPixmap paint(const QPixmap& base, const QColor& colour)
{
    QPixmap swatch = base;
    QPainter painter(&swatch);
    painter.fillRect(QRect(1, 1, 14, 14), colour);
    return swatch;
}

void repaint(QAction* item, const QColor& colour)
{
    if (item)
        item->setIcon(QIcon(paint(Resources::bitmap(QStringLiteral("Vit")), colour)));
}

void repaintWindowColour(const MainControls& c)
{
    const QColor colour = c.form->palette().color(QPalette::Window);
    repaint(c.byt1, colour);
    repaint(c.bytBakgrundsfrg1, colour);
}

void repaintWindowTextColour(const MainControls& c)
{
    const QColor colour = c.form->palette().color(QPalette::WindowText);
    repaint(c.textfarg1, colour);
    repaint(c.bytTextFrg1, colour);
}

void repaintBottomColour(const MainControls& c)
{
    repaint(c.bytBakgrundsfrg2, c.panel2->color());
}

void repaintBottomTextColour(const MainControls& c)
{
    repaint(c.bytTextFrg2, c.panel2->fontColor());
}

void repaintAll(const MainControls& c)
{
    repaintWindowColour(c);
    repaintWindowTextColour(c);
    repaintBottomColour(c);
    repaintBottomTextColour(c);
}

} // namespace MenuSwatches
