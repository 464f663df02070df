#include "RotationInterval.h"

#include <algorithm>

namespace RotationInterval {

int armInterval(qint64 remainingMs)
{
    return int(std::clamp<qint64>(remainingMs, 1, MaxTimerMs));
}

namespace {

// After the value has moved: a value above 1 wants the plural, exactly 1 the singular.
Interval matchNumber(Interval interval)
{
    if (interval.unit && interval.value > 1)
        interval.unit->plural = true;
    else if (interval.unit && interval.value == 1)
        interval.unit->plural = false;
    return interval;
}

// The item `by` places further round the six, from no item as from just outside the ends.
UnitChoice moved(std::optional<UnitChoice> unit, int by)
{
    const int from = unit ? unit->index() : (by > 0 ? -1 : UnitChoice::Count);
    return *UnitChoice::fromIndex((from + by + UnitChoice::Count) % UnitChoice::Count);
}

} // namespace

Interval stepUp(Interval interval)
{
    // 64-bit so that a typed INT_MAX steps past 59 instead of overflowing
    qint64 value = qint64(interval.value) + 1;
    if (value >= 60) {
        value = 1;
        interval.unit = moved(interval.unit, 1);
    }
    interval.value = int(value);
    return matchNumber(interval);
}

Interval stepDown(Interval interval)
{
    qint64 value = qint64(interval.value) - 1;
    if (value <= 0) {
        value = 59;
        interval.unit = moved(interval.unit, -1);
    }
    interval.value = int(value);
    return matchNumber(interval);
}

} // namespace RotationInterval
