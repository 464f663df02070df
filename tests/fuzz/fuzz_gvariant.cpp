#include "FuzzSupport.h"
#include "platform/DesktopAdapters.h"

#include <optional>

// A string escaped for "gsettings set" reads back, by the GVariant text format's rules, as
// exactly the string, and the literal holds no raw control character.
namespace {

std::optional<QString> parseGVariantString(const QString& literal)
{
    if (literal.size() < 2 || literal.front() != u'\'' || literal.back() != u'\'')
        return std::nullopt;
    QString out;
    for (qsizetype i = 1; i < literal.size() - 1; ++i) {
        const QChar c = literal[i];
        if (c == u'\'')
            return std::nullopt; // an unescaped quote ends the literal early
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++i >= literal.size() - 1)
            return std::nullopt;
        const QChar e = literal[i];
        const int digits = e == u'u' ? 4 : e == u'U' ? 8 : 0;
        if (digits) {
            bool ok = false;
            const uint code = literal.mid(i + 1, digits).toUInt(&ok, 16);
            if (!ok || i + digits >= literal.size() - 1)
                return std::nullopt;
            out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
            i += digits;
            continue;
        }
        if (const std::optional<QChar> control = escapedControl(e)) {
            out += *control;
            continue;
        }
        switch (e.unicode()) {
        case 'b':
            out += u'\b';
            break;
        case 'f':
            out += u'\f';
            break;
        case 'v':
            out += u'\v';
            break;
        default:
            out += e; // \\ \' \" and any other character stand for themselves
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString literal = DesktopAdapters::gvariantString(text);
    for (const QChar c : literal)
        FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() != 0x7f);
    FUZZ_CHECK(parseGVariantString(literal) == text, "literal %s\n", qPrintable(literal));
    return 0;
}
