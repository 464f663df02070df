#pragma once

#include <QString>
#include <vector>

// Processes of this user that draw into this graphical session, found by program name.
namespace SessionProcesses {

// A process held by a pidfd: a signal sent through it reaches that process or none, also when
// its id has since been given to another process.
class Handle
{
public:
    Handle() = default;
    Handle(int pidfd, qint64 pid) : m_fd(pidfd), m_pid(pid) {}
    Handle(Handle&& other) noexcept;
    Handle& operator=(Handle&& other) noexcept;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle();

    bool isValid() const { return m_fd >= 0; }
    qint64 pid() const { return m_pid; }
    int fd() const { return m_fd; }
    // Asks the process to end (SIGTERM). False when it could not be asked (it has ended).
    bool terminate() const;
    // Ends it at once (SIGKILL).
    bool kill() const;
    // True when the process ended within waitMs.
    bool waitForEnd(int waitMs) const;

private:
    int m_fd = -1;
    qint64 m_pid = 0;
};

// A handle on a child of this process that has not been reaped, so its id cannot have moved on.
Handle ofChild(qint64 pid);
// The running processes named program (the file name of their executable), owned by this user
// and started with this process's WAYLAND_DISPLAY and XDG_RUNTIME_DIR, each checked after its
// pidfd was opened.
std::vector<Handle> find(const QString& program);

} // namespace SessionProcesses
