#include "platform/AppError.h"
#include "resources/Resources.h"

#include <QtTest>

namespace {

enum class Depth
{
    True24,
    High16,
    Colours256,
    Colours16
};

// The pixels of one row that are not the skin's key colour, as [first, last], or (-1, -1).
QPair<int, int> visibleRun(const QImage& skin, int y, QRgb key, bool* holes)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < skin.width(); ++x) {
        if ((skin.pixel(x, y) & 0xFFFFFF) != (key & 0xFFFFFF)) {
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

Q_DECLARE_METATYPE(Depth)

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void lookupIgnoresCase_data();
    void lookupIgnoresCase();
    void unknownNameThrows_data();
    void unknownNameThrows();
    void sizeAndDepth_data();
    void sizeAndDepth();
    void namesMatchTheTable();
    void stringTable_data();
    void stringTable();
    void skinRows_data();
    void skinRows();
    void skinsHaveOneRunPerRow_data();
    void skinsHaveOneRunPerRow();
    void minimiseButtonBlendsIntoTray();
    void captionStatesDiffer_data();
    void captionStatesDiffer();
    void glyphsHaveTransparentCorner_data();
    void glyphsHaveTransparentCorner();
    void applyGlyphHasTwoImages();
    void whiteSquareIsWhite();
    void mainIconSizes();
};

void TestResources::lookupIgnoresCase_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("stored");
    QTest::newRow("capitalised skin") << "Skal"
                                      << "SKAL";
    QTest::newRow("mixed state suffix") << "StengOVer"
                                        << "STENGOVER";
    QTest::newRow("pressed minimise") << "MinNer"
                                      << "MINNER";
    QTest::newRow("lower case with digit") << "om1"
                                           << "OM1";
    QTest::newRow("splash") << "Splash"
                            << "SPLASH";
    QTest::newRow("close mark") << "Close"
                                << "CLOSE";
}

void TestResources::lookupIgnoresCase()
{
    QFETCH(QString, asked);
    QFETCH(QString, stored);
    const QImage image = Resources::image(asked);
    QVERIFY(!image.isNull());
    QCOMPARE(image, Resources::image(stored));
    const QPixmap pixmap = Resources::bitmap(asked);
    QCOMPARE(pixmap.size(), image.size());
}

void TestResources::unknownNameThrows_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("unknown") << "NOPE";
    QTest::newRow("empty") << "";
    QTest::newRow("file name of a stored picture") << "SKAL.png";
    QTest::newRow("prefix of a name") << "STEN";
    QTest::newRow("the icon is not a bitmap") << "MAINICON";
}

void TestResources::unknownNameThrows()
{
    QFETCH(QString, name);
    try {
        Resources::image(name);
        QFAIL("no error raised");
    } catch (const AppError& e) {
        QCOMPARE(e.message(), QStringLiteral("Resource %1 not found").arg(name));
    }
    QVERIFY_THROWS_EXCEPTION(AppError, Resources::bitmap(name));
}

void TestResources::sizeAndDepth_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<Depth>("depth");
    const struct
    {
        const char* name;
        int w;
        int h;
        Depth depth;
    } table[] = {
        {"SKAL", 988, 608, Depth::True24},    {"SPLASH", 300, 124, Depth::True24}, {"STENG", 18, 18, Depth::True24},
        {"STENGOVER", 18, 18, Depth::True24}, {"STENGNER", 18, 18, Depth::True24}, {"MIN", 18, 18, Depth::True24},
        {"MINOVER", 18, 18, Depth::True24},   {"MINNER", 18, 18, Depth::True24},   {"OM", 16, 16, Depth::True24},
        {"OM1", 16, 16, Depth::True24},       {"OM2", 16, 16, Depth::True24},      {"MAX", 18, 18, Depth::True24},
        {"NY", 16, 16, Depth::Colours256},    {"ADD", 16, 16, Depth::Colours16},   {"SPARA", 16, 16, Depth::True24},
        {"OPEN", 16, 16, Depth::True24},      {"AVSLUTA", 16, 16, Depth::True24},  {"START", 16, 16, Depth::Colours256},
        {"STOP", 16, 16, Depth::True24},      {"DO", 32, 16, Depth::Colours16},    {"NO", 16, 16, Depth::Colours16},
        {"DEL", 16, 16, Depth::Colours256},   {"HITTA", 16, 16, Depth::High16},    {"VIT", 16, 16, Depth::Colours256},
        {"STANDARD", 16, 16, Depth::True24},  {"SVART", 16, 16, Depth::True24},    {"CLOSE", 8, 8, Depth::Colours256},
    };
    for (const auto& row : table)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << QSize(row.w, row.h) << row.depth;
}

void TestResources::sizeAndDepth()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(Depth, depth);
    const QImage image = Resources::image(name);
    QCOMPARE(image.size(), size);
    switch (depth) {
    case Depth::True24:
        QVERIFY2(image.format() == QImage::Format_RGB888 || image.format() == QImage::Format_RGB32,
                 qPrintable(QString::number(image.format())));
        break;
    case Depth::High16:
        QCOMPARE(image.format(), QImage::Format_RGB16);
        break;
    case Depth::Colours256:
        QCOMPARE(image.format(), QImage::Format_Indexed8);
        QVERIFY(image.colorCount() <= 256);
        break;
    case Depth::Colours16:
        QCOMPARE(image.format(), QImage::Format_Indexed8);
        QVERIFY2(image.colorCount() <= 16, qPrintable(QString::number(image.colorCount())));
        break;
    }
}

void TestResources::namesMatchTheTable()
{
    QStringList names = Resources::bitmapNames();
    QCOMPARE(names.size(), 27);
    names.sort();
    QCOMPARE(names.removeDuplicates(), 0);
    for (const QString& name : names)
        QVERIFY2(!Resources::image(name).isNull(), qPrintable(name));
}

void TestResources::stringTable_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "Minut";
    QTest::newRow("1") << 1 << "Minuter";
    QTest::newRow("2") << 2 << "Timme";
    QTest::newRow("3") << 3 << "Timmar";
    QTest::newRow("4") << 4 << "Dag";
    QTest::newRow("5") << 5 << "Dagar";
    QTest::newRow("6") << 6 << "Centrerad";
    QTest::newRow("7 has spaces") << 7 << "Sida vid Sida";
    QTest::newRow("8") << 8 << "Anpassad";
    QTest::newRow("past the end") << 9 << "";
    QTest::newRow("negative") << -1 << "";
    QTest::newRow("far off") << 4096 << "";
}

void TestResources::stringTable()
{
    QFETCH(int, id);
    QFETCH(QString, text);
    const QString s = Resources::string(id);
    QCOMPARE(s, text);
    QVERIFY(!s.isNull() || text.isEmpty());
}

void TestResources::skinRows_data()
{
    // first/last visible column ranges; -1 -1 means the whole row is cut.
    QTest::addColumn<QString>("skin");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("firstMin");
    QTest::addColumn<int>("firstMax");
    QTest::addColumn<int>("lastMin");
    QTest::addColumn<int>("lastMax");
    QTest::newRow("main row 0 cut") << "SKAL" << 0 << -1 << -1 << -1 << -1;
    QTest::newRow("main row 3 cut") << "SKAL" << 3 << -1 << -1 << -1 << -1;
    QTest::newRow("main arch top ~135 wide, centred") << "SKAL" << 4 << 421 << 431 << 556 << 566;
    QTest::newRow("main arch widening") << "SKAL" << 20 << 60 << 200 << 787 << 927;
    QTest::newRow("main full width at 52") << "SKAL" << 52 << 4 << 4 << 983 << 983;
    QTest::newRow("main full width at 57") << "SKAL" << 57 << 4 << 4 << 983 << 983;
    QTest::newRow("main waist starts at 58") << "SKAL" << 58 << 5 << 8 << 979 << 982;
    QTest::newRow("main waist at 61") << "SKAL" << 61 << 5 << 10 << 977 << 982;
    QTest::newRow("main waist ends at 65") << "SKAL" << 65 << 5 << 8 << 979 << 982;
    QTest::newRow("main body at 66") << "SKAL" << 66 << 4 << 4 << 983 << 983;
    QTest::newRow("main body at 300") << "SKAL" << 300 << 4 << 4 << 983 << 983;
    QTest::newRow("main rounded corner at 603") << "SKAL" << 603 << 6 << 24 << 963 << 981;
    QTest::newRow("main row 604 cut") << "SKAL" << 604 << -1 << -1 << -1 << -1;
    QTest::newRow("main row 607 cut") << "SKAL" << 607 << -1 << -1 << -1 << -1;
    QTest::newRow("splash row 0 cut") << "SPLASH" << 0 << -1 << -1 << -1 << -1;
    QTest::newRow("splash flat arch at 1") << "SPLASH" << 1 << 20 << 90 << 209 << 279;
    QTest::newRow("splash full width at 10") << "SPLASH" << 10 << 1 << 1 << 298 << 298;
    QTest::newRow("splash body at 60") << "SPLASH" << 60 << 1 << 1 << 298 << 298;
    QTest::newRow("splash bottom row 122") << "SPLASH" << 122 << 2 << 12 << 287 << 297;
    QTest::newRow("splash row 123 cut") << "SPLASH" << 123 << -1 << -1 << -1 << -1;
}

void TestResources::skinRows()
{
    QFETCH(QString, skin);
    QFETCH(int, row);
    QFETCH(int, firstMin);
    QFETCH(int, firstMax);
    QFETCH(int, lastMin);
    QFETCH(int, lastMax);
    const QImage image = Resources::image(skin);
    const QRgb key = image.pixel(0, 0);
    QCOMPARE(key & 0xFFFFFF, QRgb(0xFFFFFF));
    bool holes = false;
    const auto [first, last] = visibleRun(image, row, key, &holes);
    QVERIFY2(first >= firstMin && first <= firstMax, qPrintable(QStringLiteral("first %1").arg(first)));
    QVERIFY2(last >= lastMin && last <= lastMax, qPrintable(QStringLiteral("last %1").arg(last)));
    QVERIFY(!holes);
}

void TestResources::skinsHaveOneRunPerRow_data()
{
    QTest::addColumn<QString>("skin");
    QTest::addColumn<QRect>("visible");
    QTest::newRow("main") << "SKAL" << QRect(QPoint(4, 4), QPoint(983, 603));
    QTest::newRow("splash") << "SPLASH" << QRect(QPoint(1, 1), QPoint(298, 122));
}

// A white pixel inside the outline would be a hole in the window; rows must also narrow
// only towards the top and bottom so the outline stays convex where it should.
void TestResources::skinsHaveOneRunPerRow()
{
    QFETCH(QString, skin);
    QFETCH(QRect, visible);
    const QImage image = Resources::image(skin);
    const QRgb key = image.pixel(0, 0);
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
        if (y <= visible.top() + 10)
            QVERIFY2(width >= previousWidth, qPrintable(QStringLiteral("arch narrows at row %1").arg(y)));
        previousWidth = width;
    }
    QCOMPARE(seen, visible);
}

void TestResources::minimiseButtonBlendsIntoTray()
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

void TestResources::captionStatesDiffer_data()
{
    QTest::addColumn<QStringList>("states");
    QTest::newRow("close") << QStringList{"STENG", "STENGOVER", "STENGNER"};
    QTest::newRow("minimise") << QStringList{"MIN", "MINOVER", "MINNER"};
    QTest::newRow("about") << QStringList{"OM", "OM1", "OM2"};
}

void TestResources::captionStatesDiffer()
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

void TestResources::glyphsHaveTransparentCorner_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name :
         {"STENG",   "STENGOVER", "STENGNER", "OM", "OM1", "OM2", "NY",    "ADD",      "SPARA", "OPEN",
          "AVSLUTA", "START",     "STOP",     "DO", "NO",  "DEL", "HITTA", "STANDARD", "SVART", "CLOSE"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// The bottom-left colour is drawn transparent: it must frame the glyph, not be part of it.
void TestResources::glyphsHaveTransparentCorner()
{
    QFETCH(QString, name);
    const QImage image = Resources::image(name).convertToFormat(QImage::Format_RGB32);
    const QRgb key = image.pixel(0, image.height() - 1);
    const int area = image.width() * image.height();
    const int drawn = countUnlike(image, key);
    QVERIFY2(drawn >= area / 8, qPrintable(QString::number(drawn)));
    QVERIFY2(drawn < area, "nothing left transparent");
    // No key-coloured island in the glyph: every key pixel connects to the border.
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
    QCOMPARE(reached, area - drawn);
}

void TestResources::applyGlyphHasTwoImages()
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

void TestResources::whiteSquareIsWhite()
{
    const QImage white = Resources::image("VIT");
    QCOMPARE(countUnlike(white.convertToFormat(QImage::Format_RGB32), 0xFFFFFF), 0);
}

void TestResources::mainIconSizes()
{
    const QIcon icon = Resources::mainIcon();
    QVERIFY(!icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {48, 32, 16}) {
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
        const QImage image = icon.pixmap(QSize(size, size)).toImage();
        QCOMPARE(image.size(), QSize(size, size));
        // A picture, not an empty square: most of it is painted.
        QVERIFY(countUnlike(image.convertToFormat(QImage::Format_ARGB32), 0) > size * size / 2);
    }
}

QTEST_MAIN(TestResources)
#include "tst_Resources.moc"
