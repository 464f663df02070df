#pragma once

#include <QImage>
#include <QString>

// Reading "MinIkon.ico", the icon of the last background: a file in the program folder that
// anyone with access to the folder can replace, so only a small regular icon file is decoded.
namespace IconFile {

// The icon the program writes is 4 kB; room for one of 256 pixels a side.
inline constexpr qint64 MaxFileBytes = 512 * 1024;
inline constexpr int MaxSide = 256;

struct Result
{
    QImage image;    // null when there is no usable icon
    QString problem; // for the user, naming the file; empty when the file is missing or fine
};

Result read(const QString& fileName);

} // namespace IconFile
