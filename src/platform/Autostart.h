#pragma once

#include <QString>

// Starting the program with the session. Windows: the value "Tavelvaxlaren" under
// HKLM\Software\Microsoft\Windows\CurrentVersion\Run; elsewhere an XDG autostart entry
// $XDG_CONFIG_HOME/autostart/Tavelvaxlaren.desktop.
namespace Autostart {

// Throws AppError "Failed to set data for 'Tavelvaxlaren'" when the entry cannot be written.
void enable(const QString& executablePath);
// Removes only this program's entry; a missing entry or key is passed over silently.
void disable();
bool isEnabled();
// Where the entry lives (a file path or a registry path), for messages and tests.
QString location();

} // namespace Autostart
