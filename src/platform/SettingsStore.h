#pragma once

#include "Registry.h"

#include <QColor>
#include <QString>
#include <QVariant>
#include <limits>
#include <span>

// The program's settings values, in the order start-up reads them. Their stored names, kinds
// and defaults are in one table (SettingsStore.cpp); code reaches a value only by its key.
enum class Setting
{
    Ramfarg,         // frame colour of the thumbnail cards
    Markering,       // colour of the marked card
    Minimerad,       // start minimised
    IkonSynlig,      // tray icon shown
    Autostart,       // start with the system
    Blanda,          // shuffle
    VisaTips,        // tips shown
    Left,            // window position
    BgFarge,         // window colour
    BgFargeBotten,   // bottom field colour
    TextFarge,       // window text colour
    TextFargeBotten, // bottom field text colour
    Top,             // window position
    Typ,             // interval unit (index)
    Screenstyle,     // placement (index)
    Mellan,          // interval value
    Startknapp,      // the start/stop button's caption, as stored
    Senaste,         // last list file
    Vald,            // marked picture (index)
};

// The key HKEY_CURRENT_USER "Software\Tavlix\Settings" and its 19 values. One SettingsStore object
// is one short use of the key (open with creation, work, close), as every caller does:
// { SettingsStore store; store.writeInteger(Setting::Mellan, 30); }
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
    struct Entry
    {
        Setting key;
        const char* name; // the stored value name
        Kind kind;
        QVariant defaultValue; // qint32 for Integer and Colour, bool for Boolean, QString or null for String
        // The values an Integer may take; one outside them reads as the default.
        qint32 minimum = std::numeric_limits<qint32>::min();
        qint32 maximum = std::numeric_limits<qint32>::max();
    };

    static constexpr const char* KeyPath = "Software\\Tavlix\\Settings";

    // The 19 values in the order start-up reads them.
    static std::span<const Entry> table();
    static const Entry& entry(Setting key);
    static QString name(Setting key) { return QString::fromLatin1(entry(key).name); }
    // The default of an integer or colour value.
    static qint32 defaultInteger(Setting key) { return entry(key).defaultValue.value<qint32>(); }
    static QColor defaultColour(Setting key);

    SettingsStore();

    bool exists(Setting key) { return m_key.valueExists(name(key)); }
    qint32 readInteger(Setting key) { return m_key.readInteger(name(key)); } // integers and colours
    bool readBool(Setting key) { return m_key.readBool(name(key)); }
    QString readString(Setting key) { return m_key.readString(name(key)); }
    void writeInteger(Setting key, qint32 value) { m_key.writeInteger(name(key), value); }
    void writeBool(Setting key, bool value) { m_key.writeBool(name(key), value); }
    void writeString(Setting key, const QString& value) { m_key.writeString(name(key), value); }
    QStringList valueNames() { return m_key.valueNames(); }

    // The reading rule: the stored value when it exists, else the table's default. A stored value
    // that the program cannot use (an index outside its list, a colour that is neither RGB nor a
    // system colour) also reads as the default, so it cannot drive the program wild.
    qint32 integerOrDefault(Setting key);
    bool boolOrDefault(Setting key);
    QString stringOrDefault(Setting key);

private:
    RegistryKey m_key;
};
