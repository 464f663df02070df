#pragma once

#include "Win32Error.h"

#include <cstdint>
#include <string>
#include <vector>

// The desktop and autostart calls of Windows, Qt-free. Paths and strings are ANSI bytes except
// where the call takes UTF-16. Results are Windows error codes (0 on success) or HRESULTs.
namespace Win32 {

// The current user's "Control Panel\Desktop" key, opened without creating it (it belongs to
// Windows). Writes "Wallpaper", "WallpaperStyle", "TileWallpaper" as REG_SZ in this order and
// stops at the first failure, whose value name goes to failedValue. A key that does not open
// returns its error with failedValue empty: then nothing was written.
long writeDesktopValues(const std::string& path, const std::string& wallpaperStyle, const std::string& tileWallpaper,
                        std::string& failedValue);

// SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, path, SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE):
// 0, or GetLastError() when it refused.
unsigned long setDeskWallpaper(const std::string& path);

// How the Active Desktop object places the picture (its WPSTYLE_ numbers).
enum class WallpaperStyle
{
    Centre = 0,
    Tile = 1,
    Stretch = 2
};

// The shell's Active Desktop object: SetWallpaper, SetWallpaperOptions, then ApplyChanges (save,
// HTML, refresh, force). Every call is made even when an earlier one refused; the first failure is
// the one reported.
struct ActiveDesktopResult
{
    enum class Step
    {
        Done,
        Create,              // the object or its interface could not be had
        SetWallpaper,        // the object refused the path
        SetWallpaperOptions, // the object refused the placement
        ApplyChanges         // the object refused to apply
    };
    Step step = Step::Done;
    std::int32_t result = 0; // HRESULT
    // What each call answered, in the order made; empty when the object could not be had.
    std::vector<std::int32_t> answers;
};
// path holds at most 259 UTF-16 units (the object's buffer is 260 with the NUL).
ActiveDesktopResult setActiveDesktopWallpaper(const std::u16string& path, WallpaperStyle style);

// The user's report of a failed Active Desktop call (UTF-8, Swedish); empty for Step::Done.
std::string activeDesktopReport(const ActiveDesktopResult& result);

// The value valueName under HKEY_LOCAL_MACHINE "Software\Microsoft\Windows\CurrentVersion\Run".
// The machine-wide key is never created: without write access it does not open.
long setRunValue(const std::string& valueName, const std::string& command);
long runValueExists(const std::string& valueName);

// What removing the Run value came to: result is the open's error when the key did not open,
// else the removal's.
struct RunValueRemoval
{
    bool keyOpened = false;
    long result = ErrorSuccess;
};
RunValueRemoval removeRunValue(const std::string& valueName);
// Why the value is still there (UTF-8, Swedish), only when the key opened and the value was there
// but would not go. Empty otherwise: removed, never there, or a key that does not open (a user
// without administrator rights, who could not have written the value either).
std::string runValueRemovalFailure(const RunValueRemoval& removal);

} // namespace Win32
