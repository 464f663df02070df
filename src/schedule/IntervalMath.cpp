#include "IntervalMath.h"

#include <algorithm>

namespace IntervalMath {

std::optional<qint64> unitLength(int unit)
{
    switch (unit) {
    case 0:
    case 1:
        return MinuteMs;
    case 2:
    case 3:
        return HourMs;
    case 4:
    case 5:
        return DayMs;
    default:
        return std::nullopt;
    }
}

std::optional<qint64> changeInterval(qint64 value, int unit)
{
    const auto length = unitLength(unit);
    if (!length)
        return std::nullopt;
    return value * *length;
}

int armInterval(qint64 remainingMs)
{
    return int(std::clamp<qint64>(remainingMs, 1, MaxTimerMs));
}

namespace {

// After the value has moved: a value above 1 wants the plural, exactly 1 the singular.
Interval matchNumber(Interval interval)
{
    if (interval.value > 1 && isSingular(interval.unit))
        ++interval.unit;
    else if (interval.value == 1 && isPlural(interval.unit))
        --interval.unit;
    return interval;
}

} // namespace

Interval stepUp(Interval interval)
{
    // 64-bit so that a typed INT_MAX steps past 59 instead of overflowing
    qint64 value = qint64(interval.value) + 1;
    if (value >= 60) {
        value = 1;
        interval.unit = isValidUnit(interval.unit) ? (interval.unit + 1) % UnitCount : 0;
    }
    interval.value = int(value);
    return matchNumber(interval);
}

Interval stepDown(Interval interval)
{
    qint64 value = qint64(interval.value) - 1;
    if (value <= 0) {
        value = 59;
        interval.unit = isValidUnit(interval.unit) ? (interval.unit + UnitCount - 1) % UnitCount : UnitCount - 1;
    }
    interval.value = int(value);
    return matchNumber(interval);
}

int nextInOrder(int rotationIndex, int count)
{
    const int k = rotationIndex + 1;
    return k >= count ? 0 : k;
}

} // namespace IntervalMath
