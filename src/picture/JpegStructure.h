#pragma once

#include <QByteArray>

// A walk over a JPEG file's markers without decoding anything: cheap enough to vouch for the
// part of a progressive file that a thumbnail decode stopped before.
namespace JpegStructure {

// True when the file runs from its start marker through well-formed segments and scans to its
// end marker: no segment runs past the end, every scan header names components of the frame and
// a legal progression step, and there are no more scans than any encoder writes.
bool wholeToTheEnd(const QByteArray& data);

} // namespace JpegStructure
