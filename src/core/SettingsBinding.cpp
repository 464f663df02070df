#include "SettingsBinding.h"

#include <algorithm>

SettingsBinding::SettingsBinding(std::vector<Row> rows) : m_rows(std::move(rows))
{
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const Row& a, const Row& b) { return a.key < b.key; });
}

void SettingsBinding::applyAll(Settings::Reader& reader) const
{
    for (const Row& row : m_rows)
        if (row.apply)
            row.apply(Settings::readOrDefault(reader, row.key));
}

void SettingsBinding::collectAll(Settings::Writer& writer) const
{
    for (const Row& row : m_rows) {
        if (!row.collect)
            continue;
        if (const QVariant value = row.collect(); value.isValid())
            Settings::write(writer, row.key, value);
    }
}
