#pragma once

#include <QByteArray>

// Qt's GIF reader quietly fills a damaged or cut-off picture with black. This walks the file's
// blocks and the first frame's LZW codes (without building pixels) so that such a file is
// refused instead of shown as half a picture.
namespace GifCheck {

// True when the blocks up to the first frame are well formed and that frame's LZW stream is
// valid and holds every pixel of the frame.
bool firstFrameIntact(const QByteArray& bytes);

} // namespace GifCheck
