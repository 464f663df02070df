#include "SessionSetup.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace SessionSetup {

namespace {

// Texts Debian's Swedish catalogue lacks. Qt 6 takes the standard buttons' texts (OK, Avbryt,
// Öppna…) from the context "QPlatformTheme"; the catalogue still files them under
// "QDialogButtonBox", as Qt 5 did. Two texts of the file dialog are missing altogether.
class MissingTexts : public QTranslator
{
public:
    MissingTexts(const QTranslator& texts, QObject* parent) : QTranslator(parent), m_texts(texts) {}
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation, int n) const override
    {
        if (qstrcmp(context, "QPlatformTheme") == 0)
            return m_texts.translate("QDialogButtonBox", sourceText, disambiguation, n);
        if (qstrcmp(context, "QFileDialog") == 0 && qstrcmp(sourceText, "Look in:") == 0)
            return QStringLiteral("Leta i:");
        if (qstrcmp(context, "QFileSystemModel") == 0 && qstrcmp(sourceText, "Computer") == 0)
            return QStringLiteral("Dator");
        return {};
    }

private:
    const QTranslator& m_texts;
};

} // namespace

QString platformFor(const QProcessEnvironment& env)
{
    if (env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        return {};
    const bool wayland =
        env.value(QStringLiteral("XDG_SESSION_TYPE")).compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0 ||
        !env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    return wayland ? QStringLiteral("xcb;wayland") : QString();
}

namespace {
QStringList s_ownVariables;
}

void chooseWindowSystem()
{
    const QString platform = platformFor(QProcessEnvironment::systemEnvironment());
    if (!platform.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", platform.toLatin1());
        s_ownVariables = {QStringLiteral("QT_QPA_PLATFORM")};
    }
}

QStringList ownVariables()
{
    return s_ownVariables;
}

bool loadSwedishQtTexts()
{
    // Swedish whatever the user's locale: every text of the program is. Debian ships Qt's Swedish
    // texts as one catalogue ("qt"); other builds split off "qtbase".
    const QLocale swedish(QLocale::Swedish, QLocale::Sweden);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qtbase", "qt"}) {
        auto* texts = new QTranslator(QCoreApplication::instance());
        if (texts->load(swedish, QLatin1String(name), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(new MissingTexts(*texts, texts));
            QCoreApplication::installTranslator(texts);
            return true;
        }
        delete texts;
    }
    return false;
}

} // namespace SessionSetup
