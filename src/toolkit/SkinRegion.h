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

// Dresses a frameless window with a skin resource: builds the region, shows the bitmap in the
// skin image control, sizes the window to it and hands the region to the window as its mask.
// Returns the region the window now has. An unknown resource throws AppError and leaves the
// window without skin and without region.
QRegion applySkin(QWidget* window, QLabel* skinImage, const QString& resourceName);
