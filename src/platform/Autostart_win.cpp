#include "Autostart.h"

#include "AppError.h"
#include "Registry.h"

namespace Autostart {

namespace {
const QString RunKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString ValueName = QStringLiteral("Tavelvaxlaren");
} // namespace

QString location()
{
    return QStringLiteral("HKEY_LOCAL_MACHINE\\") + RunKey;
}

void enable(const QString& executablePath)
{
    // The machine-wide key is opened without creating it; without write access the write fails.
    RegistryKey key(Registry::Root::LocalMachine, RunKey, false);
    if (!key.isOpen())
        throw AppError(QStringLiteral("Failed to set data for '%1'").arg(ValueName));
    key.writeString(ValueName, executablePath);
}

void disable()
{
    try {
        RegistryKey key(Registry::Root::LocalMachine, RunKey, false);
        if (key.isOpen())
            key.deleteValue(ValueName);
    } catch (const AppError&) {
        // Removing fails silently without access.
    }
}

bool isEnabled()
{
    try {
        RegistryKey key(Registry::Root::LocalMachine, RunKey, false);
        return key.isOpen() && key.valueExists(ValueName);
    } catch (const AppError&) {
        return false;
    }
}

} // namespace Autostart
