#pragma once

#include <QByteArray>
#include <QString>

// Files of the user's own that other programs and users share a folder with (the thumbnail
// cache): folders are the user's alone, and a file is replaced only by renaming a new one of our
// own over its name, so a link or a pipe put there is never written through.
namespace PrivateFile {

// Creates path (and what is missing above it) with mode 0700, or tightens an existing folder of
// the user's to 0700. False for a folder of another user or something that is no folder.
bool makeFolder(const QString& path);

// Writes bytes to a new file (mode 0600) beside path and renames it over path. False when that
// fails; nothing is then left behind.
bool replace(const QString& path, const QByteArray& bytes);

} // namespace PrivateFile
