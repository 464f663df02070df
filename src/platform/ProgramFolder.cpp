#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ProgramFolder {

QString path()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!exeDir.isEmpty() && QFileInfo(exeDir).isWritable())
        return QDir(exeDir).absolutePath() + QLatin1Char('/');
    // An installed, read-only program folder: keep the program's files with the user's data.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Tavlix/";
    QDir().mkpath(data);
    return data;
}

QString executablePath()
{
    return QCoreApplication::applicationFilePath();
}

} // namespace ProgramFolder
