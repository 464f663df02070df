#pragma once

#include <QPixmap>

// The bitmap with every pixel of the colour of its bottom-left pixel made transparent,
// as glyphs and transparent images are drawn.
QPixmap withBottomLeftTransparent(const QPixmap& bitmap);
