#include "ListEditorText.h"

namespace ListEditorText {

QString fromFile(const QByteArray& bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    QString text = decode(nul < 0 ? bytes : bytes.left(nul));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QByteArray toFile(const QString& text)
{
    QByteArray bytes = encode(text);
    bytes.replace("\n", "\r\n");
    return bytes;
}

} // namespace ListEditorText
