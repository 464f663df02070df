#include "OutsideFile.h"

#include <QDir>

namespace OutsideFile {

QString sizeText(qint64 bytes)
{
    if (bytes >= 1024 * 1024)
        return QStringLiteral("%1 MB").arg(bytes / (1024 * 1024));
    return QStringLiteral("%1 kB").arg(qMax<qint64>(1, bytes / 1024));
}

AppError error(const QString& path, const Result& result, qint64 maxBytes)
{
    const QString shown = QDir::toNativeSeparators(path);
    switch (result.problem) {
    case Problem::NotRegular:
        return AppError(QStringLiteral("Filen \"%1\" läses inte: det är ingen vanlig fil.").arg(shown));
    case Problem::TooLarge:
        return AppError(QStringLiteral("Filen \"%1\" läses inte: den är större än %2.").arg(shown, sizeText(maxBytes)));
    case Problem::NotOwned:
        return AppError(QStringLiteral("Filen \"%1\" läses inte: den tillhör en annan användare.").arg(shown));
    case Problem::None:
    case Problem::Missing:
    case Problem::CannotOpen:
        break;
    }
    return AppError::fileOpen(path, result.reason);
}

} // namespace OutsideFile
