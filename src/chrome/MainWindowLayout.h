#pragma once

#include "MainWindowWidgets.h"
#include "MenuSwatches.h"

#include <QRegion>

class QWidget;

// The map of the main window: builds every control, timer and popup menu onto the frameless
// top-level Form1 at its designed place, with its name, text and hint, and dresses them with
// their bitmaps. It binds no handlers; only the right-click rule (bottom field: PopInfo,
// thumbnail area: PopDel, elsewhere: PopProg) is part of the layout.
class MainWindowLayout
{
public:
    // Builds the layout state onto form; the returned pointers are owned by form.
    static MainWindowWidgets build(QWidget* form);

    // Creation steps of the window, in the order its creation handler runs them:
    // the skin SKAL as background and window outline (returns the region handed over);
    static QRegion applySkin(const MainWindowWidgets& controls);
    // button glyphs, caption-button images, menu bitmaps and colour swatches;
    static void dressControls(const MainWindowWidgets& controls);
    // the combo items from the string table, appended; CmbTidTyp selects 1, CmbTyp 2.
    static void fillCombos(const MainWindowWidgets& controls);
    // All three dressing steps above.
    static QRegion dress(const MainWindowWidgets& controls);

    // The colour menu items with the controls whose colours they show.
    static MenuSwatches::Items swatchItems(const MainWindowWidgets& controls);
};
