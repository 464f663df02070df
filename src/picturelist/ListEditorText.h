#pragma once

#include <QByteArray>
#include <QString>

// The list editor shows a list file as text and writes its text back whole. The file's bytes are
// in the local 8-bit encoding; a round trip through the editor keeps every byte the user did not
// edit, including bytes that are not valid in that encoding.
namespace ListEditorText {

// The file's bytes as the memo's text: cut at the first NUL, every line end (CR LF, CR or LF)
// one "\n", so LF CR stays two breaks.
QString fromFile(const QByteArray& bytes);
// The memo's text as the file's bytes: every "\n" a CR LF, no line end added at the end.
QByteArray toFile(const QString& text);

// The local 8-bit encoding, lossless for bytes it cannot decode.
QString decode(const QByteArray& bytes);
QByteArray encode(const QString& text);

} // namespace ListEditorText
