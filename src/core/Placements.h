#pragma once

#include <QString>
#include <array>
#include <optional>

// How a picture is placed on the desktop.
enum class Placement
{
    Centred,
    Tiled,
    Stretched
};

// The placement box's items: what each shows, the two desktop values it writes, and the placement
// a desktop that has no such values is given. The one table every part of the program reads.
namespace Placements {

struct Row
{
    int index; // the item of CmbTyp, as "Screenstyle" stores it
    const char* text;
    const char* wallpaperStyle;
    const char* tileWallpaper;
    Placement placement;
};

inline constexpr std::array<Row, 3> table{{
    {0, "Centrerad", "0", "0", Placement::Centred},
    {1, "Sida vid Sida", "0", "1", Placement::Tiled},
    {2, "Anpassad", "2", "0", Placement::Stretched},
}};

// The row of a CmbTyp index; nothing for an index outside the table (nothing is applied then).
std::optional<Row> byIndex(int index);

// The placement two stored desktop values stand for: "TileWallpaper" "1" tiles whatever the
// style, "WallpaperStyle" "2" stretches, everything else centres.
Placement fromValues(const QString& wallpaperStyle, const QString& tileWallpaper);

} // namespace Placements
