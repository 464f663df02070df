#include "Placements.h"

namespace Placements {

std::optional<Row> byIndex(int index)
{
    if (index < 0 || index >= int(table.size()))
        return std::nullopt;
    return table[std::size_t(index)];
}

Placement fromValues(const QString& wallpaperStyle, const QString& tileWallpaper)
{
    if (tileWallpaper == QLatin1String("1"))
        return Placement::Tiled;
    if (wallpaperStyle == QLatin1String("2"))
        return Placement::Stretched;
    return Placement::Centred;
}

} // namespace Placements
