#include "FuzzSupport.h"
#include "platform/Autostart.h"

#include <optional>

// The autostart entry's Exec value for any program path reads back, by the desktop entry rules
// (string escapes first, then the Exec line's quoting and field codes), as that one argument.
namespace {

std::optional<QString> unescapeString(const QString& value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\') {
            out += value[i];
            continue;
        }
        if (++i >= value.size())
            return std::nullopt;
        if (const std::optional<QChar> control = escapedControl(value[i]))
            out += *control;
        else if (value[i] == u's')
            out += u' ';
        else if (value[i] == u'\\')
            out += u'\\';
        else
            return std::nullopt;
    }
    return out;
}

// The Exec value as its arguments; nullopt when it is malformed or holds a field code.
std::optional<QStringList> execArguments(const QString& exec)
{
    QStringList arguments;
    QString current;
    bool quoted = false;
    bool any = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\') {
                if (++i >= exec.size() || !QStringLiteral("\"`$\\").contains(exec[i]))
                    return std::nullopt;
                current += exec[i];
            } else if (c == u'%') {
                if (++i >= exec.size() || exec[i] != u'%')
                    return std::nullopt;
                current += u'%';
            } else {
                current += c;
            }
        } else if (c == u' ') {
            if (any)
                arguments << current;
            current.clear();
            any = false;
        } else if (c == u'"') {
            quoted = true;
            any = true;
        } else {
            // Unquoted reserved characters are not allowed; the value is always quoted.
            return std::nullopt;
        }
    }
    if (quoted)
        return std::nullopt;
    if (any)
        arguments << current;
    return arguments;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    if (path.contains(QChar(0)))
        return 0; // no file name holds a NUL
    const QString value = Autostart::execValue(path);
    FUZZ_CHECK(!value.contains(u'\n') && !value.contains(u'\r'), "a raw line break in %s\n", qPrintable(value));
    const std::optional<QString> exec = unescapeString(value);
    FUZZ_CHECK(exec.has_value(), "%s\n", qPrintable(value));
    const std::optional<QStringList> arguments = execArguments(*exec);
    FUZZ_CHECK(arguments.has_value() && *arguments == QStringList{path}, "%s\n", qPrintable(value));
    return 0;
}
