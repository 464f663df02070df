#pragma once

#include <QString>
#include <QVariant>
#include <limits>
#include <span>

// The program's settings values, in the order start-up reads them. Their stored names, kinds
// and defaults are in one table (Settings.cpp); code reaches a value only by its key.
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

namespace Settings {

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

// The 19 values in the order start-up reads them.
std::span<const Entry> table();
const Entry& entry(Setting key);
inline QString name(Setting key)
{
    return QString::fromLatin1(entry(key).name);
}

// Whether the program can use a stored integer or colour: an index inside its list, a colour
// that is RGB or names a system colour.
bool usable(const Entry& entry, qint32 value);

// The store as the settings binding sees it. Reads of a value with the wrong kind throw.
class Reader
{
public:
    virtual bool exists(Setting key) = 0;
    virtual qint32 readInteger(Setting key) = 0; // integers and colours
    virtual bool readBool(Setting key) = 0;
    virtual QString readString(Setting key) = 0;

protected:
    // Never owned through the interface: the store's own end may throw (a failed close).
    ~Reader() = default;
};

class Writer
{
public:
    virtual void writeInteger(Setting key, qint32 value) = 0;
    virtual void writeBool(Setting key, bool value) = 0;
    virtual void writeString(Setting key, const QString& value) = 0;

protected:
    ~Writer() = default;
};

// The reading rule: the stored value when it exists and can be used, else the table's default.
// qint32 for integers and colours, bool, QString (null for a missing "Senaste").
QVariant readOrDefault(Reader& reader, Setting key);
// Writes value by the key's kind.
void write(Writer& writer, Setting key, const QVariant& value);

} // namespace Settings
