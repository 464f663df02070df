#pragma once

#include "AppError.h"
#include "core/Placements.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QObject;

// The desktop seam: the two ways a picture becomes the background.
// Windows: the shell's Active Desktop object, and the desktop values + SystemParametersInfoA.
// Elsewhere: the values go into the settings store and an adapter per desktop environment makes
// the change (Desktop_unix.cpp, DesktopAdapters.h). TAVELVAXLAREN_DESKTOP=log:FILE logs instead.
class Desktop
{
public:
    using Placement = ::Placement;

    virtual ~Desktop() = default;

    // The Active Desktop route (".jpg", ".gif"), with the placement of the two value strings.
    // Throws AppError when the desktop cannot be reached at all (no popup is to follow);
    // a refusal after the picture was handed over is returned, to be reported after the popup.
    virtual std::optional<AppError> setActiveDesktopWallpaper(const QString& path, const QString& wallpaperStyle,
                                                              const QString& tileWallpaper) = 0;

    // The other route, first step: "Wallpaper", "WallpaperStyle" and "TileWallpaper" under
    // HKEY_CURRENT_USER "Control Panel\Desktop". A failed write throws after the key is closed.
    virtual void writeDesktopValues(const QString& path, const QString& wallpaperStyle,
                                    const QString& tileWallpaper) = 0;

    // Second step, after the popup: tells the running desktop. Throws AppError when it refused.
    virtual void applyDesktopValues(const QString& path, const QString& wallpaperStyle,
                                    const QString& tileWallpaper) = 0;

    enum class Route
    {
        ActiveDesktop, // setActiveDesktopWallpaper
        DesktopValues  // applyDesktopValues, after writeDesktopValues
    };
    // What telling the desktop came to: reached is false when no desktop could be reached at all
    // (no popup is to follow); error holds a refusal after the picture was handed over.
    struct ChangeResult
    {
        bool reached = true;
        std::optional<AppError> error;
    };
    using ChangeDone = std::function<void(ChangeResult)>;

    // The route's desktop step without blocking the caller: done runs later on context's thread,
    // never after context is destroyed, and never from within this call. This default runs the
    // blocking step at once; a backend that waits on desktop programs does that work elsewhere.
    virtual void changeAsync(Route route, const QString& path, const QString& wallpaperStyle,
                             const QString& tileWallpaper, QObject* context, ChangeDone done);

    // The backend of this platform, chosen anew for each use so a changed environment counts.
    static std::unique_ptr<Desktop> create();

    // "TileWallpaper" "1" tiles whatever the style; "WallpaperStyle" "2" stretches; all else centres.
    static Placement placementFor(const QString& wallpaperStyle, const QString& tileWallpaper);

    // The text the Active Desktop object gets: at most 259 UTF-16 units (its buffer holds 260 with
    // the NUL); a surrogate pair is never split.
    static QString activeDesktopText(const QString& path);

    // "log:FILE" in TAVELVAXLAREN_DESKTOP: the file, else empty.
    static QString logFile();
    // Appends {"route": ..., "path": ..., "style": ..., "tile": ...} as one line; AppError when it cannot.
    static void appendToLog(const QString& file, const QString& route, const QString& path,
                            const QString& wallpaperStyle, const QString& tileWallpaper);

protected:
    // Writes the three values in their order; createKey is false where the key belongs to the system.
    static void writeDesktopValuesToRegistry(bool createKey, const QString& path, const QString& wallpaperStyle,
                                             const QString& tileWallpaper);
};
