#include "FuzzSupport.h"
#include "picture/ExifThumbnail.h"
#include "picture/JpegStructure.h"

// The head walk and the EXIF reader hand out views that lie inside the data, and never read outside it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    const auto inside = [&](QByteArrayView v) {
        return v.isEmpty() || (v.data() >= bytes.constData() && v.data() + v.size() <= bytes.constData() + size);
    };
    // The input as a whole file and, for the deeper paths, as the TIFF block alone.
    const QByteArrayView exif = JpegStructure::head(bytes).exif;
    FUZZ_CHECK(inside(exif));
    FUZZ_CHECK(inside(ExifThumbnail::find(exif)));
    const QByteArrayView thumbnail = ExifThumbnail::find(bytes);
    FUZZ_CHECK(inside(thumbnail) && (thumbnail.isEmpty() || thumbnail.startsWith("\xFF\xD8")));
    return 0;
}
