#pragma once

#include <QString>

// The folder where "MinIkon.ico" and "Clr.frg" live, ending in a separator: the executable's
// folder when it is writable (a build tree, a portable copy) and not where the program is
// installed, else $XDG_DATA_HOME/Tavlix/.
namespace ProgramFolder {

QString path();
// The executable's full path (the autostart entry names it).
QString executablePath();

} // namespace ProgramFolder
