#pragma once

#include <QRect>
#include <QSize>

// Where a picture of the given size is shown inside a box placed at (0,0): scaled down
// proportionally (sizes truncated) when it is wider or higher than the box, never enlarged,
// and centred with the offsets halved towards zero. Thumbnails, preview and popup all use it.
QRect fitRect(const QSize& picture, const QSize& box);
