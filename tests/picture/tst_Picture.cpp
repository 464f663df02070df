#include "TestFiles.h"
#include "TestPictures.h"
#include "picture/Picture.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <future>
#include <jerror.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestPictures;

namespace {

QString jpegError(int code)
{
    return QStringLiteral("JPEG error #%1").arg(code);
}

// A 24-bit BMP header that promises a picture of the given size, followed by a few pixels only.
QByteArray bmpClaiming(int width, int height)
{
    QByteArray bmp = encoded(halves(4, 4), "bmp");
    const auto put32 = [&](int offset, qint32 v) {
        for (int i = 0; i < 4; ++i)
            bmp[offset + i] = char((v >> (8 * i)) & 0xFF);
    };
    put32(18, width);
    put32(22, height);
    return bmp;
}

// A JPEG whose frame header promises the given size.
QByteArray jpegClaiming(int width, int height)
{
    QByteArray bytes = jpeg(halves(16, 16), JpegKind::Baseline420);
    const qsizetype sof = bytes.indexOf(QByteArray::fromHex("ffc0"));
    bytes[sof + 5] = char(height >> 8);
    bytes[sof + 6] = char(height & 0xFF);
    bytes[sof + 7] = char(width >> 8);
    bytes[sof + 8] = char(width & 0xFF);
    return bytes;
}

// The LZW data of the first frame starts after the header, the 256-colour table, the graphic
// control block, the image descriptor, the code size and the first block's length.
constexpr int gifLzwStart = 6 + 7 + 768 + 8 + 10 + 1 + 1;

QByteArray gifWithBrokenLzw()
{
    QByteArray bytes = gif(40, 30, {qRgb(255, 0, 0)});
    // After the clear code, codes that the table does not hold yet.
    for (int i = 2; i < 40; ++i)
        bytes[gifLzwStart + i] = char(0xFF);
    return bytes;
}

// A GIF of 40 x 30 whose logical screen or first frame promises 60000 x 60000.
QByteArray gifClaiming(bool screen)
{
    QByteArray bytes = gif(40, 30, {qRgb(255, 0, 0)});
    const int at = screen ? 6 : 6 + 7 + 768 + 8 + 5;
    const QByteArray size = QByteArray::fromHex("60ea60ea"); // 60000, 60000 little-endian
    bytes.replace(at, 4, size);
    return bytes;
}

} // namespace

class TestPicture : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString put(const QString& name, const QByteArray& bytes) { return TestPictures::put(m_dir.filePath(name), bytes); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void decoderChosenByExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");

        const QImage pic = halves(40, 30);
        const QByteArray jpg = jpeg(pic, JpegKind::Baseline420);
        QTest::newRow("jpg") << "a.jpg" << jpg;
        QTest::newRow("JPG in capitals") << "b.JPG" << jpg;
        QTest::newRow("jpeg, four letters") << "c.jpeg" << jpg;
        QTest::newRow("JpEg mixed case") << "d.JpEg" << jpg;
        QTest::newRow("bmp") << "e.bmp" << encoded(pic, "bmp");
        QTest::newRow("Bmp") << "f.Bmp" << encoded(pic, "bmp");
        QTest::newRow("png") << "g.png" << encoded(pic, "png");
        QTest::newRow("PNG") << "h.PNG" << encoded(pic, "png");
        QTest::newRow("dot in folder name") << "bilder.2024/i.jpg" << jpg;
        QTest::newRow("several dots in name") << "j.tar.bmp" << encoded(pic, "bmp");
        QTest::newRow("non-ASCII name") << "Sjö.jpg" << jpg;
    }

    void decoderChosenByExtension()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const Picture picture = Picture::load(put(name, bytes));
        QCOMPARE(picture.width(), 40);
        QCOMPARE(picture.height(), 30);
        QVERIFY(near(picture.image().pixel(5, 15), qRgb(255, 0, 0)));
        QVERIFY(near(picture.image().pixel(35, 15), qRgb(0, 0, 255)));
    }

    void gifShowsItsFirstFrame_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray animated = gif(300, 10, {qRgb(0, 255, 0), qRgb(255, 0, 255)});
        QTest::newRow("two frames") << animated;
        // Readers everywhere accept a GIF whose trailer or rest after the first frame is missing.
        QTest::newRow("second frame cut off") << animated.left(animated.size() - 100);
        QTest::newRow("one frame, no trailer") << gif(300, 10, {qRgb(0, 255, 0)}).chopped(1);
    }

    void gifShowsItsFirstFrame()
    {
        QFETCH(QByteArray, bytes);
        const Picture picture = Picture::load(put("anim.GIF", bytes));
        QCOMPARE(picture.image().size(), QSize(300, 10));
        QCOMPARE(picture.image().pixel(0, 0), qRgb(0, 255, 0));
        QCOMPARE(picture.image().pixel(299, 9), qRgb(0, 255, 0));
    }

    void unknownExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("tif") << "a.tif"
                             << "Unknown picture file extension (.tif)";
        QTest::newRow("written as it is") << "a.TiFF"
                                          << "Unknown picture file extension (.TiFF)";
        QTest::newRow("no extension") << "utan"
                                      << "Unknown picture file extension (.)";
        QTest::newRow("trailing dot") << "utan."
                                      << "Unknown picture file extension (.)";
        QTest::newRow("dot only in folder name") << "mapp.jpg/utan"
                                                 << "Unknown picture file extension (.)";
        QTest::newRow("last suffix counts") << "a.jpg.bak"
                                            << "Unknown picture file extension (.bak)";
        QTest::newRow("jpe is not jpeg") << "a.jpe"
                                         << "Unknown picture file extension (.jpe)";
    }

    void unknownExtension()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        // The file holds a good JPEG: only the extension can make it fail.
        const QString path = put(name, jpeg(halves(8, 8), JpegKind::Baseline420));
        QCOMPARE(errorOf([&] { Picture::load(path); }), expected);
        QCOMPARE(errorOf([&] { Picture::loadFitted(path, QSize(10, 10)); }), expected);
        // The extension is judged before the file is looked for.
        QCOMPARE(errorOf([&] { Picture::load(m_dir.filePath("saknas/" + name)); }), expected);
    }

    // A pipe would block the reader for ever and a device would fill the memory.
    void unreadableFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind"); // "missing", "pipe", "folder", else the target of a link
        QTest::addColumn<QString>("reason");
        const QString irregular = QStringLiteral("Det är ingen vanlig fil.");
        QTest::newRow("missing jpg") << "saknas.jpg"
                                     << "missing"
                                     << "No such file or directory";
        QTest::newRow("missing gif in a missing folder") << "mapp/saknas.gif"
                                                         << "missing"
                                                         << "No such file or directory";
        QTest::newRow("pipe named x.gif") << "x.gif"
                                          << "pipe" << irregular;
        QTest::newRow("pipe named x.jpg") << "x.jpg"
                                          << "pipe" << irregular;
        QTest::newRow("/dev/zero named x.jpg") << "zero.jpg"
                                               << "/dev/zero" << irregular;
        QTest::newRow("/dev/urandom named x.png") << "random.png"
                                                  << "/dev/urandom" << irregular;
        QTest::newRow("folder named x.jpg") << "mapp.jpg"
                                            << "folder" << irregular;
    }

    void unreadableFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString path = m_dir.filePath(name);
        int writer = -1;
        if (kind == "pipe") {
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            // Held open for writing, so a reader that opens it waits for data that never comes.
            writer = open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK);
            QVERIFY(writer >= 0);
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (kind != "missing") {
            QVERIFY(QFile::link(kind, path));
        }
        auto load = std::async(std::launch::async, [&] {
            return QStringList{errorOf([&] { Picture::load(path); }),
                               errorOf([&] { Picture::loadFitted(path, QSize(96, 77)); })};
        });
        const bool finished = load.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        if (writer >= 0)
            ::close(writer); // lets a blocked reader end
        QVERIFY2(finished, "reading did not end");
        const QString expected = QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason);
        QCOMPARE(load.get(), QStringList({expected, expected}));
    }

    void undecodableData_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");

        const QImage pic = halves(64, 48);
        const QByteArray baseline = jpeg(pic, JpegKind::Baseline420);
        const QByteArray progressive = jpeg(pic, JpegKind::Progressive420);
        const QByteArray png = encoded(pic, "png");
        const QByteArray bmp = encoded(pic, "bmp");
        const QByteArray goodGif = gif(40, 30, {qRgb(255, 0, 0)});

        QTest::newRow("empty jpg") << "a.jpg" << QByteArray() << jpegError(JERR_INPUT_EMPTY);
        QTest::newRow("baseline cut in half")
            << "b.jpg" << baseline.left(baseline.size() / 2) << jpegError(JWRN_JPEG_EOF);
        QTest::newRow("progressive cut in half")
            << "c.jpeg" << progressive.left(progressive.size() / 2) << jpegError(JWRN_JPEG_EOF);
        QTest::newRow("cut inside the header") << "d.jpg" << baseline.left(100) << jpegError(JWRN_JPEG_EOF);
        QTest::newRow("jpg holding a PNG") << "e.jpg" << png << jpegError(JERR_NO_SOI);
        QTest::newRow("jpg claiming 60000 x 60000")
            << "f.jpg" << jpegClaiming(60000, 60000) << jpegError(JERR_IMAGE_TOO_BIG);
        QTest::newRow("jpg of 384 scans")
            << "h.jpg" << jpeg(pic, JpegKind::ManyScans) << jpegError(JERR_BAD_PROGRESSION);
        QTest::newRow("jpg claiming zero width") << "g.jpg" << jpegClaiming(0, 16) << jpegError(JERR_EMPTY_IMAGE);

        QTest::newRow("empty bmp") << "a.bmp" << QByteArray() << "Bitmap image is not valid";
        QTest::newRow("bmp claiming 60000 x 60000")
            << "b.bmp" << bmpClaiming(60000, 60000) << "Bitmap image is not valid";
        QTest::newRow("bmp cut short") << "c.bmp" << bmp.left(40) << "Bitmap image is not valid";
        QTest::newRow("bmp holding a PNG") << "d.bmp" << png << "Bitmap image is not valid";

        QTest::newRow("empty gif") << "a.gif" << QByteArray() << "GIF image is not valid";
        QTest::newRow("gif with broken LZW stream") << "b.gif" << gifWithBrokenLzw() << "GIF image is not valid";
        QTest::newRow("gif cut inside its LZW data")
            << "e.gif" << goodGif.left(gifLzwStart + 300) << "GIF image is not valid";
        QTest::newRow("gif frame claiming 60000 x 60000") << "f.gif" << gifClaiming(false) << "GIF image is not valid";
        QTest::newRow("gif screen claiming 60000 x 60000") << "g.gif" << gifClaiming(true) << "GIF image is not valid";
        QTest::newRow("gif cut inside its colour table") << "c.gif" << goodGif.left(300) << "GIF image is not valid";
        QTest::newRow("gif holding a JPEG") << "d.gif" << baseline << "GIF image is not valid";

        QTest::newRow("empty png") << "a.png" << QByteArray() << "PNG image is not valid";
        QTest::newRow("png cut in half") << "b.png" << png.left(png.size() / 2) << "PNG image is not valid";
        QTest::newRow("png holding a BMP") << "c.png" << bmp << "PNG image is not valid";
    }

    void undecodableData()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const QString path = put(name, bytes);
        QCOMPARE(errorOf([&] { Picture::load(path); }), expected);
        QCOMPARE(errorOf([&] { Picture::loadFitted(path, QSize(96, 77)); }), expected);
    }

    void jpegKinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QSize>("size");
        QTest::newRow("baseline 4:2:0") << int(JpegKind::Baseline420) << QSize(64, 48);
        QTest::newRow("baseline 4:4:4") << int(JpegKind::Baseline444) << QSize(64, 48);
        QTest::newRow("progressive") << int(JpegKind::Progressive420) << QSize(64, 48);
        QTest::newRow("progressive, odd size") << int(JpegKind::Progressive420) << QSize(77, 33);
        QTest::newRow("Adobe CMYK") << int(JpegKind::AdobeCmyk) << QSize(64, 48);
    }

    void jpegKinds()
    {
        QFETCH(int, kind);
        QFETCH(QSize, size);
        const QString path =
            put(QStringLiteral("kind%1.jpg").arg(kind), jpeg(halves(size.width(), size.height()), JpegKind(kind)));
        const QImage image = Picture::load(path).image();
        QCOMPARE(image.size(), size);
        const int y = size.height() / 2;
        QVERIFY2(near(image.pixel(4, y), qRgb(255, 0, 0)), qPrintable(QString::number(image.pixel(4, y), 16)));
        QVERIFY(near(image.pixel(size.width() - 5, y), qRgb(0, 0, 255)));
        QVERIFY(image.pixel(4, y) >> 24 == 0xFF); // opaque
    }

    void greyJpeg()
    {
        QImage source(32, 32, QImage::Format_RGB32);
        source.fill(qRgb(200, 200, 200));
        QPainter(&source).fillRect(0, 0, 16, 32, QColor(40, 40, 40));
        const QImage image = Picture::load(put("grey.jpg", jpeg(source, JpegKind::Grey))).image();
        QVERIFY(near(image.pixel(4, 16), qRgb(40, 40, 40), 8));
        QVERIFY(near(image.pixel(28, 16), qRgb(200, 200, 200), 8));
    }

    // reduced: what is decoded before the fit, the smallest DCT scale n/8 that covers the box.
    void thumbnailSizes_data()
    {
        QTest::addColumn<QString>("ext");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("reduced");
        QTest::addColumn<QSize>("expected");
        const int progressive = int(JpegKind::Progressive420);
        const int baseline = int(JpegKind::Baseline420);
        QTest::newRow("jpg 800x600 into 80x60")
            << "jpg" << baseline << QSize(800, 600) << QSize(80, 60) << QSize(100, 75) << QSize(80, 60);
        QTest::newRow("jpg 40x30 not enlarged")
            << "jpg" << baseline << QSize(40, 30) << QSize(80, 60) << QSize(40, 30) << QSize(40, 30);
        QTest::newRow("jpg at 1/8 still covers the box")
            << "jpg" << baseline << QSize(1600, 1200) << QSize(96, 77) << QSize(200, 150) << QSize(96, 72);
        QTest::newRow("jpg at 3/8 for a preview box")
            << "jpg" << baseline << QSize(800, 600) << QSize(300, 225) << QSize(300, 225) << QSize(300, 225);
        QTest::newRow("jpg just big enough at 4/8")
            << "jpg" << baseline << QSize(191, 100) << QSize(96, 77) << QSize(96, 50) << QSize(96, 50);
        QTest::newRow("progressive tall")
            << "jpeg" << progressive << QSize(300, 1200) << QSize(96, 77) << QSize(38, 150) << QSize(19, 77);
        QTest::newRow("progressive odd size")
            << "jpg" << progressive << QSize(1001, 999) << QSize(96, 77) << QSize(126, 125) << QSize(77, 77);
        QTest::newRow("bmp wide") << "bmp" << 0 << QSize(1000, 200) << QSize(96, 77) << QSize(1000, 200)
                                  << QSize(96, 19);
        QTest::newRow("png fits") << "png" << 0 << QSize(96, 77) << QSize(96, 77) << QSize(96, 77) << QSize(96, 77);
    }

    void thumbnailSizes()
    {
        QFETCH(QString, ext);
        QFETCH(int, kind);
        QFETCH(QSize, picture);
        QFETCH(QSize, box);
        QFETCH(QSize, reduced);
        QFETCH(QSize, expected);
        const QImage source = halves(picture.width(), picture.height());
        const QByteArray bytes = ext.startsWith(u'j') ? jpeg(source, JpegKind(kind)) : encoded(source, qPrintable(ext));
        const QString path = put(QTest::currentDataTag() + ("." + ext), bytes);
        const Picture::Reduced decoded = Picture::loadReduced(path, box);
        QCOMPARE(decoded.image.size(), reduced);
        QCOMPARE(decoded.pictureSize, picture);
        // Stopping a progressive file after its DC scans gives the same picture at 1/8.
        for (Picture::Scans scans : {Picture::Scans::All, Picture::Scans::Enough}) {
            const QImage thumb = Picture::loadFitted(path, box, scans);
            QCOMPARE(thumb.size(), expected);
            QVERIFY(near(thumb.pixel(1, thumb.height() / 2), qRgb(255, 0, 0)));
            QVERIFY(near(thumb.pixel(thumb.width() - 2, thumb.height() / 2), qRgb(0, 0, 255)));
        }
    }

    // A progressive file damaged after its DC scans: the thumbnail at 1/8 fails as the preview and
    // the popup do, so no picture shows in the list that cannot be shown large or applied.
    void damagedProgressive_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("thumbnailShown");
        const QByteArray good = jpeg(halves(800, 600), JpegKind::Progressive420);

        QByteArray badTable = good; // the last scan's Huffman table claims more codes than exist
        const qsizetype dht = badTable.lastIndexOf(QByteArray::fromHex("ffc4"));
        badTable[dht + 5] = char(0xFF);
        QTest::newRow("broken table of the last scan") << badTable << jpegError(JERR_BAD_HUFF_TABLE) << false;

        QTest::newRow("cut after two thirds") << good.left(good.size() * 2 / 3) << jpegError(JWRN_JPEG_EOF) << false;

        QByteArray badStep = good; // the last scan's successive approximation jumps two bits
        const qsizetype sos = badStep.lastIndexOf(QByteArray::fromHex("ffda"));
        const int components = badStep[sos + 4];
        badStep[sos + 4 + 2 * components + 3] = char(0x20);
        QTest::newRow("illegal last progression step") << badStep << jpegError(JERR_BAD_PROGRESSION) << false;
    }

    void damagedProgressive()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        QFETCH(bool, thumbnailShown);
        const QString path = put(QStringLiteral("%1.jpg").arg(QTest::currentDataTag()), bytes);
        QCOMPARE(errorOf([&] { Picture::load(path); }), error);
        QCOMPARE(errorOf([&] { Picture::loadFitted(path, QSize(300, 225)); }), error);
        if (!thumbnailShown) {
            QCOMPARE(errorOf([&] { Picture::loadFitted(path, QSize(72, 55), Picture::Scans::Enough); }), error);
            return;
        }
        const QImage thumb = Picture::loadFitted(path, QSize(72, 55), Picture::Scans::Enough);
        QCOMPARE(thumb.size(), QSize(72, 54));
        QVERIFY(near(thumb.pixel(2, 27), qRgb(255, 0, 0)));
        QVERIFY(near(thumb.pixel(69, 27), qRgb(0, 0, 255)));
    }

    void drawStretchesIntoTarget()
    {
        const Picture picture(halves(4, 2));
        QImage canvas(100, 50, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QPainter p(&canvas);
        picture.draw(p, QRect(10, 10, 80, 20));
        p.end();
        QCOMPARE(canvas.pixel(5, 5), qRgb(255, 255, 255));
        QCOMPARE(canvas.pixel(12, 28), qRgb(255, 0, 0));
        QCOMPARE(canvas.pixel(88, 12), qRgb(0, 0, 255));
        QCOMPARE(canvas.pixel(95, 20), qRgb(255, 255, 255));
    }
};

QTEST_APPLESS_MAIN(TestPicture)
#include "tst_Picture.moc"
