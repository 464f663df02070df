#include "FuzzSupport.h"
#include "picture/GifCheck.h"

#include <QBuffer>
#include <QImageReader>

// What the structure check lets through, Qt's GIF reader must read, at the size the frame's
// screen gives.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startGuiApplication();
    QImageReader::setAllocationLimit(512);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size >= 10 && qint64(data[6] | data[7] << 8) * (data[8] | data[9] << 8) > MaxFuzzPixels)
        return 0;
    QByteArray bytes = bytesOf(data, size);
    const bool intact = GifCheck::firstFrameIntact(bytes);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    QImage image;
    const bool read = reader.read(&image) && !image.isNull();
    if (intact)
        FUZZ_CHECK(read, "the check passed a GIF that Qt cannot read\n");
    return 0;
}
