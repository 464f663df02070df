#include "Desktop.h"

#include "Registry.h"
#include "win32/Win32CodePage.h"
#include "win32/Win32Desktop.h"

// Routing and texts only: every Windows call is in win32/Win32Desktop.cpp.
namespace {

// The path as the ANSI calls get it. A list entry that is no text of the code page arrives here
// already decoded with substitutes; such a path names no file either way.
std::string ansi(const QString& text)
{
    return Win32::fromUtf16(text.toStdU16String());
}

// The placement the desktop values would give, so both routes place a picture alike.
Win32::WallpaperStyle activeDesktopStyle(const QString& wallpaperStyle, const QString& tileWallpaper)
{
    switch (Desktop::placementFor(wallpaperStyle, tileWallpaper)) {
    case Desktop::Placement::Tiled:
        return Win32::WallpaperStyle::Tile;
    case Desktop::Placement::Stretched:
        return Win32::WallpaperStyle::Stretch;
    case Desktop::Placement::Centred:
        break;
    }
    return Win32::WallpaperStyle::Centre;
}

AppError activeDesktopError(const Win32::ActiveDesktopResult& result)
{
    return AppError(QString::fromStdString(Win32::activeDesktopReport(result)));
}

class WindowsDesktop : public Desktop
{
public:
    std::optional<AppError> setActiveDesktopWallpaper(const QString& path, const QString& wallpaperStyle,
                                                      const QString& tileWallpaper) override
    {
        const QString log = logFile();
        if (!log.isEmpty()) {
            appendToLog(log, QStringLiteral("active-desktop"), path, wallpaperStyle, tileWallpaper);
            return std::nullopt;
        }
        const Win32::ActiveDesktopResult result = Win32::setActiveDesktopWallpaper(
            activeDesktopText(path).toStdU16String(), activeDesktopStyle(wallpaperStyle, tileWallpaper));
        if (result.step == Win32::ActiveDesktopResult::Step::Create)
            throw activeDesktopError(result);
        if (result.step != Win32::ActiveDesktopResult::Step::Done)
            return activeDesktopError(result);
        return std::nullopt;
    }

    // The key belongs to Windows: it is opened, never created, and a key that does not open is
    // passed over (the system call still follows).
    void writeDesktopValues(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper) override
    {
        std::string failedValue;
        if (Win32::writeDesktopValues(ansi(path), ansi(wallpaperStyle), ansi(tileWallpaper), failedValue) !=
                Win32::ErrorSuccess &&
            !failedValue.empty())
            throw Registry::setDataFailed(QString::fromStdString(failedValue));
    }

    void applyDesktopValues(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper) override
    {
        const QString log = logFile();
        if (!log.isEmpty()) {
            appendToLog(log, QStringLiteral("desktop-values"), path, wallpaperStyle, tileWallpaper);
            return;
        }
        if (const unsigned long error = Win32::setDeskWallpaper(ansi(path)))
            throw AppError(QStringLiteral("Bakgrunden kunde inte bytas på skrivbordet Windows: "
                                          "SystemParametersInfo svarade med felet %1.")
                               .arg(error));
    }
};

} // namespace

std::unique_ptr<Desktop> Desktop::create()
{
    return std::make_unique<WindowsDesktop>();
}
