#include "HostileImages.h"
#include "TestFiles.h"
#include "TestImages.h"
#include "picture/DecodeBudget.h"
#include "picture/Picture.h"
#include "picture/ThumbnailCache.h"
#include "picture/ThumbnailLoader.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <future>
#include <jerror.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestImages;

// Files anyone can send or leave in a folder: refused from their headers, before their memory is
// taken, and never blocking the reader.
class TestHostilePictures : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString put(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        if (!write(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // Runs f on a thread of its own, so that a reader that blocks fails the test instead of hanging it.
    template <typename F> static auto withinTenSeconds(F f)
    {
        auto result = std::async(std::launch::async, f);
        if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
            qFatal("the reader blocked");
        return result.get();
    }

private slots:
    void hostilePicturesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error"); // the start of the message; "Bilden är för stor" names the file
        const QString tooLarge = QStringLiteral("Bilden är för stor: \"");
        const QString jpegError = QStringLiteral("JPEG error #%1");
        using namespace HostileImages;
        QTest::newRow("176 bytes claiming 11585 x 11585 in colour")
            << "a.jpg" << emptyProgressive(11585, 11585, 3, 1) << tooLarge;
        QTest::newRow("grey 11585 x 11585") << "b.jpg" << emptyProgressive(11585, 11585, 1, 1) << tooLarge;
        QTest::newRow("256 empty scans") << "c.jpg" << emptyProgressive(11585, 11585, 1, 256)
                                         << jpegError.arg(JERR_BAD_PROGRESSION);
        QTest::newRow("within the budget, scans that hold nothing")
            << "d.jpg" << emptyProgressive(6000, 6000, 1, 3) << jpegError.arg(JWRN_HIT_MARKER);
        QTest::newRow("35-byte GIF on an 11000 x 11000 screen") << "e.gif" << bigScreenGif(11000, 11000) << tooLarge;
        QByteArray bmp = encoded(halves(4, 4), "bmp");
        qToLittleEndian<qint32>(9000, bmp.data() + 18);
        qToLittleEndian<qint32>(9000, bmp.data() + 22);
        QTest::newRow("BMP claiming 9000 x 9000") << "g.bmp" << bmp << tooLarge;
    }

    // Each refused by the thumbnail path and the large decode alike, from the header alone (the
    // memory and the time it takes are weighed by bench_hostile).
    void hostilePicturesAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const QString path = put(name, bytes);
        for (const auto& [box, scans] :
             {std::pair(QSize(96, 77), Picture::Scans::Enough), std::pair(QSize(377, 282), Picture::Scans::All)}) {
            const QString message = errorOf([&] { Picture::loadFitted(path, box, scans); });
            QVERIFY2(message.startsWith(error), qPrintable(message));
            if (error.startsWith(u'B'))
                QVERIFY2(message.contains(path + u'"'), qPrintable(message));
        }
        QCOMPARE(DecodeBudget::shared().inUse(), 0);
    }

    // A list of the largest pictures the budget allows, decoded by more workers than it holds:
    // each decode waits for its share, none is refused, and the budget is whole afterwards.
    void budgetIsSharedByTheWorkers()
    {
        DecodeBudget budget(100);
        DecodeBudget::Share first = budget.take(60);
        std::atomic<bool> second{false};
        auto waiting = std::async(std::launch::async, [&] {
            DecodeBudget::Share share = budget.take(10);
            share.grow(50); // cannot have it until the first is released
            second = true;
            return share.bytes();
        });
        QTest::qWait(100);
        QVERIFY(!second);
        first.release();
        QCOMPARE(withinTenSeconds([&] { return waiting.get(); }), 60);
        QCOMPARE(budget.inUse(), 0);
    }

    void hostileCacheEntriesAreRemade_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("pipe") << "pipe";
        QTest::newRow("link to another file") << "link";
        QTest::newRow("another user's file") << "owner";
        QTest::newRow("folder open to others") << "folder0755";
        QTest::newRow("Thumb::Size of another file") << "size";
        QTest::newRow("too large for a thumbnail") << "huge";
    }

    // A bad entry is passed over (the picture's own thumbnail shows), remade as a private file of
    // the user's, and nothing it points to is written.
    void hostileCacheEntriesAreRemade()
    {
        QFETCH(QString, kind);
        QTemporaryDir home;
        const QString root = home.filePath("thumbnails");
        const ThumbnailCache cache(root);
        const QString picture = put("p-" + kind + ".jpg", jpeg(halves(800, 600), JpegKind::Baseline420));
        const QString entry = cache.fileFor(ThumbnailCache::Flavour::Normal, picture);
        QVERIFY(QDir().mkpath(QFileInfo(entry).path()));
        const qint64 mtime = ThumbnailCache::modificationTime(picture);
        QImage green(128, 96, QImage::Format_RGB32); // what a bad entry would show
        green.fill(Qt::green);
        const QString victim = home.filePath("victim");
        const QByteArray victimBytes("the user's own file");
        write(victim, victimBytes);

        if (kind == "pipe") {
            QCOMPARE(mkfifo(QFile::encodeName(entry).constData(), 0600), 0);
        } else if (kind == "link") {
            QVERIFY(QFile::link(victim, entry));
        } else if (kind == "folder0755") {
            QVERIFY(QFile::setPermissions(QFileInfo(entry).path(), QFile::Permissions(0x7755)));
        } else {
            const ThumbnailCache other(home.filePath("other"));
            QVERIFY(other.store(picture, mtime, green, QSize(800, 600), ThumbnailCache::Flavour::Normal));
            QVERIFY(QFile::rename(other.fileFor(ThumbnailCache::Flavour::Normal, picture), entry));
            if (kind == "owner" && ::chown(QFile::encodeName(entry).constData(), 65534, 65534) != 0)
                QSKIP("cannot give a file to another user here");
            if (kind == "size") { // other bytes with the time kept, as cp -p leaves them
                write(picture, jpeg(halves(800, 600), JpegKind::Baseline444));
                QFile replaced(picture);
                QVERIFY(replaced.open(QIODevice::ReadWrite));
                QVERIFY(replaced.setFileTime(QDateTime::fromSecsSinceEpoch(mtime), QFileDevice::FileModificationTime));
            }
            if (kind == "huge") {
                QFile out(entry);
                QVERIFY(out.open(QIODevice::Append));
                out.write(QByteArray(2 * 1024 * 1024, '\0'));
            }
        }

        const QImage thumb = withinTenSeconds([&] { return ThumbnailLoader::make(picture, QSize(96, 72), cache); });
        QVERIFY(near(thumb.pixel(10, 36), qRgb(255, 0, 0)));
        struct stat info = {};
        QCOMPARE(::lstat(QFile::encodeName(entry).constData(), &info), 0);
        QVERIFY(S_ISREG(info.st_mode));
        QCOMPARE(info.st_uid, ::geteuid());
        QCOMPARE(info.st_mode & 07777, mode_t(0600));
        QCOMPARE(QFileInfo(QFileInfo(entry).path()).permissions() & 0x0077, QFile::Permissions());
        QCOMPARE(fileBytes(victim), victimBytes);
        QVERIFY(cache.find(picture, ThumbnailCache::modificationTime(picture), 128));
    }
};

QTEST_MAIN(TestHostilePictures)
#include "tst_HostilePictures.moc"
