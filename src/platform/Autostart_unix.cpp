#include "Autostart.h"

#include "AppError.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace Autostart {

// Desktop Entry "Exec" quoting: reserved characters in double quotes, with \ " ` $ escaped.
QString execValue(const QString& path)
{
    QString escaped;
    for (QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    // Field codes start with %; string values escape a backslash once more and hold no raw line breaks.
    escaped.replace(QLatin1String("%"), QLatin1String("%%"));
    escaped.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    escaped.replace(QLatin1String("\n"), QLatin1String("\\n"));
    escaped.replace(QLatin1String("\r"), QLatin1String("\\r"));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString location()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/Tavelvaxlaren.desktop");
}

void enable(const QString& executablePath)
{
    const QString file = location();
    QDir().mkpath(QFileInfo(file).absolutePath());
    const QByteArray text = "[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name=Tavelvaxlaren\n"
                            "Comment=Byter skrivbordsbakgrund\n"
                            "Exec=" +
                            execValue(executablePath).toUtf8() +
                            "\n"
                            "Terminal=false\n"
                            "X-GNOME-Autostart-enabled=true\n";
    try {
        WholeFile::write(file, text);
    } catch (const AppError&) {
        throw AppError(QStringLiteral("Failed to set data for 'Tavelvaxlaren'"));
    }
}

void disable()
{
    const QFileInfo info(location());
    if (!info.exists() && !info.isSymLink())
        return;
    // An entry left behind would start the program with the session although the box is unticked.
    QFile entry(info.filePath());
    if (info.isDir() || !entry.remove())
        throw AppError(
            QStringLiteral("Kan inte ta bort autostartfilen \"%1\": %2")
                .arg(info.filePath(), info.isDir() ? QStringLiteral("det är en mapp") : entry.errorString()));
}

bool isEnabled()
{
    return QFile::exists(location());
}

} // namespace Autostart
