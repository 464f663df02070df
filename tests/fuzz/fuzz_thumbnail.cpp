#include "FuzzSupport.h"
#include "picture/JpegDecoder.h"
#include "platform/AppError.h"

// The thumbnail path (a small box, Scans::Enough) and the decode of what is shown large or applied
// (a preview box, every scan as it is) must agree: a picture shows in the list exactly when it can
// be shown large, and with the same size.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (claimsHugePicture(data, size))
        return 0;
    const QByteArray bytes = bytesOf(data, size);
    QSize thumbnailSize;
    QSize largeSize;
    bool thumbnail = false;
    bool large = false;
    try {
        thumbnail =
            !JpegDecoder::decodeForBox(bytes, QSize(128, 128), &thumbnailSize, JpegDecoder::Scans::Enough).isNull();
    } catch (const AppError&) {
    }
    try {
        large = !JpegDecoder::decodeForBox(bytes, QSize(377, 282), &largeSize, JpegDecoder::Scans::All).isNull();
    } catch (const AppError&) {
    }
    FUZZ_CHECK(thumbnail == large, "thumbnail %d, large %d\n", int(thumbnail), int(large));
    if (thumbnail)
        FUZZ_CHECK(thumbnailSize == largeSize);
    return 0;
}
