#pragma once

#include <QIcon>
#include <QString>

// A glyph resource as an icon for menus and dialog buttons: drawn transparent through its
// bottom-left pixel, with its finer painting for scaled screens where one is stored.
// numGlyphs 2: the bitmap holds the enabled and the disabled image side by side.
// Throws AppError for an unknown name.
QIcon glyphIcon(const QString& name, int numGlyphs = 1);
