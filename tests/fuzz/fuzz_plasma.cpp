#include "FuzzSupport.h"
#include "platform/DesktopAdapters.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

// The Plasma script for any path reads back as that path: its one string literal is valid JSON,
// names the path as a file URI, and the rest of the script is the fixed text.
namespace {

const QString Head = QStringLiteral("var image = ");
const QString End = QStringLiteral(";\nvar fillMode = ");

QString tail(const QString& script)
{
    return script.mid(script.indexOf(End));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const auto placement = static_cast<Desktop::Placement>(data[0] % 3);
    const QString path =
        QLatin1Char('/') + QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (path.contains(QChar(0)))
        return 0; // no file name holds a NUL
    const QString script = DesktopAdapters::plasmaScript(path, placement);
    FUZZ_CHECK(script.startsWith(Head));
    const qsizetype end = script.indexOf(End);
    FUZZ_CHECK(end > Head.size());
    FUZZ_CHECK(tail(script) == tail(DesktopAdapters::plasmaScript(QStringLiteral("/a"), placement)));

    const QString literal = script.mid(Head.size(), end - Head.size());
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson((u'[' + literal + u']').toUtf8(), &error);
    FUZZ_CHECK(error.error == QJsonParseError::NoError && json.array().size() == 1, "%s\n", qPrintable(literal));
    const QUrl uri = QUrl(json.array().at(0).toString(), QUrl::StrictMode);
    FUZZ_CHECK(uri.isValid() && uri.scheme() == u"file");
    // Leading slashes after the first name the same folder.
    QString file = path;
    while (file.startsWith(QStringLiteral("//")))
        file.remove(0, 1);
    FUZZ_CHECK(uri.toLocalFile() == file, "path %s\nuri  %s\n", qPrintable(path), qPrintable(uri.toLocalFile()));
    return 0;
}
