#include "PrivateFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace PrivateFile {

// A folder under the user's profile is the user's alone on Windows.
bool makeFolder(const QString& path)
{
    return QFileInfo(path).isDir() || QDir().mkpath(path);
}

bool replace(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace PrivateFile
