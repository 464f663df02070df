#include "PictureFuzz.h"

// Loading a .bmp file through Picture, whole and as a thumbnail (see checkWholeAndFitted).
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The size the header claims: 16-bit fields in the old 12-byte header, else 32-bit ones (a
    // negative height is a top-down bitmap).
    if (size >= 26) {
        const auto word = [&](size_t i) { return qint64(data[i] | data[i + 1] << 8); };
        const auto dword = [&](size_t i) { return qint64(qint32(quint32(word(i)) | quint32(word(i + 2)) << 16)); };
        const bool core = dword(14) == 12;
        const qint64 width = core ? word(18) : qAbs(dword(18));
        const qint64 height = core ? word(20) : qAbs(dword(22));
        if (width * height > MaxFuzzPixels)
            return 0;
    }
    checkWholeAndFitted(bytesOf(data, size), QStringLiteral("bmp"));
    return 0;
}
