#include "TempHome.h"

#include <QDir>
#include <QFile>

TempHome::TempHome()
{
    if (!m_dir.isValid())
        qFatal("cannot make a temporary home");
    const std::pair<const char*, QString> values[] = {
        {"XDG_CONFIG_HOME", path(QStringLiteral("config"))},
        {"XDG_DATA_HOME", path(QStringLiteral("data"))},
        {"XDG_CACHE_HOME", path(QStringLiteral("cache"))},
        {"TAVELVAXLAREN_DESKTOP", QStringLiteral("log:") + path(QStringLiteral("wallpaper.log"))},
    };
    for (const auto& [name, value] : values) {
        m_saved.append({name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt});
        if (!value.startsWith(QLatin1String("log:")))
            QDir().mkpath(value);
        qputenv(name, QFile::encodeName(value));
    }
}

TempHome::~TempHome()
{
    for (const auto& [name, value] : m_saved) {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
}

QString TempHome::path(const QString& name) const
{
    return name.isEmpty() ? m_dir.path() : m_dir.filePath(name);
}

QStringList TempHome::wallpaperLog() const
{
    QFile file(path(QStringLiteral("wallpaper.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void TempHome::store(Setting key, const QVariant& value)
{
    SettingsStore store;
    switch (SettingsStore::entry(key).kind) {
    case SettingsStore::Kind::Boolean:
        store.writeBool(key, value.toBool());
        break;
    case SettingsStore::Kind::String:
        store.writeString(key, value.toString());
        break;
    default:
        store.writeInteger(key, value.toInt());
    }
}

QVariant TempHome::stored(Setting key)
{
    SettingsStore store;
    if (!store.exists(key))
        return {};
    switch (SettingsStore::entry(key).kind) {
    case SettingsStore::Kind::Boolean:
        return store.readBool(key);
    case SettingsStore::Kind::String:
        return store.readString(key);
    default:
        return store.readInteger(key);
    }
}
