#pragma once

#include "chrome/MainWindowLayout.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/DragShape.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/TransparentImage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QScrollArea>
#include <QTimer>
#include <QWidget>

// The main window's real layout on a plain form, built and dressed through MainWindowLayout as
// the program builds it: every control at its place with its texts, items and bitmaps. Tests
// take controls from `controls` (their classes come included) or find them by the name the
// layout gives them. Link with chrome.
class MainLayout
{
public:
    QWidget form;
    MainWindowWidgets controls;

    MainLayout() : controls(MainWindowLayout::build(&form)) { MainWindowLayout::dress(controls); }

    // The control called name (widget, timer, menu or menu item); a missing one ends the run.
    template <typename T = QWidget> T* find(const char* name) const
    {
        T* found = form.findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("the main window's layout has no %s of that type", name);
        return found;
    }
};
