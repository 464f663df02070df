#include "TestFiles.h"
#include "picture/IconFile.h"
#include "platform/CustomColours.h"
#include "platform/OutsideFile.h"
#include "platform/Registry.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

// What may stand at the name of a file the program reads: each reader refuses it with a message
// that names the file, without blocking, and leaves it as it is.
class TestHostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void hostileFilesAreRefused_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("kind");
        for (const char* reader : {"Clr.frg", "MinIkon.ico", "registry.sqlite3", "list"}) {
            for (const char* kind : {"pipe", "device", "folder", "huge"})
                QTest::addRow("%s %s", reader, kind) << reader << kind;
        }
    }

    void hostileFilesAreRefused()
    {
        QFETCH(QString, reader);
        QFETCH(QString, kind);
        const QString folder = reader == "registry.sqlite3" ? qEnvironmentVariable("XDG_CONFIG_HOME") + "/Tavlix"
                                                            : QDir::tempPath() + "/tavlix-hostile";
        const QString path = folder + u'/' + reader;
        QDir(path).removeRecursively();
        QFile::remove(path);
        QVERIFY(QDir().mkpath(folder));
        int writer = -1;
        if (kind == "pipe") {
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            // Held open for writing, so a reader that opens it waits for data that never comes.
            writer = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK);
        } else if (kind == "device") {
            QVERIFY(QFile::link("/dev/zero", path));
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else {
            QFile huge(path);
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(65LL * 1024 * 1024)); // sparse
        }

        auto read = std::async(std::launch::async, [&] {
            if (reader == "Clr.frg") {
                CustomColours colours;
                const QString message = colours.load(path);
                colours.setColourSlots(QList<QColor>(CustomColours::Count, Qt::red));
                return colours.save(path) ? QStringLiteral("written") : message;
            }
            if (reader == "MinIkon.ico") {
                const IconFile::Result icon = IconFile::read(path);
                return icon.image.isNull() ? icon.problem : QStringLiteral("shown");
            }
            if (reader == "registry.sqlite3")
                return errorOf([] { RegistryKey key(Registry::Root::CurrentUser, "Software\\Tavlix\\Settings"); });
            OutsideFile::Options options;
            options.maxBytes = 64LL * 1024 * 1024; // the list file's limit
            const OutsideFile::Result result = OutsideFile::read(path, options);
            return result.ok() ? QStringLiteral("read") : OutsideFile::error(path, result, options.maxBytes).message();
        });
        const bool finished = read.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        if (writer >= 0)
            ::close(writer);
        QVERIFY2(finished, "the reader blocked");
        const QString message = read.get();
        QVERIFY2(message.contains(u'"' + path + u'"'), qPrintable(message));
        const QFileInfo after(path);
        QCOMPARE(after.isFile(), kind == "huge");
        if (kind == "huge")
            QCOMPARE(after.size(), 65LL * 1024 * 1024);
        QDir(path).removeRecursively();
        QFile::remove(path);
    }
};

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "tst_HostileFiles.moc"
