#include "Autostart.h"

#include "AppError.h"
#include "Registry.h"
#include "win32/Win32CodePage.h"
#include "win32/Win32Desktop.h"

// The machine-wide Run key: writing needs administrator rights, so a user without them gets an
// error. Removing is passed over where the key does not open, as it does at every start for such
// a user while the box is unticked.
namespace Autostart {

namespace {
const QString RunKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString ValueName = QStringLiteral("Tavelvaxlaren");

std::string ansi(const QString& text)
{
    return Win32::fromUtf16(text.toStdU16String());
}
} // namespace

QString location()
{
    return QStringLiteral("HKEY_LOCAL_MACHINE\\") + RunKey;
}

void enable(const QString& executablePath)
{
    if (Win32::setRunValue(ansi(ValueName), ansi(executablePath)) != Win32::ErrorSuccess)
        throw Registry::setDataFailed(ValueName);
}

void disable()
{
    // A value that was there and would not go starts the program with Windows although the box is
    // unticked: that is said.
    const std::string failure = Win32::runValueRemovalFailure(Win32::removeRunValue(ansi(ValueName)));
    if (!failure.empty())
        throw AppError(QStringLiteral("Kan inte ta bort autostartvärdet \"%1\\%2\": %3")
                           .arg(location(), ValueName, QString::fromStdString(failure)));
}

bool isEnabled()
{
    return Win32::runValueExists(ansi(ValueName)) == Win32::ErrorSuccess;
}

} // namespace Autostart
