#pragma once

#include "Win32Error.h"

#include <cstdint>
#include <string>

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

// The shell's Active Desktop object: SetWallpaper, then ApplyChanges (save, HTML, refresh, force).
// ApplyChanges runs even when SetWallpaper refused; the first failure is the one reported.
struct ActiveDesktopResult
{
    enum class Step
    {
        Done,
        Create,       // the object or its interface could not be had
        SetWallpaper, // the object refused the path
        ApplyChanges  // the object refused to apply
    };
    Step step = Step::Done;
    std::int32_t result = 0; // HRESULT
};
// path holds at most 259 UTF-16 units (the object's buffer is 260 with the NUL).
ActiveDesktopResult setActiveDesktopWallpaper(const std::u16string& path);

// The user's report of a failed Active Desktop call (UTF-8, Swedish); empty for Step::Done.
std::string activeDesktopReport(const ActiveDesktopResult& result);

// The value valueName under HKEY_LOCAL_MACHINE "Software\Microsoft\Windows\CurrentVersion\Run".
// The machine-wide key is never created: without write access it does not open.
long setRunValue(const std::string& valueName, const std::string& command);
long removeRunValue(const std::string& valueName);
long runValueExists(const std::string& valueName);
// Why a removal that returned rc left the value in place (UTF-8, Swedish); empty when the value is
// gone: removed, or never there (no value, no key).
std::string runValueRemovalFailure(long rc);

} // namespace Win32
