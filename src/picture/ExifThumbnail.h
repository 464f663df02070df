#pragma once

#include <QByteArrayView>
#include <QSize>

// The small JPEG that cameras embed in their EXIF block (IFD1's JPEGInterchangeFormat and its
// length), and the rule for when it may stand in for the picture on a card.
namespace ExifThumbnail {

// The thumbnail's bytes inside tiff, the TIFF block of an EXIF segment; empty when it has none or
// its offsets lead outside the block. Reads nothing outside tiff, whatever it holds.
QByteArrayView find(QByteArrayView tiff);

// A thumbnail of size preview may be shown for a picture of size picture where needed device pixels
// are asked for: it covers them and has the picture's proportions to within 1 %, so that a picture
// cropped or turned after the thumbnail was made is decoded instead.
bool usable(const QSize& preview, const QSize& picture, const QSize& needed);

} // namespace ExifThumbnail
