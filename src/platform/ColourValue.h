#pragma once

#include <QColor>
#include <QtGlobal>

// Stored colours are 0x00BBGGRR; a value whose high byte is 0xFF names a system colour
// by the index in its low byte, resolved when drawing.
namespace ColourValue {

constexpr qint32 Highlight = qint32(0xFF00000Du); // COLOR_HIGHLIGHT
constexpr qint32 HotLight = qint32(0xFF00001Au);  // COLOR_HOTLIGHT

QColor toColour(qint32 value);
// Plain RGB colours only: chosen colours never name a system colour.
qint32 fromColour(const QColor& colour);

} // namespace ColourValue
