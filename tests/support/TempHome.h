#pragma once

#include "platform/SettingsStore.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <optional>
#include <utility>

// A home of its own for one test: the XDG config, data and cache folders in a new temporary
// folder, so the settings store starts empty, and a desktop that only logs to wallpaper.log
// there. The environment of before comes back when the object goes.
class TempHome
{
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    // A path in the home; the home itself for an empty name.
    QString path(const QString& name = {}) const;
    // The settings store's file (it exists once a value is written).
    QString storeFile() const { return path(QStringLiteral("config/Tavlix/registry.sqlite3")); }
    // The desktop log's lines, one per background change.
    QStringList wallpaperLog() const;

    // Writes one setting as its kind says (a number for integers and colours).
    static void store(Setting key, const QVariant& value);
    // One setting as stored, by its kind; null when it is not stored.
    static QVariant stored(Setting key);

private:
    QTemporaryDir m_dir;
    QList<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};
