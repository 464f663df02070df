#include "PictureFuzz.h"

#include <QBuffer>
#include <QImageReader>

// Loading a .png file through Picture, whole and as a thumbnail (see checkWholeAndFitted).
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
    checkWholeAndFitted(bytes, QStringLiteral("png"));
    return 0;
}
