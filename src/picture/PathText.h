#pragma once

#include <QString>

// The parts of a picture path that the strip and the list operations show. Both '/' and '\'
// separate folders (lists written on Windows still name their files that way), and a leading
// drive "X:" counts as a folder.
namespace PathText {

// The file-name part: "C:\Bilder\Sjö.jpg" -> "Sjö.jpg".
QString fileName(const QString& path);
// The file-name part without its extension: "C:\Bilder\Sjö.jpg" -> "Sjö", "b.tar.gz" -> "b.tar".
QString fileNameWithoutExt(const QString& path);
// The extension with its dot, from the last dot of the file-name part; empty when there is none.
QString extension(const QString& path);
// The folder: everything up to and including the last separator; empty when there is none.
QString folder(const QString& path);

} // namespace PathText
