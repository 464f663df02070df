#include "OutsideFile.h"

#include <QFile>
#include <QFileInfo>

namespace OutsideFile {

// Windows has no pipes or devices among ordinary file names; the checks are made by name.
Result read(const QString& path, const Options& options)
{
    Result result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.problem = Problem::Missing;
        result.reason = QStringLiteral("The system cannot find the file specified.");
        return result;
    }
    if (!info.isFile() || (!options.followLinks && info.isSymLink())) {
        result.problem = Problem::NotRegular;
        return result;
    }
    if (info.size() > options.maxBytes) {
        result.problem = Problem::TooLarge;
        return result;
    }
    if (options.beforeRead)
        options.beforeRead(info.size());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = Problem::CannotOpen;
        result.reason = file.errorString();
        return result;
    }
    if (options.headBytes > 0) {
        result.bytes = file.read(options.headBytes);
        const qint64 tail = qMin(options.tailBytes, info.size());
        if (file.seek(info.size() - tail))
            result.tail = file.read(tail);
        if (file.error() != QFileDevice::NoError) {
            result.problem = Problem::CannotOpen;
            result.reason = file.errorString();
        }
        return result;
    }
    result.bytes = file.read(options.maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        result.problem = Problem::CannotOpen;
        result.reason = file.errorString();
    } else if (result.bytes.size() > options.maxBytes) {
        result.problem = Problem::TooLarge;
    }
    if (!result.ok())
        result.bytes.clear();
    return result;
}

} // namespace OutsideFile
