#include "TestPictures.h"
#include "picture/ThumbnailCache.h"
#include "picture/ThumbnailLoader.h"
#include "platform/AppError.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace TestPictures;

class TestThumbnailCache : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_root;

    QString put(const QString& name, const QByteArray& bytes) { return TestPictures::put(m_dir.filePath(name), bytes); }

    QString photo(const QString& name) { return put(name, jpeg(halves(800, 600), JpegKind::Progressive420)); }

    // What a file manager leaves: a PNG of one colour with the keys of the picture's state.
    void foreignThumbnail(ThumbnailCache::Flavour flavour, const QString& path, QSize size, QRgb colour, qint64 mtime)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        image.setText(QStringLiteral("Thumb::URI"), QString::fromUtf8(ThumbnailCache::uri(path)));
        image.setText(QStringLiteral("Thumb::MTime"), QString::number(mtime));
        const QString file = ThumbnailCache(m_root).fileFor(flavour, path);
        QDir().mkpath(QFileInfo(file).path());
        QVERIFY(image.save(file, "png"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_root = m_dir.filePath(QStringLiteral("cache/thumbnails"));
    }

    void cleanup() { QDir(m_root).removeRecursively(); }

    void defaultRootFollowsXdgCacheHome()
    {
        QVERIFY(!qEnvironmentVariableIsEmpty("XDG_CACHE_HOME")); // set by the test build: never the real cache
        QCOMPARE(ThumbnailCache::defaultRoot(), qEnvironmentVariable("XDG_CACHE_HOME") + "/thumbnails");
    }

    // The name other programs look for: the MD5 of the URI, escaped as GLib escapes it.
    void uriAndName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("uri");
        QTest::newRow("plain") << "/home/a/b.jpg" << QByteArray("file:///home/a/b.jpg");
        QTest::newRow("space and non-ASCII") << "/tmp/a b/Sjö.jpg" << QByteArray("file:///tmp/a%20b/Sj%C3%B6.jpg");
        QTest::newRow("reserved kept, percent and hash escaped")
            << "/x/(1)+&,;=@!'$*:%#.jpg" << QByteArray("file:///x/(1)+&,;=@!'$*:%25%23.jpg");
    }

    void uriAndName()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, uri);
        QCOMPARE(ThumbnailCache::uri(path), uri);
        const QString md5 = QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex());
        QCOMPARE(ThumbnailCache("/c").fileFor(ThumbnailCache::Flavour::Large, path), "/c/large/" + md5 + ".png");
    }

    // The first thumbnail is decoded and written where file managers read it; the next one is
    // the cached file, until the picture's modification time changes.
    void writtenThenReused()
    {
        const ThumbnailCache cache(m_root);
        const QString path = photo(QStringLiteral("foto.jpg"));
        const QSize box(72, 55);
        const QImage first = ThumbnailLoader::make(path, box, cache);
        QCOMPARE(first.size(), QSize(72, 54));

        const QString file = cache.fileFor(ThumbnailCache::Flavour::Normal, path);
        QImageReader reader(file, "png");
        const QImage stored = reader.read();
        QCOMPARE(stored.size(), QSize(128, 96));
        QCOMPARE(stored.text("Thumb::URI").toUtf8(), ThumbnailCache::uri(path));
        QCOMPARE(stored.text("Thumb::MTime").toLongLong(), QFileInfo(path).lastModified().toSecsSinceEpoch());
        QCOMPARE(stored.text("Thumb::Image::Width"), QStringLiteral("800"));
        QCOMPARE(QFile::permissions(file),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
        const auto folderPermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                       QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
        QCOMPARE(QFile::permissions(m_root), folderPermissions);
        QCOMPARE(QFile::permissions(m_root + "/normal"), folderPermissions);
        QCOMPARE(QDir(m_root + "/normal").entryList(QDir::Files), QStringList{QFileInfo(file).fileName()});

        // A green thumbnail under the same keys shows that the cache, not the picture, is read now.
        const qint64 mtime = QFileInfo(path).lastModified().toSecsSinceEpoch();
        foreignThumbnail(ThumbnailCache::Flavour::Normal, path, QSize(128, 96), qRgb(0, 255, 0), mtime);
        QCOMPARE(ThumbnailLoader::make(path, box, cache).pixel(36, 27), qRgb(0, 255, 0));

        QFile touched(path);
        QVERIFY(touched.open(QIODevice::ReadWrite));
        QVERIFY(touched.setFileTime(QDateTime::fromSecsSinceEpoch(mtime + 60), QFileDevice::FileModificationTime));
        touched.close();
        QVERIFY(near(ThumbnailLoader::make(path, box, cache).pixel(2, 27), qRgb(255, 0, 0)));
    }

    // Thumbnails that a file manager made are used too, the large ones when there is no normal one;
    // one of another file, or too small for the box, is not.
    void foreignThumbnails_data()
    {
        QTest::addColumn<int>("flavour");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("otherUri");
        QTest::addColumn<bool>("used");
        QTest::newRow("normal") << 128 << QSize(128, 96) << false << true;
        QTest::newRow("large only") << 256 << QSize(256, 192) << false << true;
        QTest::newRow("another file's") << 128 << QSize(128, 96) << true << false;
        QTest::newRow("smaller than the box") << 128 << QSize(32, 24) << false << false;
    }

    void foreignThumbnails()
    {
        QFETCH(int, flavour);
        QFETCH(QSize, size);
        QFETCH(bool, otherUri);
        QFETCH(bool, used);
        const QString path = photo(QStringLiteral("främmande.jpg"));
        const qint64 mtime = QFileInfo(path).lastModified().toSecsSinceEpoch();
        foreignThumbnail(ThumbnailCache::Flavour(flavour), otherUri ? m_dir.filePath("annan.jpg") : path, size,
                         qRgb(0, 255, 0), mtime);
        if (otherUri) // the other file's thumbnail lies under this file's name
            QFile::rename(ThumbnailCache(m_root).fileFor(ThumbnailCache::Flavour(flavour), m_dir.filePath("annan.jpg")),
                          ThumbnailCache(m_root).fileFor(ThumbnailCache::Flavour(flavour), path));
        const QImage thumb = ThumbnailLoader::make(path, QSize(72, 55), ThumbnailCache(m_root));
        QCOMPARE(thumb.size(), QSize(72, 54));
        QCOMPARE(thumb.pixel(36, 27) == qRgb(0, 255, 0), used);
    }

    // A camera's preview stands in for the picture only when it covers the card's device pixels
    // (twice the pixels at "x2") and has the picture's proportions; then the Thumb::Image::Width cached.
    void embeddedPreview_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("preview");
        QTest::addColumn<QString>("result");
        const QSize pic(800, 600), camera(160, 120);
        QTest::newRow("camera preview") << "" << pic << camera << "preview 800";
        QTest::newRow("big-endian block") << "MM" << pic << camera << "preview 800";
        QTest::newRow("covers the card only") << "" << pic << QSize(96, 72) << "preview ";
        QTest::newRow("smaller than the card") << "" << pic << QSize(64, 48) << "decoded 800";
        QTest::newRow("x2, covered") << "x2" << pic << camera << "preview ";
        QTest::newRow("x2, too small") << "x2" << pic << QSize(96, 72) << "decoded 800";
        QTest::newRow("0.5 % off") << "" << QSize(800, 597) << camera << "preview 800";
        QTest::newRow("cropped after, 1.4 % off") << "" << QSize(800, 592) << camera << "decoded 800";
        QTest::newRow("turned after") << "" << QSize(600, 800) << camera << "decoded 600";
        QTest::newRow("preview cut short") << "cut" << pic << camera << "decoded 800";
        QTest::newRow("offsets beyond the block") << "outside" << pic << camera << "decoded 800";
        QTest::newRow("picture cut short") << "cut file" << pic << camera << "error ";
    }

    void embeddedPreview()
    {
        QFETCH(QString, damage);
        QFETCH(QSize, picture);
        QFETCH(QSize, preview);
        const qreal ratio = damage == "x2" ? 2 : 1;
        QByteArray bytes = jpeg(halves(picture.width(), picture.height()), JpegKind::Baseline420);
        const QByteArray small = // left half blue where the picture's is red
            jpeg(halves(preview.width(), preview.height()).mirrored(true, false), JpegKind::Baseline420);
        QByteArray tiff; // IFD0 empty, IFD1 with the preview's offset and length
        QDataStream s(&tiff, QIODevice::WriteOnly);
        s.setByteOrder(damage == "MM" ? QDataStream::BigEndian : QDataStream::LittleEndian);
        s.writeRawData(damage == "MM" ? "MM" : "II", 2);
        s << quint16(42) << 8 << quint16(0) << 14 << quint16(2) << quint16(0x201) << quint16(4) << 1
          << (damage == "outside" ? 70000 : 44) << quint16(0x202) << quint16(4) << 1 << int(small.size()) << 0;
        const QByteArray body = "Exif" + QByteArray(2, 0) + tiff + small.chopped(damage == "cut" ? 200 : 0);
        bytes.insert(2, "\xFF\xE1" + QByteArray(1, char((body.size() + 2) >> 8)) + char(body.size() + 2) + body);
        const QString path =
            put(QString(QTest::currentDataTag()) + ".jpg", bytes.chopped(damage == "cut file" ? 99 : 0));
        const ThumbnailCache cache(m_root);
        QString result = "error ";
        try {
            const QImage thumb = ThumbnailLoader::make(path, QSize(72, 55), cache, ratio);
            result = near(thumb.pixel(18 * ratio, 20 * ratio), qRgb(0, 0, 255)) ? "preview " : "decoded ";
        } catch (const AppError&) {
        }
        for (auto flavour : {ThumbnailCache::Flavour::Normal, ThumbnailCache::Flavour::Large})
            result += QImageReader(cache.fileFor(flavour, path)).read().text("Thumb::Image::Width");
        QTEST(result, "result");
    }

    void undecodableNeverCached()
    {
        const QString path =
            put(QStringLiteral("trasig.jpg"), jpeg(halves(800, 600), JpegKind::Progressive420).left(3000));
        QVERIFY_THROWS_EXCEPTION(AppError, ThumbnailLoader::make(path, QSize(72, 55), ThumbnailCache(m_root)));
        QVERIFY(QDir(m_root + "/normal").entryList(QDir::Files).isEmpty());
    }

    // Results come back per index on the owner's thread, errors as the decoder's AppError;
    // a reset while waiting hands out nothing of the old requests.
    void loaderHandsOutByIndex()
    {
        ThumbnailLoader loader{ThumbnailCache(m_root)};
        QStringList paths;
        for (int k = 0; k < 6; ++k)
            paths << photo(QStringLiteral("lista/%1.jpg").arg(k));
        paths[3] = put(QStringLiteral("lista/trasig.jpg"), "inte en bild");
        for (int k = 0; k < paths.size(); ++k)
            loader.request(k, paths[k], QSize(72, 55));
        QVERIFY(loader.isRequested(2, paths[2], QSize(72, 55)));
        QVERIFY(!loader.isRequested(2, paths[1], QSize(72, 55)));
        QSignalSpy ready(&loader, &ThumbnailLoader::ready);
        for (int k : {1, 0, 2}) {
            std::optional<QImage> image;
            QTRY_VERIFY(image || (image = loader.take(k)));
            QCOMPARE(image->size(), QSize(72, 54));
            QCOMPARE(loader.take(k), std::nullopt); // handed over once
        }
        QTRY_VERIFY(ready.contains({3}));
        QVERIFY_THROWS_EXCEPTION(AppError, loader.take(3));

        loader.request(7, paths[0], QSize(72, 55));
        loader.reset();
        QTest::qWait(200);
        QCOMPARE(loader.take(7), std::nullopt);
        QVERIFY(!ready.contains({7}));
    }
};

QTEST_GUILESS_MAIN(TestThumbnailCache)
#include "tst_ThumbnailCache.moc"
