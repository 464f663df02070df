#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The picture list file: plain bytes, one entry a line. Entries are the exact bytes of each
// line, so a list read and written back is byte for byte what was read.
// Errors are AppError with the framework's file texts.
namespace ListFile {

// Lines end at CR, LF or CR LF (one break); LF CR is two breaks; a NUL ends the text;
// a last line without a break is an entry, the empty text after the last break is none.
QList<QByteArray> parse(const QByteArray& bytes);
// Every entry followed by CR LF; an empty list is no bytes at all.
QByteArray serialize(const QList<QByteArray>& entries);
// False for a name that a list file cannot hold: a CR, LF or NUL in it would end the entry.
bool canHold(const QString& name);
// The message that refuses such names, each shown with its breaks written out.
QString refusedNamesText(const QStringList& names);
// No list the program writes comes near this (a million pictures); a larger file is refused.
inline constexpr qint64 MaxFileBytes = 64LL * 1024 * 1024;
// The file's bytes. Throws AppError::fileOpen when it cannot be opened, and a Swedish refusal for
// what is no regular file or is larger than MaxFileBytes.
QByteArray readBytes(const QString& fileName);
// The entries of the whole file; throws as readBytes.
QList<QByteArray> read(const QString& fileName);
// Replaces the file in one step (a temporary file renamed over it), so a failed write leaves the
// old file untouched; throws AppError::fileCreate.
void write(const QString& fileName, const QList<QByteArray>& entries);

// The one rule between an entry's bytes and the path that opens and shows it (the file system's
// encoding of names). The list editor's text keeps undecodable bytes as well: ListEditorText.
QString decodeEntry(const QByteArray& entry);
QByteArray encodeEntry(const QString& path);

} // namespace ListFile
