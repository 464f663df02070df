#include "FuzzSupport.h"
#include "picture/ExifThumbnail.h"
#include "picture/JpegStructure.h"

// The head walk and the EXIF reader (on the file or the block alone) hand out views inside the data.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    for (QByteArrayView v : {JpegStructure::head(bytes).exif, ExifThumbnail::find(JpegStructure::head(bytes).exif),
                             ExifThumbnail::find(bytes)})
        FUZZ_CHECK(v.isEmpty() || (v.data() >= bytes.constData() && v.data() + v.size() <= bytes.constData() + size));
    return 0;
}
