#include "Desktop.h"

#include "DesktopAdapters.h"
#include "Registry.h"

#include <QFile>
#include <QMetaObject>
#include <QObject>
#include <QProcessEnvironment>

void Desktop::changeAsync(Route route, const QString& path, const QString& wallpaperStyle, const QString& tileWallpaper,
                          QObject* context, ChangeDone done)
{
    ChangeResult result;
    try {
        if (route == Route::ActiveDesktop)
            result.error = setActiveDesktopWallpaper(path, wallpaperStyle, tileWallpaper);
        else
            applyDesktopValues(path, wallpaperStyle, tileWallpaper);
    } catch (const AppError& failure) {
        // The Active Desktop route throws only when the desktop cannot be reached at all.
        result.reached = route != Route::ActiveDesktop;
        result.error = failure;
    }
    QMetaObject::invokeMethod(
        context, [done = std::move(done), result] { done(result); }, Qt::QueuedConnection);
}

Desktop::Placement Desktop::placementFor(const QString& wallpaperStyle, const QString& tileWallpaper)
{
    return Placements::fromValues(wallpaperStyle, tileWallpaper);
}

QString Desktop::activeDesktopText(const QString& path)
{
    constexpr int maxUnits = 259;
    if (path.size() <= maxUnits)
        return path;
    int length = maxUnits;
    if (path.at(length - 1).isHighSurrogate())
        --length;
    return path.left(length);
}

QString Desktop::logFile()
{
    const QString chosen = QProcessEnvironment::systemEnvironment().value(QStringLiteral("TAVELVAXLAREN_DESKTOP"));
    if (!chosen.startsWith(QLatin1String("log:")))
        return {};
    return chosen.mid(4);
}

void Desktop::appendToLog(const QString& file, const QString& route, const QString& path, const QString& wallpaperStyle,
                          const QString& tileWallpaper)
{
    using DesktopAdapters::jsonString;
    const QString line =
        QStringLiteral("{\"route\": %1, \"path\": %2, \"style\": %3, \"tile\": %4}\n")
            .arg(jsonString(route), jsonString(path), jsonString(wallpaperStyle), jsonString(tileWallpaper));
    QFile log(file);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        throw AppError::fileOpen(file, log.errorString());
    const QByteArray bytes = line.toUtf8();
    if (log.write(bytes) != bytes.size() || !log.flush())
        throw AppError::fileOpen(file, log.errorString());
}

void Desktop::writeDesktopValuesToRegistry(bool createKey, const QString& path, const QString& wallpaperStyle,
                                           const QString& tileWallpaper)
{
    RegistryKey key(Registry::Root::CurrentUser, QStringLiteral("Control Panel\\Desktop"), createKey);
    if (!key.isOpen())
        return;
    key.writeString(QStringLiteral("Wallpaper"), path);
    key.writeString(QStringLiteral("WallpaperStyle"), wallpaperStyle);
    key.writeString(QStringLiteral("TileWallpaper"), tileWallpaper);
}
