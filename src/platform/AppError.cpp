#include "AppError.h"

#include <QDir>

AppError AppError::fileOpen(const QString& path, const QString& reason)
{
    return AppError(QStringLiteral("Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(path), reason));
}

AppError AppError::fileCreate(const QString& path, const QString& reason)
{
    return AppError(QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(path), reason));
}
