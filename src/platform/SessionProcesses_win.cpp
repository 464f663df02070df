#include "SessionProcesses.h"

#include <utility>

// Windows has no background programs of the desktop to replace.
namespace SessionProcesses {

Handle::Handle(Handle&& other) noexcept : m_fd(other.m_fd), m_pid(other.m_pid)
{
    other.m_fd = -1;
}

Handle& Handle::operator=(Handle&& other) noexcept
{
    std::swap(m_fd, other.m_fd);
    std::swap(m_pid, other.m_pid);
    return *this;
}

Handle::~Handle() = default;

bool Handle::terminate() const
{
    return false;
}

bool Handle::kill() const
{
    return false;
}

bool Handle::waitForEnd(int) const
{
    return true;
}

Handle ofChild(qint64)
{
    return {};
}

std::vector<Handle> find(const QString&)
{
    return {};
}

} // namespace SessionProcesses
