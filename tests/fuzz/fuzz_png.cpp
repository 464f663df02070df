#include "FuzzSupport.h"
#include "picture/FitRule.h"
#include "picture/Picture.h"
#include "platform/AppError.h"

#include <QBuffer>
#include <QImageReader>
#include <optional>

// Loading a .png file through Picture, whole and as a thumbnail: both fail or both succeed, and
// the thumbnail is the whole picture's size fitted into the box.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = bytesOf(data, size);
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const QSize claimed = QImageReader(&buffer, "png").size();
        if (qint64(claimed.width()) * claimed.height() > MaxFuzzPixels)
            return 0;
    }
    const QString path = scratchFolder() + QStringLiteral("/picture.png");
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
