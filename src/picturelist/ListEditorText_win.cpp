#include "ListEditorText.h"

#include "platform/win32/Win32CodePage.h"

// The ANSI code page, as the list file holds it. On a double-byte code page (932 and its kind) a
// lead byte alone, or before a byte that makes no character with it, is no text: Windows itself
// would decode it to a substitute and write other bytes back. Such bytes are shown as
// U+DC80..U+DCFF and written back as they were, so a list the user did not edit keeps every byte.
namespace ListEditorText {

QString decode(const QByteArray& bytes)
{
    return QStringView(Win32::toUtf16KeepingBytes(std::string_view(bytes.constData(), std::size_t(bytes.size()))))
        .toString();
}

QByteArray encode(const QString& text)
{
    const std::string bytes =
        Win32::fromUtf16KeepingBytes(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()));
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

} // namespace ListEditorText
