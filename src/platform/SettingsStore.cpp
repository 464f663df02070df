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
        {"Typ", Kind::Integer, integer(1)},
        {"Screenstyle", Kind::Integer, integer(2)},
        {"Mellan", Kind::Integer, integer(30)},
        {"Startknapp", Kind::String, QStringLiteral("&Starta")},
        // No default: a missing "Senaste" means no list is loaded at start.
        {"Senaste", Kind::String, QVariant()},
        {"Vald", Kind::Integer, integer(0)},
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

qint32 SettingsStore::integerOrDefault(const QString& name)
{
    return exists(name) ? readInteger(name) : setting(name).defaultValue.value<qint32>();
}

bool SettingsStore::boolOrDefault(const QString& name)
{
    return exists(name) ? readBool(name) : setting(name).defaultValue.toBool();
}

QString SettingsStore::stringOrDefault(const QString& name)
{
    return exists(name) ? readString(name) : setting(name).defaultValue.toString();
}
