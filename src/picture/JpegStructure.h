#pragma once

#include <QByteArray>

// A walk over a JPEG file's markers without decoding anything: cheap enough to learn, before any
// buffer is allocated, how much work a file asks for.
namespace JpegStructure {

// The number of scans (start-of-scan segments) from the start marker up to the end marker, the
// end of the data or the first malformed segment, whichever comes first; counting stops at
// limit + 1. The decoder reports whatever damage ends the walk.
int scanCount(const QByteArray& data, int limit);

} // namespace JpegStructure
