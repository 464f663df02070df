#pragma once

#include <QString>

class QAction;
class QWidget;

// Hints are written "short|long": the short part is the tool tip, the long part goes to the
// tip line through the status tip. A hint without a bar is both.
QString shortHint(const QString& hint);
QString longHint(const QString& hint);
void setHint(QWidget* widget, const QString& hint);
void setHint(QAction* action, const QString& hint);
