#include "ListEditorText.h"

#include <QTextBlock>
#include <QTextDocument>

namespace ListEditorText {

namespace {

// Characters that the text editor turns into a block break or a frame mark when it takes the
// text; they are kept as the escaped bytes of their encoding, as undecodable bytes are.
bool editorBreaks(char32_t c)
{
    return c == 0x2029 || c == 0xFDD0 || c == 0xFDD1;
}

QString escapeEditorBreaks(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (editorBreaks(c.unicode())) {
            for (const char b : QString(c).toUtf8())
                out += decode(QByteArray(1, b)); // one escaped byte each
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

QString fromFile(const QByteArray& bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    QString text = escapeEditorBreaks(decode(nul < 0 ? bytes : bytes.left(nul)));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString fromDocument(const QTextDocument& document)
{
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            text += QLatin1Char('\n');
        text += block.text();
    }
    return text;
}

QByteArray toFile(const QString& text)
{
    QByteArray bytes = encode(text);
    bytes.replace("\n", "\r\n");
    return bytes;
}

} // namespace ListEditorText
