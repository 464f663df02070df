#include "Settings.h"

#include <array>

namespace Settings {

namespace {

QVariant integer(qint32 value)
{
    return QVariant::fromValue<qint32>(value);
}

// The two system colours of the defaults, by their index with the high byte 0xFF.
constexpr qint32 Highlight = qint32(0xFF00000Du); // COLOR_HIGHLIGHT
constexpr qint32 HotLight = qint32(0xFF00001Au);  // COLOR_HOTLIGHT
constexpr quint32 LastSystemColour = 30;

const std::array<Entry, 19>& values()
{
    // clang-format off
    static const std::array<Entry, 19> table{{
        {Setting::Ramfarg,         "Ramfarg",         Kind::Colour,  integer(Highlight)},
        {Setting::Markering,       "Markering",       Kind::Colour,  integer(HotLight)},
        {Setting::Minimerad,       "Minimerad",       Kind::Boolean, false},
        {Setting::IkonSynlig,      "IkonSynlig",      Kind::Boolean, true},
        {Setting::Autostart,       "Autostart",       Kind::Boolean, false},
        {Setting::Blanda,          "Blanda",          Kind::Boolean, false},
        {Setting::VisaTips,        "VisaTips",        Kind::Boolean, true},
        {Setting::Left,            "Left",            Kind::Integer, integer(100)},
        {Setting::BgFarge,         "BgFarge",         Kind::Colour,  integer(0x00F0CAA6)},
        {Setting::BgFargeBotten,   "BgFargeBotten",   Kind::Colour,  integer(0x00800000)},
        {Setting::TextFarge,       "TextFarge",       Kind::Colour,  integer(0x00000000)},
        {Setting::TextFargeBotten, "TextFargeBotten", Kind::Colour,  integer(0x0000FFFF)},
        {Setting::Top,             "Top",             Kind::Integer, integer(100)},
        {Setting::Typ,             "Typ",             Kind::Integer, integer(1), 0, 5},  // the six units
        {Setting::Screenstyle,     "Screenstyle",     Kind::Integer, integer(2), 0, 2},  // the three placements
        {Setting::Mellan,          "Mellan",          Kind::Integer, integer(30), 1},    // at least one unit between changes
        {Setting::Startknapp,      "Startknapp",      Kind::String,  QStringLiteral("&Starta")},
        // No default: a missing "Senaste" means no list is loaded at start.
        {Setting::Senaste,         "Senaste",         Kind::String,  QVariant()},
        {Setting::Vald,            "Vald",            Kind::Integer, integer(0), 0},
    }};
    // clang-format on
    return table;
}

} // namespace

std::span<const Entry> table()
{
    return values();
}

const Entry& entry(Setting key)
{
    // The table is in the enum's order.
    return values()[size_t(key)];
}

bool usable(const Entry& entry, qint32 value)
{
    if (entry.kind == Kind::Colour) {
        const quint32 bits = quint32(value);
        return (bits >> 24) == 0 ||
               ((bits >> 24) == 0xFF && (bits & 0x00FFFF00u) == 0 && (bits & 0xFF) <= LastSystemColour);
    }
    return value >= entry.minimum && value <= entry.maximum;
}

QVariant readOrDefault(Reader& reader, Setting key)
{
    const Entry& e = entry(key);
    if (!reader.exists(key))
        return e.defaultValue;
    switch (e.kind) {
    case Kind::Boolean:
        return reader.readBool(key);
    case Kind::String:
        return reader.readString(key);
    case Kind::Integer:
    case Kind::Colour:
        break;
    }
    const qint32 value = reader.readInteger(key);
    return usable(e, value) ? QVariant::fromValue<qint32>(value) : e.defaultValue;
}

void write(Writer& writer, Setting key, const QVariant& value)
{
    switch (entry(key).kind) {
    case Kind::Boolean:
        writer.writeBool(key, value.toBool());
        break;
    case Kind::String:
        writer.writeString(key, value.toString());
        break;
    case Kind::Integer:
    case Kind::Colour:
        writer.writeInteger(key, value.value<qint32>());
        break;
    }
}

} // namespace Settings
