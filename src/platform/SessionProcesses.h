#pragma once

#include <QList>
#include <QString>

// Processes of this user that draw into this graphical session, found by program name.
namespace SessionProcesses {

// The ids of running processes named program (the file name of their executable), owned by this
// user and started with this process's WAYLAND_DISPLAY and XDG_RUNTIME_DIR.
QList<qint64> find(const QString& program);
// Asks a process to end (SIGTERM). False when it could not be asked.
bool terminate(qint64 pid);

} // namespace SessionProcesses
