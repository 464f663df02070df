#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The 32 x 32 icon made from the picture of each automatic change: it becomes the tray icon and
// the application icon and is kept as "MinIkon.ico", which the next start shows.
namespace ThumbnailIcon {

constexpr int Size = 32;
inline constexpr const char* FileName = "MinIkon.ico";

// The preview picture stretched over the whole square, proportions not kept, at 16 bits per
// pixel; every pixel opaque. An empty preview gives a black square.
QImage render(const QImage& preview);

// A standard icon file holding one 32 x 32 image: icon directory, one entry, and a 32-bit
// bottom-up bitmap with its AND mask (all opaque).
QByteArray icoBytes(const QImage& icon);

// Writes icoBytes(icon) to fileName, replacing any earlier file only once the new one is
// complete. Throws AppError "Cannot create file ..." when it cannot be written.
void save(const QString& fileName, const QImage& icon);

} // namespace ThumbnailIcon
