#include "MenuSwatches.h"

#include "resources/Resources.h"
#include "toolkit/BevelPanel.h"

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
    if (!item)
        return;
    QIcon icon;
    icon.addPixmap(paint(Resources::bitmap(QStringLiteral("Vit")), colour));
    // The finer square for scaled screens; its painter works in the same logical pixels.
    const QPixmap fine = Resources::bitmap(QStringLiteral("Vit"), 2.0);
    if (fine.devicePixelRatio() == 2.0)
        icon.addPixmap(paint(fine, colour));
    item->setIcon(icon);
}

void repaintWindowColour(const Items& c)
{
    const QColor colour = c.form->palette().color(QPalette::Window);
    repaint(c.byt1, colour);
    repaint(c.bytBakgrundsfrg1, colour);
}

void repaintWindowTextColour(const Items& c)
{
    const QColor colour = c.form->palette().color(QPalette::WindowText);
    repaint(c.textfarg1, colour);
    repaint(c.bytTextFrg1, colour);
}

void repaintBottomColour(const Items& c)
{
    repaint(c.bytBakgrundsfrg2, c.panel2->color());
}

void repaintBottomTextColour(const Items& c)
{
    repaint(c.bytTextFrg2, c.panel2->fontColor());
}

void repaintAll(const Items& c)
{
    repaintWindowColour(c);
    repaintWindowTextColour(c);
    repaintBottomColour(c);
    repaintBottomTextColour(c);
}

} // namespace MenuSwatches
