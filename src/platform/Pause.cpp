#include "Pause.h"

#include <QtGlobal>
#include <atomic>

namespace {
std::atomic<bool> enabled{true};
} // namespace

int Pause::interval(int milliseconds)
{
    return enabled ? qMax(0, milliseconds) : 0;
}

void Pause::setEnabled(bool on)
{
    enabled = on;
}
