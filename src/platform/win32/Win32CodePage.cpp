#include "Win32CodePage.h"

#include <climits>
#include <windows.h>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide functions take UTF-16");

namespace Win32 {

namespace {

constexpr char16_t EscapeFirst = 0xDC80;
constexpr char16_t EscapeLast = 0xDCFF;

bool isEscape(char16_t c)
{
    return c >= EscapeFirst && c <= EscapeLast;
}

// Appends the decoded bytes; false when the code page refuses them (with MB_ERR_INVALID_CHARS).
bool appendDecoded(std::u16string& out, std::string_view bytes, unsigned codePage, DWORD flags)
{
    if (bytes.empty())
        return true;
    if (bytes.size() > INT_MAX)
        return false;
    const int length = MultiByteToWideChar(codePage, flags, bytes.data(), int(bytes.size()), nullptr, 0);
    if (length <= 0)
        return false;
    const std::size_t at = out.size();
    out.resize(at + std::size_t(length));
    MultiByteToWideChar(codePage, flags, bytes.data(), int(bytes.size()), reinterpret_cast<wchar_t*>(out.data() + at),
                        length);
    return true;
}

void appendEncoded(std::string& out, std::u16string_view text, unsigned codePage)
{
    // Longer runs go in pieces; a piece never ends between the two halves of a pair.
    constexpr std::size_t piece = INT_MAX / 4;
    while (!text.empty()) {
        std::size_t count = text.size() < piece ? text.size() : piece;
        if (count < text.size() && text[count - 1] >= 0xD800 && text[count - 1] <= 0xDBFF)
            --count;
        const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
        const int length = WideCharToMultiByte(codePage, 0, wide, int(count), nullptr, 0, nullptr, nullptr);
        if (length > 0) {
            const std::size_t at = out.size();
            out.resize(at + std::size_t(length));
            WideCharToMultiByte(codePage, 0, wide, int(count), out.data() + at, length, nullptr, nullptr);
        }
        text.remove_prefix(count);
    }
}

// True when the bytes are text of the code page that encodes back to exactly them.
bool decodesFaithfully(std::u16string& decoded, std::string_view bytes, unsigned codePage)
{
    decoded.clear();
    if (!appendDecoded(decoded, bytes, codePage, MB_ERR_INVALID_CHARS) || decoded.empty())
        return false;
    for (char16_t c : decoded)
        if (isEscape(c))
            return false;
    std::string again;
    appendEncoded(again, decoded, codePage);
    return again == bytes;
}

unsigned maxCharSize(unsigned codePage)
{
    CPINFO info = {};
    return GetCPInfo(codePage, &info) && info.MaxCharSize > 0 ? info.MaxCharSize : 1;
}

} // namespace

unsigned ansiCodePage()
{
    return GetACP();
}

std::u16string toUtf16(std::string_view bytes, unsigned codePage)
{
    std::u16string text;
    appendDecoded(text, bytes, codePage, 0);
    return text;
}

std::string fromUtf16(std::u16string_view text, unsigned codePage)
{
    std::string bytes;
    appendEncoded(bytes, text, codePage);
    return bytes;
}

std::u16string toUtf16KeepingBytes(std::string_view bytes, unsigned codePage)
{
    std::u16string text;
    // Nearly every file is plain text of the code page: one call decides that.
    if (decodesFaithfully(text, bytes, codePage) || bytes.empty())
        return text;

    // Otherwise character by character: the shortest run of bytes that is a faithful character,
    // else the first byte alone as an escape.
    text.clear();
    text.reserve(bytes.size());
    const std::size_t longest = maxCharSize(codePage);
    std::u16string piece;
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t taken = 0;
        for (std::size_t length = 1; length <= longest && i + length <= bytes.size(); ++length) {
            if (decodesFaithfully(piece, bytes.substr(i, length), codePage)) {
                taken = length;
                break;
            }
        }
        if (taken == 0) {
            text.push_back(char16_t(0xDC00 + static_cast<unsigned char>(bytes[i])));
            taken = 1;
        } else
            text += piece;
        i += taken;
    }
    return text;
}

std::string fromUtf16KeepingBytes(std::u16string_view text, unsigned codePage)
{
    std::string bytes;
    bytes.reserve(text.size());
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isEscape(text[i]))
            continue;
        appendEncoded(bytes, text.substr(runStart, i - runStart), codePage);
        bytes.push_back(char(text[i] - 0xDC00));
        runStart = i + 1;
    }
    appendEncoded(bytes, text.substr(runStart), codePage);
    return bytes;
}

} // namespace Win32
