#include "SettingsStore.h"

#include "ColourValue.h"

#include <array>

namespace {

using Kind = SettingsStore::Kind;

QVariant integer(qint32 value)
{
    return QVariant::fromValue<qint32>(value);
}

const std::array<SettingsStore::Entry, 19>& values()
{
    // clang-format off
    static const std::array<SettingsStore::Entry, 19> table{{
        {Setting::Ramfarg,         "Ramfarg",         Kind::Colour,  integer(ColourValue::Highlight)},
        {Setting::Markering,       "Markering",       Kind::Colour,  integer(ColourValue::HotLight)},
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

std::span<const SettingsStore::Entry> SettingsStore::table()
{
    return values();
}

const SettingsStore::Entry& SettingsStore::entry(Setting key)
{
    // The table is in the enum's order.
    return values()[size_t(key)];
}

QColor SettingsStore::defaultColour(Setting key)
{
    return ColourValue::toColour(defaultInteger(key));
}

SettingsStore::SettingsStore() : m_key(Registry::Root::CurrentUser, QString::fromLatin1(KeyPath), true) {}

namespace {

bool usable(const SettingsStore::Entry& entry, qint32 value)
{
    if (entry.kind == Kind::Colour) {
        // Plain RGB, or one of the system colours by its index.
        const quint32 bits = quint32(value);
        return (bits >> 24) == 0 || ((bits >> 24) == 0xFF && (bits & 0x00FFFF00u) == 0 && (bits & 0xFF) <= 30);
    }
    return value >= entry.minimum && value <= entry.maximum;
}

} // namespace

qint32 SettingsStore::integerOrDefault(Setting key)
{
    if (exists(key)) {
        const qint32 value = readInteger(key);
        if (usable(entry(key), value))
            return value;
    }
    return defaultInteger(key);
}

bool SettingsStore::boolOrDefault(Setting key)
{
    return exists(key) ? readBool(key) : entry(key).defaultValue.toBool();
}

QString SettingsStore::stringOrDefault(Setting key)
{
    return exists(key) ? readString(key) : entry(key).defaultValue.toString();
}
