#include "toolkit/SkinRegion.h"

#include <QPainter>
#include <QTest>

namespace {

// A picture drawn from rows of characters: '.' is white (the usual key colour), '#' black,
// 'b' white but for a blue byte of 0xFE, 'r' red.
QImage picture(const QStringList& rows, QImage::Format format = QImage::Format_RGB888)
{
    const int height = int(rows.size());
    const int width = height ? int(rows.first().size()) : 0;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            QRgb colour = qRgb(255, 255, 255);
            switch (rows[y][x].toLatin1()) {
            case '#':
                colour = qRgb(0, 0, 0);
                break;
            case 'b':
                colour = qRgb(255, 255, 254);
                break;
            case 'r':
                colour = qRgb(255, 0, 0);
                break;
            default:
                break;
            }
            image.setPixel(x, y, colour);
        }
    }
    return image.convertToFormat(format);
}

// The pixels a region keeps, drawn the same way ('#' kept, '.' cut).
QStringList kept(const QRegion& region, QSize size)
{
    QStringList rows;
    for (int y = 0; y < size.height(); ++y) {
        QString row;
        for (int x = 0; x < size.width(); ++x)
            row += region.contains(QPoint(x, y)) ? u'#' : u'.';
        rows << row;
    }
    return rows;
}

} // namespace

class TestSkinRegion : public QObject
{
    Q_OBJECT

private slots:
    void keyColourPixelsAreCut_data()
    {
        QTest::addColumn<QStringList>("skin");
        QTest::addColumn<QStringList>("expected");

        // Nothing of a one-coloured window is visible, whatever that colour is.
        QTest::newRow("all white") << QStringList{"....", "....", "...."} << QStringList{"....", "....", "...."};
        QTest::newRow("all black") << QStringList{"###", "###"} << QStringList{"...", "..."};
        // The key colour is the top-left pixel's; here it is red, and white stays.
        QTest::newRow("red key") << QStringList{"r..r", "rr.r"} << QStringList{".##.", "..#."};
        QTest::newRow("run reaching the right edge is cut to the last column")
            << QStringList{".##...", ".#...."} << QStringList{".##...", ".#...."};
        QTest::newRow("run ending before another colour keeps that pixel")
            << QStringList{"...#", "#..#"} << QStringList{"...#", "#..#"};
        QTest::newRow("single key pixel inside becomes a hole")
            << QStringList{".####", "##.##", "#####"} << QStringList{".####", "##.##", "#####"};
        QTest::newRow("one byte off the key stays visible") << QStringList{".b.", "bbb"} << QStringList{".#.", "###"};
        QTest::newRow("top-left pixel always cut") << QStringList{".#", "##"} << QStringList{".#", "##"};
        QTest::newRow("single kept pixels") << QStringList{"...", ".#.", "..."} << QStringList{"...", ".#.", "..."};
        QTest::newRow("several runs per row") << QStringList{".#.#.#", "#.#.#."} << QStringList{".#.#.#", "#.#.#."};
        QTest::newRow("one pixel wide") << QStringList{".", "#", "."} << QStringList{".", "#", "."};
        QTest::newRow("whole key rows between kept ones are cut")
            << QStringList{"..##", "....", "..##", "..##", ".###"}
            << QStringList{"..##", "....", "..##", "..##", ".###"};
    }

    void keyColourPixelsAreCut()
    {
        QFETCH(QStringList, skin);
        QFETCH(QStringList, expected);
        const QImage image = picture(skin);
        const QRegion region = BuildSkinRegion(image);
        QCOMPARE(kept(region, image.size()), expected);
        QVERIFY(QRect(QPoint(0, 0), image.size()).contains(region.boundingRect()) || region.isEmpty());
    }

    void otherPixelFormatsAreReadAsTwentyFourBits_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("indexed 8 bits") << int(QImage::Format_Indexed8);
        QTest::newRow("16 bits") << int(QImage::Format_RGB16);
        QTest::newRow("32 bits") << int(QImage::Format_RGB32);
        QTest::newRow("with alpha") << int(QImage::Format_ARGB32);
    }

    void otherPixelFormatsAreReadAsTwentyFourBits()
    {
        QFETCH(int, format);
        const QStringList rows{"..##.", "#.#..", "###.#"};
        const QImage image = picture(rows, QImage::Format(format));
        QCOMPARE(kept(BuildSkinRegion(image), image.size()), rows);
    }

    void emptyBitmapGivesEmptyRegion() { QVERIFY(BuildSkinRegion(QImage()).isEmpty()); }

    // A skin of the main window's size with an arch: the region must equal, pixel for pixel,
    // what a plain per-pixel reading of the rule gives.
    void largeSkinMatchesThePixelRule()
    {
        QImage image(988, 608, QImage::Format_RGB888);
        image.fill(Qt::white);
        for (int y = 4; y < 604; ++y) {
            const int half = y < 52 ? 67 + (y - 4) * 9 : 490;
            for (int x = qMax(4, 494 - half); x < qMin(984, 494 + half); ++x)
                image.setPixelColor(x, y, (x * 7 + y * 3) % 97 == 0 ? QColor(Qt::white) : QColor(20, 60, 160));
        }
        const QRegion region = BuildSkinRegion(image);
        QImage shown(image.size(), QImage::Format_RGB32);
        shown.fill(Qt::white);
        {
            QPainter painter(&shown);
            for (const QRect& rect : region)
                painter.fillRect(rect, Qt::black);
        }
        const QRgb key = image.pixel(0, 0);
        int mismatches = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                mismatches += (shown.pixel(x, y) == qRgb(0, 0, 0)) == (image.pixel(x, y) == key);
        }
        QCOMPARE(mismatches, 0);
        QCOMPARE(region.boundingRect(), QRect(4, 4, 980, 600));
    }
};

QTEST_APPLESS_MAIN(TestSkinRegion)
#include "tst_SkinRegion.moc"
