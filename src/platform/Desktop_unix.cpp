#include "Desktop.h"

#include "DesktopAdapters.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace {

// Monitor names as XFCE spells them in its properties (the RandR output names).
QStringList monitorNames()
{
    QStringList names;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        for (const QScreen* screen : QGuiApplication::screens())
            names << screen->name();
    }
    return names;
}

class UnixDesktop : public Desktop
{
public:
    std::optional<AppError> setActiveDesktopWallpaper(const QString& path, const QString& wallpaperStyle,
                                                      const QString& tileWallpaper) override
    {
        try {
            change(QStringLiteral("active-desktop"), path, wallpaperStyle, tileWallpaper);
        } catch (const AppError& refusal) {
            return refusal;
        }
        return std::nullopt;
    }

    // There is no system key here: the values live in the settings store, which has to create it.
    void writeDesktopValues(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper) override
    {
        writeDesktopValuesToRegistry(true, path, wallpaperStyle, tileWallpaper);
    }

    void applyDesktopValues(const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper) override
    {
        change(QStringLiteral("desktop-values"), path, wallpaperStyle, tileWallpaper);
    }

private:
    static void change(const QString& route, const QString& path, const QString& wallpaperStyle,
                       const QString& tileWallpaper)
    {
        const QString log = logFile();
        if (!log.isEmpty()) {
            appendToLog(log, route, path, wallpaperStyle, tileWallpaper);
            return;
        }
        const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const QString chosen = env.value(QStringLiteral("TAVELVAXLAREN_DESKTOP")).trimmed();
        const auto adapter =
            DesktopAdapters::adapterFor(chosen.isEmpty() ? DesktopAdapters::detect(env) : chosen, monitorNames());
        if (!adapter)
            throw chosen.isEmpty() ? DesktopAdapters::noDesktopFound(env) : DesktopAdapters::unknownDesktop(chosen);
        // A folder or a missing file would leave a desktop with a broken background, and feh would
        // even pick other pictures out of a folder.
        const QString absolute = DesktopAdapters::absolutePath(path);
        if (!QFileInfo(absolute).isFile())
            throw AppError(QStringLiteral("Bakgrunden kunde inte bytas på skrivbordet %1: bilden \"%2\" finns inte "
                                          "eller är ingen fil.")
                               .arg(adapter->name(), path));
        DesktopAdapters::ProcessRunner runner;
        adapter->apply(absolute, placementFor(wallpaperStyle, tileWallpaper), runner);
    }
};

} // namespace

std::unique_ptr<Desktop> Desktop::create()
{
    return std::make_unique<UnixDesktop>();
}
