#include "ListEditorText.h"

// The ANSI code page: one byte per character, as the list file holds it.
namespace ListEditorText {

QString decode(const QByteArray& bytes)
{
    return QString::fromLocal8Bit(bytes);
}

QByteArray encode(const QString& text)
{
    return text.toLocal8Bit();
}

} // namespace ListEditorText
