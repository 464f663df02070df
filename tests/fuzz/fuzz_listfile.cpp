#include "FuzzSupport.h"
#include "picturelist/ListFile.h"

// A list file read, written back and read again gives the same entries, and no entry holds a
// line break or a NUL.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> entries = ListFile::parse(bytesOf(data, size));
    for (const QByteArray& entry : entries)
        FUZZ_CHECK(!entry.contains('\r') && !entry.contains('\n') && !entry.contains('\0'));
    const QByteArray written = ListFile::serialize(entries);
    FUZZ_CHECK(ListFile::parse(written) == entries);
    FUZZ_CHECK(ListFile::serialize(ListFile::parse(written)) == written);
    return 0;
}
