#include "SettingsStore.h"

#include "ColourValue.h"

#include <array>

namespace {

using Kind = SettingsStore::Kind;

QVariant integer(qint32 value)
{
    return QVariant::fromValue<qint32>(value);
}

const std::array<SettingsStore::Setting, 19>& values()
{
    static const std::array<SettingsStore::Setting, 19> table{{
        {"Ramfarg", Kind::Colour, integer(ColourValue::Highlight)},
        {"Markering", Kind::Colour, integer(ColourValue::HotLight)},
        {"Minimerad", Kind::Boolean, false},
        {"IkonSynlig", Kind::Boolean, true},
        {"Autostart", Kind::Boolean, false},
        {"Blanda", Kind::Boolean, false},
        {"VisaTips", Kind::Boolean, true},
        {"Left", Kind::Integer, integer(100)},
        {"BgFarge", Kind::Colour, integer(0x00F0CAA6)},
        {"BgFargeBotten", Kind::Colour, integer(0x00800000)},
        {"TextFarge", Kind::Colour, integer(0x00000000)},
        {"TextFargeBotten", Kind::Colour, integer(0x0000FFFF)},
        {"Top", Kind::Integer, integer(100)},
        {"Typ", Kind::Integer, integer(1), 0, 5},         // the six units
        {"Screenstyle", Kind::Integer, integer(2), 0, 2}, // the three placements
        {"Mellan", Kind::Integer, integer(30), 1},        // at least one unit between changes
        {"Startknapp", Kind::String, QStringLiteral("&Starta")},
        // No default: a missing "Senaste" means no list is loaded at start.
        {"Senaste", Kind::String, QVariant()},
        {"Vald", Kind::Integer, integer(0), 0},
    }};
    return table;
}

} // namespace

std::span<const SettingsStore::Setting> SettingsStore::table()
{
    return values();
}

const SettingsStore::Setting& SettingsStore::setting(const QString& name)
{
    for (const Setting& entry : values()) {
        if (name.compare(QLatin1StringView(entry.name), Qt::CaseInsensitive) == 0)
            return entry;
    }
    throw AppError(QStringLiteral("Okänd inställning '%1'").arg(name));
}

SettingsStore::SettingsStore() : m_key(Registry::Root::CurrentUser, QString::fromLatin1(KeyPath), true) {}

namespace {

bool usable(const SettingsStore::Setting& entry, qint32 value)
{
    if (entry.kind == Kind::Colour) {
        // Plain RGB, or one of the system colours by its index.
        const quint32 bits = quint32(value);
        return (bits >> 24) == 0 || ((bits >> 24) == 0xFF && (bits & 0x00FFFF00u) == 0 && (bits & 0xFF) <= 30);
    }
    return value >= entry.minimum && value <= entry.maximum;
}

} // namespace

qint32 SettingsStore::integerOrDefault(const QString& name)
{
    const Setting& entry = setting(name);
    if (exists(name)) {
        const qint32 value = readInteger(name);
        if (usable(entry, value))
            return value;
    }
    return entry.defaultValue.value<qint32>();
}

bool SettingsStore::boolOrDefault(const QString& name)
{
    return exists(name) ? readBool(name) : setting(name).defaultValue.toBool();
}

QString SettingsStore::stringOrDefault(const QString& name)
{
    return exists(name) ? readString(name) : setting(name).defaultValue.toString();
}
