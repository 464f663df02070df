#include "TestPictures.h"
#include "picture/ThumbnailCache.h"
#include "picture/ThumbnailLoader.h"
#include "platform/AppError.h"

#include <QDataStream>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

using namespace TestPictures;

class TestExifThumbnail : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // The JPEG with an EXIF segment whose IFD1 points at preview (shifted by `shift` bytes).
    static QByteArray withPreview(const QByteArray& jpeg, const QByteArray& preview, bool bigEndian, quint32 shift)
    {
        QByteArray tiff;
        {
            QDataStream s(&tiff, QIODevice::WriteOnly);
            s.setByteOrder(bigEndian ? QDataStream::BigEndian : QDataStream::LittleEndian);
            s.writeRawData(bigEndian ? "MM" : "II", 2);
            s << quint16(42) << quint32(8) << quint16(0) << quint32(14) << quint16(2) << quint16(0x201) << quint16(4)
              << quint32(1) << quint32(44 + shift) << quint16(0x202) << quint16(4) << quint32(1)
              << quint32(preview.size()) << quint32(0);
        }
        const QByteArray body = QByteArray("Exif\0\0", 6) + tiff + preview;
        const int length = int(body.size()) + 2;
        return jpeg.left(2) + "\xFF\xE1" + char(length >> 8) + char(length & 0xFF) + body + jpeg.mid(2);
    }

private slots:
    // A camera's preview (green here) stands in for the picture (red and blue) only when it covers
    // the card's device pixels and has the picture's proportions; otherwise the picture is decoded.
    void previewOrDecode_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("preview");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("cached"); // a normal or large thumbnail is written, with the picture's size
        const QSize pic(800, 600), camera(160, 120);
        QTest::newRow("camera preview") << pic << camera << "" << 1.0 << "preview" << true;
        QTest::newRow("big-endian block") << pic << camera << "mm" << 1.0 << "preview" << true;
        QTest::newRow("covers the card, not the cache's size")
            << pic << QSize(96, 72) << "" << 1.0 << "preview" << false;
        QTest::newRow("smaller than the card") << pic << QSize(64, 48) << "" << 1.0 << "decoded" << true;
        QTest::newRow("twice the pixels at ratio 2") << pic << camera << "" << 2.0 << "preview" << false;
        QTest::newRow("too small at ratio 2") << pic << QSize(96, 72) << "" << 2.0 << "decoded" << true;
        QTest::newRow("0.5 % off: kept") << QSize(800, 597) << camera << "" << 1.0 << "preview" << true;
        QTest::newRow("cropped after, 1.4 % off") << QSize(800, 592) << camera << "" << 1.0 << "decoded" << true;
        QTest::newRow("turned after") << QSize(600, 800) << camera << "" << 1.0 << "decoded" << true;
        QTest::newRow("no preview") << pic << QSize() << "" << 1.0 << "decoded" << true;
        QTest::newRow("preview cut short") << pic << camera << "cut preview" << 1.0 << "decoded" << true;
        QTest::newRow("offset beyond the block") << pic << camera << "outside" << 1.0 << "decoded" << true;
        QTest::newRow("picture cut short") << pic << camera << "cut file" << 1.0 << "error" << false;
    }

    void previewOrDecode()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, preview);
        QFETCH(QString, damage);
        QFETCH(qreal, ratio);
        QFETCH(QString, shown);
        QFETCH(bool, cached);
        QByteArray bytes = jpeg(halves(picture.width(), picture.height()), JpegKind::Baseline420);
        if (preview.isValid()) {
            QImage green(preview, QImage::Format_RGB32);
            green.fill(Qt::green);
            QByteArray small = jpeg(green, JpegKind::Baseline420);
            if (damage == "cut preview")
                small.truncate(small.size() / 2);
            bytes = withPreview(bytes, small, damage == "mm", damage == "outside" ? 70000 : 0);
        }
        if (damage == "cut file")
            bytes.chop(100);
        const QString path = put(m_dir.filePath(QString("%1.jpg").arg(QTest::currentDataTag())), bytes);
        const ThumbnailCache cache(m_dir.filePath("cache"));
        if (shown == "error") {
            QVERIFY_THROWS_EXCEPTION(AppError, ThumbnailLoader::make(path, QSize(72, 55), cache, ratio));
        } else {
            const QImage thumb = ThumbnailLoader::make(path, QSize(72, 55), cache, ratio);
            QCOMPARE(near(thumb.pixel(thumb.width() / 2, thumb.height() / 2), qRgb(0, 255, 0)), shown == "preview");
        }
        QString width;
        for (auto flavour : {ThumbnailCache::Flavour::Normal, ThumbnailCache::Flavour::Large})
            width += QImageReader(cache.fileFor(flavour, path)).read().text("Thumb::Image::Width");
        QCOMPARE(width, cached ? QString::number(picture.width()) : QString());
    }
};

QTEST_GUILESS_MAIN(TestExifThumbnail)
#include "tst_ExifThumbnail.moc"
