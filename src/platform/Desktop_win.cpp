#include "Desktop.h"

#include <QFile>
#include <string>

// Kept in this order, each in a block of its own: windows.h first, and IActiveDesktop is
// declared only when wininet.h comes before shlobj.h.
#include <windows.h>

#include <objbase.h>

#include <wininet.h>

#include <shlobj.h>

namespace {

// The shell's Active Desktop object and its interface, by their published identifiers.
constexpr GUID kClsidActiveDesktop = {0x75048700, 0xEF1F, 0x11D0, {0x98, 0x88, 0x00, 0x60, 0x97, 0xDE, 0xAC, 0xF9}};
constexpr GUID kIidActiveDesktop = {0xF490EB00, 0x1240, 0x11D1, {0x98, 0x88, 0x00, 0x60, 0x97, 0xDE, 0xAC, 0xF9}};

// AD_APPLY_SAVE | AD_APPLY_HTMLGEN | AD_APPLY_REFRESH | AD_APPLY_FORCE
constexpr DWORD kApplyAll = 1 | 2 | 4 | 8;

// COM is initialised for the user-interface thread at start-up; this only makes sure of it,
// and undoes exactly what it did.
class ComScope
{
public:
    ComScope() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT m_result;
};

QString hresultText(HRESULT result)
{
    return QStringLiteral("0x%1").arg(static_cast<quint32>(result), 8, 16, QLatin1Char('0'));
}

DWORD wallpaperOptionStyle(Desktop::Placement placement)
{
    switch (placement) {
    case Desktop::Placement::Tiled:
        return WPSTYLE_TILE;
    case Desktop::Placement::Stretched:
        return WPSTYLE_STRETCH;
    case Desktop::Placement::Centred:
        break;
    }
    return WPSTYLE_CENTER;
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

        ComScope com;
        IActiveDesktop* desktop = nullptr;
        const HRESULT created = CoCreateInstance(kClsidActiveDesktop, nullptr, CLSCTX_INPROC_SERVER, kIidActiveDesktop,
                                                 reinterpret_cast<void**>(&desktop));
        if (FAILED(created) || !desktop)
            throw AppError(
                QStringLiteral("Skrivbordets Active Desktop-objekt kunde inte skapas (%1).").arg(hresultText(created)));

        // The object's buffer holds 259 characters and a NUL; a longer path is cut.
        const std::wstring text = activeDesktopText(path).toStdWString();
        WALLPAPEROPT options = {};
        options.dwSize = sizeof(options);
        options.dwStyle = wallpaperOptionStyle(placementFor(wallpaperStyle, tileWallpaper));

        HRESULT result = desktop->SetWallpaper(text.c_str(), 0);
        if (SUCCEEDED(result))
            result = desktop->SetWallpaperOptions(&options, 0);
        if (SUCCEEDED(result))
            result = desktop->ApplyChanges(kApplyAll);
        desktop->Release();
        if (FAILED(result))
            return AppError(QStringLiteral("Bakgrunden kunde inte bytas på skrivbordet Windows: Active Desktop "
                                           "svarade med felet %1.")
                                .arg(hresultText(result)));
        return std::nullopt;
    }

    // The key belongs to Windows: it is opened, never created.
    void writeDesktopValues(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper) override
    {
        writeDesktopValuesToRegistry(false, path, wallpaperStyle, tileWallpaper);
    }

    void applyDesktopValues(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper) override
    {
        const QString log = logFile();
        if (!log.isEmpty()) {
            appendToLog(log, QStringLiteral("desktop-values"), path, wallpaperStyle, tileWallpaper);
            return;
        }
        QByteArray ansi = QFile::encodeName(path);
        if (!SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, ansi.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE))
            throw AppError(QStringLiteral("Bakgrunden kunde inte bytas på skrivbordet Windows: "
                                          "SystemParametersInfo svarade med felet %1.")
                               .arg(GetLastError()));
    }
};

} // namespace

std::unique_ptr<Desktop> Desktop::create()
{
    return std::make_unique<WindowsDesktop>();
}
