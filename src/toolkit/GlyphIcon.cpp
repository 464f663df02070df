#include "GlyphIcon.h"

#include "TransparentColour.h"
#include "resources/Resources.h"

QIcon glyphIcon(const QString& name, int numGlyphs)
{
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) {
        const QPixmap stored = Resources::bitmap(name, ratio);
        if (stored.devicePixelRatio() != ratio)
            continue; // no finer painting: the icon scales the 1x one
        const QPixmap bitmap = withBottomLeftTransparent(stored);
        const int w = bitmap.width() / numGlyphs;
        const auto part = [&](int index) {
            QPixmap image = bitmap.copy(index * w, 0, w, bitmap.height());
            image.setDevicePixelRatio(ratio);
            return image;
        };
        icon.addPixmap(part(0), QIcon::Normal);
        if (numGlyphs > 1)
            icon.addPixmap(part(1), QIcon::Disabled);
    }
    return icon;
}
