#pragma once

#include "Settings.h"

#include <functional>
#include <vector>

// Which setting goes to which part of the program and back: one row per value, kept in the
// store's order, so reading at creation and writing at close are one loop each over one list.
class SettingsBinding
{
public:
    struct Row
    {
        Setting key;
        // Takes the value read at creation; empty: the value is not read there.
        std::function<void(const QVariant&)> apply;
        // Gives the value written at close; empty: the value is not written then. An invalid value
        // is not written either: what shows it does not hold the stored value yet.
        std::function<QVariant()> collect;
    };

    explicit SettingsBinding(std::vector<Row> rows);

    // Every row with an apply, in the store's order, by the reading rule. A read that fails
    // (a value of the wrong kind) throws and leaves the rows after it as they were.
    void applyAll(Settings::Reader& reader) const;
    // Every row with a collect, in the store's order. A failed write throws: the rest is not written.
    void collectAll(Settings::Writer& writer) const;

private:
    std::vector<Row> m_rows;
};
