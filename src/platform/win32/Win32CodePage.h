#pragma once

#include <string>
#include <string_view>

// Conversions between the program's text (UTF-16) and the 8-bit bytes the ANSI functions, the
// registry's A calls and the list files use. Qt-free; implemented for Windows only.
//
// On a single-byte code page (1252 and its kind) every byte value is a character and comes back
// unchanged. On a double-byte one (932, 936, 949, 950) a lead byte takes the next byte with it:
// a lead byte alone, or before a byte that makes no character, is not text. Windows decodes it
// as a substitute (U+30FB on 932) that encodes back as other bytes: all 60 lead bytes of 932 when
// alone, and 10 of 255 byte values in a name such as "C:\a?b.jpg". A lead byte also swallows a
// following '\' (0x5C is a trail byte): a Latin-1 "å\" reads as one character on 932. The
// *KeepingBytes pair exists for data that must survive untouched (list files).
namespace Win32 {

constexpr unsigned AnsiCodePage = 0; // CP_ACP: the system's ANSI code page

// The ANSI code page in force (GetACP).
unsigned ansiCodePage();

// What the A functions of Windows do: bytes that are no character become a substitute.
std::u16string toUtf16(std::string_view bytes, unsigned codePage = AnsiCodePage);
// Characters the code page lacks become its best fit or '?'.
std::string fromUtf16(std::u16string_view text, unsigned codePage = AnsiCodePage);

// Lossless for bytes: a byte that is not (part of) a character that encodes back to the same
// bytes becomes the lone surrogate U+DC80..U+DCFF, which no decoded text holds, and is written
// back as that byte. fromUtf16KeepingBytes(toUtf16KeepingBytes(b)) == b for every b.
std::u16string toUtf16KeepingBytes(std::string_view bytes, unsigned codePage = AnsiCodePage);
std::string fromUtf16KeepingBytes(std::u16string_view text, unsigned codePage = AnsiCodePage);

} // namespace Win32
