#pragma once

#include "Registry.h"
#include "core/Settings.h"

#include <QColor>
#include <QString>
#include <QVariant>
#include <span>

// The key HKEY_CURRENT_USER "Software\Tavlix\Settings" and its 19 values (names, kinds and
// defaults in core/Settings.cpp). One SettingsStore object is one short use of the key (open with
// creation, work, close), as every caller does:
// { SettingsStore store; store.writeInteger(Setting::Mellan, 30); }
class SettingsStore : public Settings::Reader, public Settings::Writer
{
public:
    using Kind = Settings::Kind;
    using Entry = Settings::Entry;

    static constexpr const char* KeyPath = "Software\\Tavlix\\Settings";

    // The 19 values in the order start-up reads them.
    static std::span<const Entry> table() { return Settings::table(); }
    static const Entry& entry(Setting key) { return Settings::entry(key); }
    static QString name(Setting key) { return Settings::name(key); }
    // The default of an integer or colour value.
    static qint32 defaultInteger(Setting key) { return entry(key).defaultValue.value<qint32>(); }
    static QColor defaultColour(Setting key);

    SettingsStore();

    bool exists(Setting key) override { return m_key.valueExists(name(key)); }
    qint32 readInteger(Setting key) override { return m_key.readInteger(name(key)); } // integers and colours
    bool readBool(Setting key) override { return m_key.readBool(name(key)); }
    QString readString(Setting key) override { return m_key.readString(name(key)); }
    void writeInteger(Setting key, qint32 value) override { m_key.writeInteger(name(key), value); }
    void writeBool(Setting key, bool value) override { m_key.writeBool(name(key), value); }
    void writeString(Setting key, const QString& value) override { m_key.writeString(name(key), value); }
    QStringList valueNames() { return m_key.valueNames(); }

    // The reading rule: the stored value when it exists, else the table's default. A stored value
    // that the program cannot use (an index outside its list, a colour that is neither RGB nor a
    // system colour) also reads as the default, so it cannot drive the program wild.
    qint32 integerOrDefault(Setting key) { return Settings::readOrDefault(*this, key).value<qint32>(); }
    bool boolOrDefault(Setting key) { return Settings::readOrDefault(*this, key).toBool(); }
    QString stringOrDefault(Setting key) { return Settings::readOrDefault(*this, key).toString(); }

private:
    RegistryKey m_key;
};
