#include "OutsideFile.h"

namespace OutsideFile {

QString sizeText(qint64 bytes)
{
    if (bytes >= 1024 * 1024)
        return QStringLiteral("%1 MB").arg(bytes / (1024 * 1024));
    return QStringLiteral("%1 kB").arg(qMax<qint64>(1, bytes / 1024));
}

AppError error(const QString& path, const Result& result, qint64 maxBytes)
{
    switch (result.problem) {
    case Problem::NotRegular:
        return AppError::fileOpen(path, QStringLiteral("Det är ingen vanlig fil."));
    case Problem::TooLarge:
        return AppError::fileOpen(path,
                                  QStringLiteral("Filen är större än %1 och läses inte.").arg(sizeText(maxBytes)));
    case Problem::NotOwned:
        return AppError::fileOpen(path, QStringLiteral("Filen tillhör en annan användare."));
    case Problem::None:
    case Problem::Missing:
    case Problem::CannotOpen:
        break;
    }
    return AppError::fileOpen(path, result.reason);
}

} // namespace OutsideFile
