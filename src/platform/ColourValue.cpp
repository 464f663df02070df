#include "ColourValue.h"

#include <QGuiApplication>
#include <QPalette>

namespace ColourValue {

namespace {

// The few Windows system colour indices that matter here, mapped onto the palette.
QColor systemColour(int index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case 5:
        return palette.color(QPalette::Base); // COLOR_WINDOW
    case 8:
        return palette.color(QPalette::Text); // COLOR_WINDOWTEXT
    case 13:
        return palette.color(QPalette::Highlight); // COLOR_HIGHLIGHT
    case 14:
        return palette.color(QPalette::HighlightedText);
    case 15:
        return palette.color(QPalette::Button); // COLOR_BTNFACE
    case 18:
        return palette.color(QPalette::ButtonText);
    case 26:
        return palette.color(QPalette::Link); // COLOR_HOTLIGHT
    default:
        return palette.color(QPalette::Window);
    }
}

} // namespace

QColor toColour(qint32 value)
{
    const quint32 v = quint32(value);
    if ((v >> 24) == 0xFF)
        return systemColour(int(v & 0xFF));
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

qint32 fromColour(const QColor& colour)
{
    return qint32(quint32(colour.red()) | (quint32(colour.green()) << 8) | (quint32(colour.blue()) << 16));
}

} // namespace ColourValue
