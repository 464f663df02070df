#pragma once

#include <QByteArray>
#include <QString>

namespace WholeFile {

// Writes the file whole or not at all: the bytes go beside it and are renamed over it, so a
// write that fails keeps the old file. Failure throws the framework's file-creation error.
void write(const QString& fileName, const QByteArray& bytes);

} // namespace WholeFile
