#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ProgramFolder {

QString path()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    // The installed folder (/usr/bin) is writable for root, but is no place for a user's files.
    const bool installed =
        QFileInfo(exeDir).canonicalFilePath() == QFileInfo(QStringLiteral(TAVLIX_INSTALL_BINDIR)).canonicalFilePath();
    if (!exeDir.isEmpty() && !installed && QFileInfo(exeDir).isWritable())
        return QDir(exeDir).absolutePath() + QLatin1Char('/');
    // An installed or read-only program folder: keep the program's files with the user's data.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Tavlix/";
    QDir().mkpath(data);
    return data;
}

QString executablePath()
{
    return QCoreApplication::applicationFilePath();
}

} // namespace ProgramFolder
