#pragma once

#include <QByteArray>
#include <QSize>

// Qt's GIF reader quietly fills a damaged or cut-off picture with black. This walks the file's
// blocks and the first frame's LZW codes (without building pixels) so that such a file is
// refused instead of shown as half a picture.
namespace GifCheck {

// True when the blocks up to the first frame are well formed and that frame's LZW stream is
// valid and holds every pixel of the frame.
bool firstFrameIntact(const QByteArray& bytes);

// The logical screen's size, which Qt's reader allocates whatever the frames hold, and the first
// frame's (empty when the file has none or is damaged before it), from the headers alone.
struct Sizes
{
    QSize screen;
    QSize frame;
};
Sizes sizes(const QByteArray& bytes);

} // namespace GifCheck
