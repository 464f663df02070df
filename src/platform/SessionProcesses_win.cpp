#include "SessionProcesses.h"

// Windows has no background programs of the desktop to replace.
namespace SessionProcesses {

QList<qint64> find(const QString&)
{
    return {};
}

bool terminate(qint64)
{
    return false;
}

} // namespace SessionProcesses
