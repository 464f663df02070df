#include "ListEditorText.h"

// File names are UTF-8 here, but a list file may hold any bytes (one written on a Latin-1 system,
// say). A byte that does not start a valid UTF-8 sequence is shown as the lone surrogate
// U+DC80..U+DCFF, which valid UTF-8 never yields, and is written back as that byte.
namespace ListEditorText {

namespace {

constexpr char16_t EscapeBase = 0xDC00;

// The length of the valid UTF-8 sequence at i, or 0 when the byte there starts none.
int sequenceLength(const QByteArray& bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return k < bytes.size() ? static_cast<unsigned char>(bytes[k]) : 0u; };
    const unsigned lead = at(i);
    unsigned low = 0x80, high = 0xBF;
    int length = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // overlong
        if (lead == 0xED)
            high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90; // overlong
        if (lead == 0xF4)
            high = 0x8F; // beyond U+10FFFF
    } else
        return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned b = at(i + k);
        if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF))
            return 0;
    }
    return length;
}

} // namespace

QString decode(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const int length = sequenceLength(bytes, i);
        if (length == 0) {
            text.append(QChar(char16_t(EscapeBase + static_cast<unsigned char>(bytes[i]))));
            ++i;
        } else {
            text.append(QString::fromUtf8(bytes.constData() + i, length));
            i += length;
        }
    }
    return text;
}

QByteArray encode(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            bytes.append(QStringView(text).mid(i, 2).toUtf8());
            ++i;
        } else if (c.unicode() >= EscapeBase + 0x80 && c.unicode() <= EscapeBase + 0xFF)
            bytes.append(char(c.unicode() - EscapeBase));
        else
            bytes.append(QStringView(&c, 1).toUtf8());
    }
    return bytes;
}

} // namespace ListEditorText
