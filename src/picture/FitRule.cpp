#include "FitRule.h"

#include <algorithm>

QRect fitRect(const QSize& picture, const QSize& box)
{
    const int boxW = std::max(0, box.width());
    const int boxH = std::max(0, box.height());
    qint64 w = picture.width();
    qint64 h = picture.height();
    if (w <= 0 || h <= 0)
        return QRect(boxW / 2, boxH / 2, 0, 0);

    if (w > boxW || h > boxH) {
        // Integer arithmetic gives the exact truncated quotient that a floating aspect ratio
        // would only approximate (80 / (800/600.0) must be 60, not 59).
        const qint64 picW = w;
        const qint64 picH = h;
        if (picW > picH) {
            w = boxW;
            h = boxW * picH / picW;
            if (h > boxH) {
                h = boxH;
                w = boxH * picW / picH;
            }
        } else {
            h = boxH;
            w = boxH * picW / picH;
            if (w > boxW) {
                w = boxW;
                h = boxW * picH / picW;
            }
        }
        // A very long, thin picture would otherwise vanish to a zero-pixel line.
        if (boxW > 0 && boxH > 0) {
            w = std::max<qint64>(w, 1);
            h = std::max<qint64>(h, 1);
        }
    }
    return QRect(static_cast<int>((boxW - w) / 2), static_cast<int>((boxH - h) / 2), static_cast<int>(w),
                 static_cast<int>(h));
}
