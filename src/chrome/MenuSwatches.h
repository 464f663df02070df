#pragma once

#include <QColor>
#include <QPixmap>

class QAction;
struct MainControls;

// The colour-change menu items show the colour they change: the white square VIT with its
// inner 14 x 14 pixels, from (1, 1) to (15, 15), filled with that colour.
namespace MenuSwatches {

QPixmap paint(const QPixmap& base, const QColor& colour);
// Gives the item a fresh swatch of the colour; throws AppError when VIT is missing.
void repaint(QAction* item, const QColor& colour);

// The swatches of one colour, read from the controls that hold it: the window's colour and
// text colour are Form1's palette (Window, WindowText), the bottom field's those of Panel2.
void repaintWindowColour(const MainControls& controls);     // Byt1, BytBakgrundsfrg1
void repaintWindowTextColour(const MainControls& controls); // Textfarg1, BytTextFrg1
void repaintBottomColour(const MainControls& controls);     // BytBakgrundsfrg2
void repaintBottomTextColour(const MainControls& controls); // BytTextFrg2
void repaintAll(const MainControls& controls);

} // namespace MenuSwatches
