#pragma once

#include <QtGlobal>
#include <optional>

// The interval arithmetic of the rotation. Units are the item indices of the unit box:
// 0 "Minut", 1 "Minuter", 2 "Timme", 3 "Timmar", 4 "Dag", 5 "Dagar"; each singular directly
// precedes its plural. Products are 64-bit so that no value wraps.
namespace IntervalMath {

constexpr int UnitCount = 6;
constexpr qint64 MinuteMs = 60'000;
constexpr qint64 HourMs = 3'600'000;
constexpr qint64 DayMs = 86'400'000;
// The longest period one QTimer can hold; longer change intervals are reached by re-arming.
constexpr qint64 MaxTimerMs = 2'147'483'647;

constexpr bool isValidUnit(int unit)
{
    return unit >= 0 && unit < UnitCount;
}
constexpr bool isSingular(int unit)
{
    return isValidUnit(unit) && unit % 2 == 0;
}
constexpr bool isPlural(int unit)
{
    return isValidUnit(unit) && unit % 2 == 1;
}

// One unit's length in milliseconds; nullopt when no valid unit is selected.
std::optional<qint64> unitLength(int unit);
// value x unit length; nullopt for an invalid unit.
std::optional<qint64> changeInterval(qint64 value, int unit);

// The period to arm a QTimer with while remainingMs are left of a longer interval.
int armInterval(qint64 remainingMs);

struct Interval
{
    int value = 0;
    int unit = 0;
    friend bool operator==(const Interval&, const Interval&) = default;
};

// The arrow buttons: one step with roll-over through all six units (59 "Minuter" + 1 gives
// 1 "Timme", 1 "Minut" - 1 gives 59 "Dagar"), and the singular/plural form kept in step with
// the value. The unit rule (a singular unit forces the value 1) is applied afterwards by the caller.
Interval stepUp(Interval interval);
Interval stepDown(Interval interval);

// The in-order successor of a list position: one further, wrapping to 0 at the end.
int nextInOrder(int rotationIndex, int count);

} // namespace IntervalMath
