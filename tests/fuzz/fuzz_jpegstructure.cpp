#include "FuzzSupport.h"
#include "picture/JpegStructure.h"

// The marker walk never reads outside the data and counts the same scans whatever its limit, up
// to the limit and one more.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    const int all = JpegStructure::scanCount(bytes, 1 << 20);
    FUZZ_CHECK(all >= 0 && qsizetype(all) * 4 <= bytes.size());
    for (int limit : {0, 1, 3, 64}) {
        const int counted = JpegStructure::scanCount(bytes, limit);
        FUZZ_CHECK(counted == qMin(all, limit + 1), "limit %d: %d of %d\n", limit, counted, all);
    }
    return 0;
}
