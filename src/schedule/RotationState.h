#pragma once

#include <QtGlobal>

// The rotation's state, shared by the scheduler (which owns it) and the countdown.
struct RotationState
{
    bool running = false;
    // List position from which the next in-order change counts.
    qint32 rotationIndex = 0;
    // Unit ticks left until the next change: reloaded by the scheduler, counted down by the countdown.
    qint32 unitsLeft = 0;
};
