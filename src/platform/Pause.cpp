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

void Pause::setEnabled(bool on)
{
    enabled = on;
}
