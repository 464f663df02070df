#include "TestFiles.h"
#include "resources/Resources.h"

#include <QtTest>

namespace {

// The pixels of one row that are not the key colour, as [first, last], or (-1, -1); holes is set
// when a key pixel lies between them.
QPair<int, int> visibleRun(const QImage& image, int y, QRgb key, bool* holes)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        if ((image.pixel(x, y) & 0xFFFFFF) != (key & 0xFFFFFF)) {
            if (first < 0)
                first = x;
            else if (last != x - 1)
                *holes = true;
            last = x;
        }
    }
    return {first, last};
}

int countUnlike(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) != (colour & 0xFFFFFF);
    return n;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    // The code asks in mixed case ("StengOver"); a name that is not there gives the user's message.
    void lookup_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("found");
        QTest::newRow("capitalised") << "Skal" << true;
        QTest::newRow("mixed case with suffix") << "StengOVer" << true;
        QTest::newRow("lower case with digit") << "om1" << true;
        QTest::newRow("unknown") << "NOPE" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("prefix of a name") << "STEN" << false;
        QTest::newRow("file name of a stored picture") << "SKAL.png" << false;
        QTest::newRow("the icon is not a bitmap") << "MAINICON" << false;
    }

    void lookup()
    {
        QFETCH(QString, name);
        QFETCH(bool, found);
        const QString error = found ? QString() : QStringLiteral("Resource %1 not found").arg(name);
        QCOMPARE(errorOf([&] { QVERIFY(!Resources::image(name).isNull()); }), error);
        QCOMPARE(errorOf([&] { QVERIFY(!Resources::bitmap(name).isNull()); }), error);
        if (found)
            QCOMPARE(Resources::image(name), Resources::image(name.toUpper()));
    }

    void everyBitmapLoadsOnce()
    {
        QStringList names = Resources::bitmapNames();
        QVERIFY(!names.isEmpty());
        names.sort();
        QCOMPARE(names.removeDuplicates(), 0);
        for (const QString& name : names)
            QVERIFY2(!Resources::image(name).isNull(), qPrintable(name));
    }

    // A stored index gone wrong must give an empty item, not a crash.
    void stringsOutsideTheTableAreEmpty()
    {
        for (int id : {-1, 9, 4096})
            QCOMPARE(Resources::string(id), QString());
    }

    // A white pixel inside the outline would be a hole in the window; the arch is narrower than
    // the body, and the outline only widens towards it.
    void skinsHaveOneRunPerRow_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QRect>("visible");
        QTest::addColumn<int>("archWidth"); // at most, in the top row
        QTest::newRow("main") << "SKAL" << QRect(QPoint(4, 4), QPoint(983, 603)) << 150;
        QTest::newRow("splash") << "SPLASH" << QRect(QPoint(1, 1), QPoint(298, 122)) << 260;
    }

    void skinsHaveOneRunPerRow()
    {
        QFETCH(QString, skin);
        QFETCH(QRect, visible);
        QFETCH(int, archWidth);
        const QImage image = Resources::image(skin);
        const QRgb key = image.pixel(0, 0);
        QCOMPARE(key & 0xFFFFFF, QRgb(0xFFFFFF));
        QRect seen;
        int previousWidth = 0;
        for (int y = 0; y < image.height(); ++y) {
            bool holes = false;
            const auto [first, last] = visibleRun(image, y, key, &holes);
            QVERIFY2(!holes, qPrintable(QStringLiteral("hole in row %1").arg(y)));
            if (first < 0)
                continue;
            seen |= QRect(QPoint(first, y), QPoint(last, y));
            const int width = last - first + 1;
            if (y == visible.top())
                QVERIFY2(width <= archWidth && qAbs(first + last - image.width()) < 20, qPrintable(skin));
            if (y <= visible.top() + 10)
                QVERIFY2(width >= previousWidth, qPrintable(QStringLiteral("arch narrows at row %1").arg(y)));
            previousWidth = width;
        }
        QCOMPARE(seen, visible);
    }

    void minimiseButtonBlendsIntoTray()
    {
        // The minimise image is drawn opaque at (806, 34): its corners must be the tray's colour.
        const QImage skin = Resources::image("SKAL");
        for (const char* name : {"MIN", "MINOVER", "MINNER", "MAX"}) {
            const QImage button = Resources::image(name);
            QCOMPARE(button.pixel(0, 17), skin.pixel(806, 51));
            QCOMPARE(button.pixel(17, 0), skin.pixel(823, 34));
        }
        // The tray is light but not the key colour, so it stays part of the window.
        const QRgb tray = skin.pixel(815, 43);
        QVERIFY(qGray(tray) > 200);
        QVERIFY((tray & 0xFFFFFF) != 0xFFFFFF);
    }

    void captionStatesDiffer_data()
    {
        QTest::addColumn<QStringList>("states");
        QTest::newRow("close") << QStringList{"STENG", "STENGOVER", "STENGNER"};
        QTest::newRow("minimise") << QStringList{"MIN", "MINOVER", "MINNER"};
        QTest::newRow("about") << QStringList{"OM", "OM1", "OM2"};
    }

    void captionStatesDiffer()
    {
        QFETCH(QStringList, states);
        for (int i = 0; i < states.size(); ++i) {
            for (int j = i + 1; j < states.size(); ++j) {
                const QImage a = Resources::image(states[i]).convertToFormat(QImage::Format_RGB32);
                const QImage b = Resources::image(states[j]).convertToFormat(QImage::Format_RGB32);
                int differing = 0;
                for (int y = 0; y < a.height(); ++y)
                    for (int x = 0; x < a.width(); ++x)
                        differing += qAbs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 12;
                QVERIFY2(differing > a.width() * a.height() / 4, qPrintable(states[i] + " vs " + states[j]));
            }
        }
    }

    // Glyphs and menu bitmaps draw their bottom-left colour transparent: it must frame the
    // picture (every pixel of it reaches the border), not be part of it.
    void glyphsHaveTransparentCorner()
    {
        for (const QString& name : Resources::bitmapNames()) {
            const QImage image = Resources::image(name).convertToFormat(QImage::Format_RGB32);
            if (image.width() > 32 || name == QLatin1String("VIT"))
                continue; // the skins and the white swatch
            const QRgb key = image.pixel(0, image.height() - 1);
            const int area = image.width() * image.height();
            const int drawn = countUnlike(image, key);
            QVERIFY2(drawn >= area / 8 && drawn < area, qPrintable(name));
            QImage seen(image.size(), QImage::Format_Mono);
            seen.fill(0);
            QList<QPoint> todo;
            for (int x = 0; x < image.width(); ++x)
                todo << QPoint(x, 0) << QPoint(x, image.height() - 1);
            for (int y = 0; y < image.height(); ++y)
                todo << QPoint(0, y) << QPoint(image.width() - 1, y);
            int reached = 0;
            while (!todo.isEmpty()) {
                const QPoint p = todo.takeLast();
                if (!image.rect().contains(p) || seen.pixelIndex(p) || image.pixel(p) != key)
                    continue;
                seen.setPixel(p, 1);
                ++reached;
                todo << p + QPoint(1, 0) << p - QPoint(1, 0) << p + QPoint(0, 1) << p - QPoint(0, 1);
            }
            QVERIFY2(reached == area - drawn, qPrintable(name));
        }
    }

    void applyGlyphHasTwoImages()
    {
        const QImage both = Resources::image("DO").convertToFormat(QImage::Format_RGB32);
        const QRgb key = both.pixel(0, 15);
        const QImage enabled = both.copy(0, 0, 16, 16);
        const QImage disabled = both.copy(16, 0, 16, 16);
        QVERIFY(countUnlike(enabled, key) > 20);
        QVERIFY(countUnlike(disabled, key) > 20);
        QVERIFY(enabled != disabled);
        // The disabled image is grey: no strongly coloured pixel.
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const QColor c = disabled.pixelColor(x, y);
                if (c.rgb() != QColor(key).rgb())
                    QVERIFY2(c.saturation() < 40, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        }
    }

    void bitmapForScreenRatio_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<qreal>("expected"); // the pixmap's device pixel ratio
        QTest::addColumn<bool>("skin");      // a window's shape is cut from it
        QTest::newRow("main skin, plain screen") << "Skal" << 1.0 << 1.0 << true;
        QTest::newRow("main skin, scale 2") << "Skal" << 2.0 << 2.0 << true;
        QTest::newRow("splash, scale 1.5: the finer one") << "SPLASH" << 1.5 << 2.0 << true;
        QTest::newRow("caption button on the skin") << "StengOver" << 2.0 << 2.0 << false;
        QTest::newRow("menu glyph, scale 1.25") << "Avsluta" << 1.25 << 2.0 << false;
    }

    // On a scaled screen a skin is drawn from its finer painting, at the same logical size and
    // with exactly the shape cut from the 1x skin; a blown-up copy would be no sharper.
    void bitmapForScreenRatio()
    {
        QFETCH(QString, name);
        QFETCH(qreal, ratio);
        QFETCH(qreal, expected);
        QFETCH(bool, skin);
        const QPixmap pixmap = Resources::bitmap(name, ratio);
        const QImage plain = Resources::image(name).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(pixmap.devicePixelRatio(), expected);
        QCOMPARE(pixmap.deviceIndependentSize().toSize(), plain.size());
        if (!skin || expected == 1.0)
            return;
        const QImage fine = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb key = plain.pixel(0, 0);
        int finer = 0;
        for (int y = 0; y < fine.height(); ++y) {
            for (int x = 0; x < fine.width(); ++x) {
                const QRgb coarse = plain.pixel(x / 2, y / 2);
                if ((fine.pixel(x, y) == key) != (coarse == key))
                    QFAIL(qPrintable(QStringLiteral("shape differs at %1,%2").arg(x).arg(y)));
                finer += qAbs(qGray(fine.pixel(x, y)) - qGray(coarse)) > 8;
            }
        }
        QVERIFY2(finer > fine.width() * fine.height() / 1000, qPrintable(QString::number(finer)));
    }

    void mainIconSizes()
    {
        const QIcon icon = Resources::mainIcon();
        const QList<QSize> sizes = icon.availableSizes();
        for (int size : {48, 32, 16}) {
            QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
            const QImage image = icon.pixmap(QSize(size, size)).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            // A picture, not an empty square: most of it is painted.
            QVERIFY(countUnlike(image.convertToFormat(QImage::Format_ARGB32), 0) > size * size / 2);
        }
    }
};

QTEST_MAIN(TestResources)
#include "tst_Resources.moc"
