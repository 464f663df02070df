#pragma once

#include <QFont>
#include <QString>

// The font of the program's windows: the named family ("MS Sans Serif", "Tahoma") at the given
// character height in pixels. Where the family is not installed, a metric-compatible
// replacement is used (Wine's scalable fonts when present, else Liberation Sans or DejaVu Sans)
// at the same pixel size, so texts still fit the places the layout gives them.
QFont uiFont(const QString& family = QStringLiteral("MS Sans Serif"), int pixelHeight = 16);

// The family uiFont() uses for a requested family.
QString uiFontFamily(const QString& family);
