#pragma once

#include <QColor>
#include <QPixmap>

class BevelPanel;
class QAction;
class QWidget;

// The colour-change menu items show the colour they change: the white square VIT with its
// inner 14 x 14 pixels, from (1, 1) to (15, 15), filled with that colour.
namespace MenuSwatches {

QPixmap paint(const QPixmap& base, const QColor& colour);
// Gives the item a fresh swatch of the colour; throws AppError when VIT is missing.
void repaint(QAction* item, const QColor& colour);

// The items that show a swatch, and the controls that hold their colours: the window's colour
// and text colour are Form1's palette (Window, WindowText), the bottom field's those of Panel2.
struct Items
{
    QWidget* form;
    BevelPanel* panel2;
    QAction* byt1;
    QAction* bytBakgrundsfrg1;
    QAction* textfarg1;
    QAction* bytTextFrg1;
    QAction* bytBakgrundsfrg2;
    QAction* bytTextFrg2;
};

void repaintWindowColour(const Items& items);     // Byt1, BytBakgrundsfrg1
void repaintWindowTextColour(const Items& items); // Textfarg1, BytTextFrg1
void repaintBottomColour(const Items& items);     // BytBakgrundsfrg2
void repaintBottomTextColour(const Items& items); // BytTextFrg2
void repaintAll(const Items& items);

} // namespace MenuSwatches
