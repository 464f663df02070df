#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>

// A walk over a JPEG file's markers without decoding anything: cheap enough to learn, before any
// buffer is allocated, how much work a file asks for.
namespace JpegStructure {

// The number of scans (start-of-scan segments) from the start marker up to the end marker, the
// end of the data or the first malformed segment, whichever comes first; counting stops at
// limit + 1. The decoder reports whatever damage ends the walk.
int scanCount(const QByteArray& data, int limit);

// What the segments before the first scan tell: the picture's size from its frame header (invalid
// without one) and the TIFF block of its first EXIF segment (after "Exif\0\0"; empty without one).
// The view points into data.
struct Head
{
    QSize pictureSize;
    QByteArrayView exif;
};
Head head(QByteArrayView data);

// True when data ends with the end-of-image marker: a file cut short while it was copied does not.
bool endsWithEoi(QByteArrayView data);

} // namespace JpegStructure
