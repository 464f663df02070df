#pragma once

#include <QtGlobal>
#include <optional>

// The rotation's interval: a value and a unit. The unit box shows each unit in its singular and
// its plural form, singular first: 0 "Minut", 1 "Minuter", 2 "Timme", 3 "Timmar", 4 "Dag",
// 5 "Dagar"; an item's index is what "Typ" stores.
enum class TimeUnit
{
    Minute,
    Hour,
    Day
};

struct UnitChoice
{
    TimeUnit unit = TimeUnit::Minute;
    bool plural = false;

    static constexpr int Count = 6;
    // nullopt for an index that names no item (none selected, or a stored value out of range).
    static constexpr std::optional<UnitChoice> fromIndex(int index)
    {
        if (index < 0 || index >= Count)
            return std::nullopt;
        return UnitChoice{TimeUnit(index / 2), index % 2 == 1};
    }
    constexpr int index() const { return int(unit) * 2 + (plural ? 1 : 0); }
    constexpr UnitChoice singular() const { return {unit, false}; }
    friend constexpr bool operator==(const UnitChoice&, const UnitChoice&) = default;
};

namespace RotationInterval {

constexpr qint64 MinuteMs = 60'000;
constexpr qint64 HourMs = 3'600'000;
constexpr qint64 DayMs = 86'400'000;
// The longest period one QTimer can hold; longer intervals are reached by arming it again.
constexpr qint64 MaxTimerMs = 2'147'483'647;

constexpr qint64 unitLength(TimeUnit unit)
{
    switch (unit) {
    case TimeUnit::Minute:
        return MinuteMs;
    case TimeUnit::Hour:
        return HourMs;
    case TimeUnit::Day:
        return DayMs;
    }
    return MinuteMs;
}

// value x unit length in 64 bits, so that no value wraps.
constexpr qint64 changeInterval(qint64 value, TimeUnit unit)
{
    return value * unitLength(unit);
}

// The period to arm a QTimer with while remainingMs are left of a longer interval.
int armInterval(qint64 remainingMs);

struct Interval
{
    int value = 0;
    std::optional<UnitChoice> unit;
    friend bool operator==(const Interval&, const Interval&) = default;
};

// The arrow buttons: one step with roll-over through all six items (59 "Minuter" + 1 gives
// 1 "Timme", 1 "Minut" - 1 gives 59 "Dagar"), the number form kept in step with the value. From no
// unit, up starts at "Minut" and down at "Dagar". The unit rule is applied afterwards.
Interval stepUp(Interval interval);
Interval stepDown(Interval interval);

} // namespace RotationInterval
