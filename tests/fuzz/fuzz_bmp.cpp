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
    // The size the header claims (a negative height is a top-down bitmap).
    if (size >= 26) {
        const auto at = [&](size_t i) {
            return qint32(quint32(data[i]) | quint32(data[i + 1]) << 8 | quint32(data[i + 2]) << 16 |
                          quint32(data[i + 3]) << 24);
        };
        if (qAbs(qint64(at(18))) * qAbs(qint64(at(22))) > MaxFuzzPixels)
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
        thumbnail = Picture::loadThumbnail(path, box).size();
    } catch (const AppError&) {
    }
    FUZZ_CHECK(whole.has_value() == thumbnail.has_value());
    if (whole) {
        const QSize fitted = fitRect(*whole, box).size();
        FUZZ_CHECK(fitted.isEmpty() ? thumbnail->isEmpty() : *thumbnail == fitted);
    }
    return 0;
}
