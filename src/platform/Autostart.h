#pragma once

#include <QString>

// Starting the program with the session. Windows: the value "Tavelvaxlaren" under
// HKLM\Software\Microsoft\Windows\CurrentVersion\Run; elsewhere an XDG autostart entry
// $XDG_CONFIG_HOME/autostart/Tavelvaxlaren.desktop.
namespace Autostart {

// Throws AppError "Failed to set data for 'Tavelvaxlaren'" when the entry cannot be written.
void enable(const QString& executablePath);
// Removes only this program's entry; a missing entry or key is passed over silently. An entry
// that cannot be removed throws AppError naming it.
void disable();
bool isEnabled();
// The entry's "Exec" value starting the program at path: quoted for the Exec line and escaped as
// a desktop entry string, so it reads back as exactly that one argument.
QString execValue(const QString& path);
// Where the entry lives (a file path or a registry path), for messages and tests.
QString location();

} // namespace Autostart
