#pragma once

#include <QImage>
#include <QRegion>
#include <QString>

class QLabel;
class QWidget;

// The window outline of a skin bitmap: every pixel of the key colour (the colour of the
// top-left pixel, compared in all three bytes after conversion to 24 bits per pixel) is left
// out, wherever it lies. The result lies within the bitmap's rectangle.
QRegion BuildSkinRegion(const QImage& bitmap);

// Gives a frameless window the outline of its skin. The region becomes the window's X shape, which
// takes the input and is all a window manager without a compositor draws; compositors draw the
// window's whole buffer, so the window is also made translucent and what the region leaves out is
// never painted (alpha 0). Call before the window is first shown: its buffer's format is chosen then.
void setSkinShape(QWidget* window, const QRegion& region);

// Dresses a frameless window with a skin resource: builds the region, shows the bitmap in the
// skin image control, sizes the window to it and gives it the region's shape (setSkinShape).
// Returns the region the window now has. An unknown resource throws AppError and leaves the
// window without skin and without region.
QRegion applySkin(QWidget* window, QLabel* skinImage, const QString& resourceName);
