#pragma once

#include <QString>

class QAction;
class QMenu;
class QWidget;

// Hints are written "short|long": the short part is the tool tip, the long part goes to the
// tip line through the status tip. A hint without a bar is both.
QString shortHint(const QString& hint);
QString longHint(const QString& hint);
void setHint(QWidget* widget, const QString& hint);
void setHint(QAction* action, const QString& hint);
// A menu is a window of its own, so its items' status tips stop there; this sends them on to
// target (the window with the tip line) and shows the items' tool tips.
void relayMenuHints(QMenu* menu, QWidget* target);
