#include "WholeFile.h"

#include "AppError.h"

#include <QSaveFile>

void WholeFile::write(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError::fileCreate(fileName, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw AppError::fileCreate(fileName, reason);
    }
}
