#include "UiFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QHash>

namespace {

// Wine ships outline fonts with the metrics of the Windows originals; they are not always
// registered with fontconfig, so they are added to the application by file.
const QHash<QString, QStringList>& wineFiles()
{
    static const QHash<QString, QStringList> files = {
        {QStringLiteral("ms sans serif"), {QStringLiteral("ms_sans_serif.ttf")}},
        {QStringLiteral("tahoma"), {QStringLiteral("tahoma.ttf"), QStringLiteral("tahomabd.ttf")}},
    };
    return files;
}

// Wine's "MS Sans Serif" holds bitmaps of one size only; a family that cannot be drawn at
// any size would shrink every text, so it does not count as installed.
bool installed(const QString& family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive) && QFontDatabase::isSmoothlyScalable(family);
}

} // namespace

QString uiFontFamily(const QString& family)
{
    static QHash<QString, QString> chosen;
    const QString key = family.toLower();
    if (auto it = chosen.constFind(key); it != chosen.constEnd())
        return *it;

    QString result;
    if (installed(family)) {
        result = family;
    } else {
        for (const QString& file : wineFiles().value(key)) {
            const QString path = QStringLiteral("/usr/share/wine/fonts/") + file;
            if (QFile::exists(path))
                QFontDatabase::addApplicationFont(path);
        }
        if (installed(family))
            result = family;
        else if (installed(QStringLiteral("Liberation Sans")))
            result = QStringLiteral("Liberation Sans");
        else
            result = QStringLiteral("DejaVu Sans");
    }
    chosen.insert(key, result);
    return result;
}

QFont uiFont(const QString& family, int pixelHeight)
{
    QFont font(uiFontFamily(family));
    font.setPixelSize(pixelHeight);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
