#include "FuzzSupport.h"
#include "picture/FitRule.h"
#include "picture/Picture.h"
#include "platform/AppError.h"

#include <optional>

// Loading a .bmp file through Picture, whole and as a thumbnail: both fail or both succeed, and
// the thumbnail is the whole picture's size fitted into the box.
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
    const QByteArray bytes = bytesOf(data, size);
    const QString path = scratchFolder() + QStringLiteral("/picture.bmp");
    writeFile(path, bytes);
    const QSize box(96, 77);

    std::optional<QSize> whole;
    try {
        const Picture picture = Picture::load(path);
        FUZZ_CHECK(!picture.isNull());
        whole = QSize(picture.width(), picture.height());
    } catch (const AppError&) {
    }
    std::optional<QSize> thumbnail;
    try {
        thumbnail = Picture::loadFitted(path, box).size();
    } catch (const AppError&) {
    }
    FUZZ_CHECK(whole.has_value() == thumbnail.has_value());
    if (whole) {
        const QSize fitted = fitRect(*whole, box).size();
        FUZZ_CHECK(fitted.isEmpty() ? thumbnail->isEmpty() : *thumbnail == fitted);
    }
    return 0;
}
