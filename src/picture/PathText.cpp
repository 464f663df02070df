#include "PathText.h"

namespace {

// Index of the first character of the file-name part.
qsizetype fileNameStart(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (path[i] == QLatin1Char('/') || path[i] == QLatin1Char('\\'))
            return i + 1;
    }
    if (path.size() >= 2 && path[1] == QLatin1Char(':') && path[0].isLetter())
        return 2;
    return 0;
}

} // namespace

namespace PathText {

QString fileName(const QString& path)
{
    return path.mid(fileNameStart(path));
}

QString fileNameWithoutExt(const QString& path)
{
    const QString name = path.mid(fileNameStart(path));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString extension(const QString& path)
{
    const QString name = path.mid(fileNameStart(path));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

QString folder(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (path[i] == QLatin1Char('/') || path[i] == QLatin1Char('\\'))
            return path.left(i + 1);
    }
    return {};
}

} // namespace PathText
