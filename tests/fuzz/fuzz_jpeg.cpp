#include "FuzzSupport.h"
#include "picture/FitRule.h"
#include "picture/JpegDecoder.h"
#include "platform/AppError.h"

#include <optional>

// The whole decode and the decode for a box (the box from the last two bytes, which a JPEG
// decoder never reads past its end marker) must agree: both fail or both give the same size.

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (claimsHugePicture(data, size))
        return 0;
    const QByteArray bytes = bytesOf(data, size);
    const QSize box(size >= 2 ? 1 + data[size - 2] : 96, size >= 2 ? 1 + data[size - 1] : 77);

    std::optional<QSize> whole;
    try {
        const QImage image = JpegDecoder::decode(bytes);
        FUZZ_CHECK(!image.isNull());
        whole = image.size();
    } catch (const AppError&) {
    }
    std::optional<QSize> scaled;
    try {
        QSize pictureSize;
        const QImage image = JpegDecoder::decodeForBox(bytes, box, &pictureSize);
        FUZZ_CHECK(!image.isNull());
        const QSize needed = fitRect(pictureSize, box).size();
        FUZZ_CHECK(image.width() >= needed.width() && image.height() >= needed.height(), "%dx%d for %dx%d\n",
                   image.width(), image.height(), needed.width(), needed.height());
        FUZZ_CHECK(image.width() <= pictureSize.width() && image.height() <= pictureSize.height());
        scaled = pictureSize;
    } catch (const AppError&) {
    }
    FUZZ_CHECK(whole.has_value() == scaled.has_value(), "whole %d, scaled %d\n", int(whole.has_value()),
               int(scaled.has_value()));
    if (whole)
        FUZZ_CHECK(*whole == *scaled, "whole %dx%d, scaled reports %dx%d\n", whole->width(), whole->height(),
                   scaled->width(), scaled->height());
    return 0;
}
