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
        {Setting::Typ,             "Typ",             Kind::Integer, integer(1)},
        {Setting::Screenstyle,     "Screenstyle",     Kind::Integer, integer(2)},
        {Setting::Mellan,          "Mellan",          Kind::Integer, integer(30)},
        {Setting::Startknapp,      "Startknapp",      Kind::String,  QStringLiteral("&Starta")},
        // No default: a missing "Senaste" means no list is loaded at start.
        {Setting::Senaste,         "Senaste",         Kind::String,  QVariant()},
        {Setting::Vald,            "Vald",            Kind::Integer, integer(0)},
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

qint32 SettingsStore::integerOrDefault(Setting key)
{
    return exists(key) ? readInteger(key) : defaultInteger(key);
}

bool SettingsStore::boolOrDefault(Setting key)
{
    return exists(key) ? readBool(key) : entry(key).defaultValue.toBool();
}

QString SettingsStore::stringOrDefault(Setting key)
{
    return exists(key) ? readString(key) : entry(key).defaultValue.toString();
}
