#pragma once

#include "Registry.h"

#include <QString>
#include <QVariant>
#include <limits>
#include <span>

// The program's settings: the key HKEY_CURRENT_USER "Software\Tavlix\Settings" and its 19 values.
// One SettingsStore object is one short use of the key (open with creation, work, close), as every
// caller does: { SettingsStore store; store.writeInteger("Mellan", 30); }
class SettingsStore
{
public:
    enum class Kind
    {
        Integer,
        Boolean,
        Colour,
        String
    };
    struct Setting
    {
        const char* name;
        Kind kind;
        QVariant defaultValue; // qint32 for Integer and Colour, bool for Boolean, QString or null for String
        // The values an Integer may take; one outside them reads as the default.
        qint32 minimum = std::numeric_limits<qint32>::min();
        qint32 maximum = std::numeric_limits<qint32>::max();
    };

    static constexpr const char* KeyPath = "Software\\Tavlix\\Settings";

    // The 19 values in the order start-up reads them.
    static std::span<const Setting> table();
    static const Setting& setting(const QString& name);

    SettingsStore();

    bool exists(const QString& name) { return m_key.valueExists(name); }
    qint32 readInteger(const QString& name) { return m_key.readInteger(name); } // integers and colours
    bool readBool(const QString& name) { return m_key.readBool(name); }
    QString readString(const QString& name) { return m_key.readString(name); }
    void writeInteger(const QString& name, qint32 value) { m_key.writeInteger(name, value); }
    void writeBool(const QString& name, bool value) { m_key.writeBool(name, value); }
    void writeString(const QString& name, const QString& value) { m_key.writeString(name, value); }
    QStringList valueNames() { return m_key.valueNames(); }
    bool deleteValue(const QString& name) { return m_key.deleteValue(name); }

    // The reading rule: the stored value when it exists, else the table's default. A stored value
    // that the program cannot use (an index outside its list, a colour that is neither RGB nor a
    // system colour) also reads as the default, so it cannot drive the program wild.
    qint32 integerOrDefault(const QString& name);
    bool boolOrDefault(const QString& name);
    QString stringOrDefault(const QString& name);

private:
    RegistryKey m_key;
};
