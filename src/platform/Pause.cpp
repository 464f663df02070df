#include "Pause.h"

#include <QThread>
#include <atomic>

namespace {
std::atomic<bool> enabled{true};
} // namespace

void Pause::ms(int milliseconds)
{
    if (enabled && milliseconds > 0)
        QThread::msleep(milliseconds);
}

int Pause::interval(int milliseconds)
{
    return enabled ? qMax(0, milliseconds) : 0;
}

void Pause::setEnabled(bool on)
{
    enabled = on;
}
