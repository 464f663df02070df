#include "SkinRegion.h"

#include "resources/Resources.h"

#include <QLabel>
#include <QPixmap>
#include <QVector>
#include <QWidget>
#include <cstring>

QRegion BuildSkinRegion(const QImage& bitmap)
{
    const QImage image = bitmap.convertToFormat(QImage::Format_RGB888);
    const int width = image.width();
    const int height = image.height();
    if (width <= 0 || height <= 0)
        return {};

    unsigned char key[3];
    std::memcpy(key, image.constScanLine(0), 3);

    // One rectangle per run of kept pixels. Rows whose runs repeat the row above only make
    // the band above taller, which gives the banded form QRegion::setRects expects.
    QVector<QRect> rects;
    QVector<QRect> rowRuns;
    qsizetype bandStart = 0;
    for (int y = 0; y < height; ++y) {
        const uchar* row = image.constScanLine(y);
        rowRuns.clear();
        int start = -1;
        for (int x = 0; x < width; ++x) {
            const bool cut = std::memcmp(row + 3 * x, key, 3) == 0;
            if (!cut && start < 0) {
                start = x;
            } else if (cut && start >= 0) {
                rowRuns.append(QRect(start, y, x - start, 1));
                start = -1;
            }
        }
        if (start >= 0)
            rowRuns.append(QRect(start, y, width - start, 1));

        const qsizetype bandSize = rects.size() - bandStart;
        bool sameAsBand = !rowRuns.isEmpty() && bandSize == rowRuns.size() && rects.at(bandStart).bottom() == y - 1;
        for (qsizetype i = 0; sameAsBand && i < bandSize; ++i) {
            const QRect& above = rects.at(bandStart + i);
            sameAsBand = above.left() == rowRuns.at(i).left() && above.right() == rowRuns.at(i).right();
        }
        if (sameAsBand) {
            for (qsizetype i = bandStart; i < rects.size(); ++i)
                rects[i].setBottom(y);
        } else if (!rowRuns.isEmpty()) {
            bandStart = rects.size();
            rects.append(rowRuns);
        }
    }

    QRegion region;
    if (!rects.isEmpty())
        region.setRects(rects.constData(), int(rects.size()));
    return region;
}

void setSkinShape(QWidget* window, const QRegion& region)
{
    // Qt paints a window with a mask only inside it and clears a translucent window's buffer to
    // transparent before each paint, so the cut-away pixels keep alpha 0.
    window->setAttribute(Qt::WA_TranslucentBackground);
    window->setMask(region);
}

QRegion applySkin(QWidget* window, QLabel* skinImage, const QString& resourceName)
{
    const QImage skin = Resources::image(resourceName).convertToFormat(QImage::Format_RGB888);
    const QRegion region = BuildSkinRegion(skin);
    skinImage->setPixmap(Resources::bitmap(resourceName, window->devicePixelRatio())); // sharp when scaled
    skinImage->setGeometry(0, 0, skin.width(), skin.height());
    // Fixed, so a window manager on a small screen moves the window rather than cutting its skin.
    window->setFixedSize(skin.size());
    setSkinShape(window, region);
    return region;
}
