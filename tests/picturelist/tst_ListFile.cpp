#include "TestFiles.h"
#include "picturelist/ListFile.h"
#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using Entries = QList<QByteArray>;

namespace {

void putBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestListFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Entries>("entries");
        QTest::newRow("no bytes, no entries") << QByteArray() << Entries();
        QTest::newRow("A and an empty entry") << QByteArray("A\r\n\r\n") << Entries({"A", ""});
        QTest::newRow("last line without a break") << QByteArray("a\r\nb") << Entries({"a", "b"});
        QTest::newRow("CR alone") << QByteArray("a\rb\r") << Entries({"a", "b"});
        QTest::newRow("LF alone") << QByteArray("a\nb\n") << Entries({"a", "b"});
        QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << Entries({"a", "", "b"});
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << Entries({"a", "", "b"});
        QTest::newRow("CR at the very end") << QByteArray("a\r") << Entries({"a"});
        QTest::newRow("only a break") << QByteArray("\r\n") << Entries({""});
        QTest::newRow("empty lines between") << QByteArray("a\r\n\r\n\r\nb\r\n") << Entries({"a", "", "", "b"});
        QTest::newRow("spaces kept") << QByteArray("  a b \r\n\t") << Entries({"  a b ", "\t"});
        QTest::newRow("NUL ends the text") << QByteArray("a\r\nb\0c\r\nd\r\n", 11) << Entries({"a", "b"});
        QTest::newRow("NUL first") << QByteArray("\0a\r\n", 4) << Entries();
        QTest::newRow("NUL after a CR") << QByteArray("a\r\0\nb", 5) << Entries({"a"});
        QTest::newRow("bytes as they are") << QByteArray("C:\\Bilder\\Sj\xf6.jpg\r\n/h\xc3\xa5r/\"x\".gif\n")
                                           << Entries({"C:\\Bilder\\Sj\xf6.jpg", "/h\xc3\xa5r/\"x\".gif"});
    }

    void reading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Entries, entries);
        QCOMPARE(ListFile::parse(bytes), entries);
        const QString path = m_dir.filePath("read.lst");
        putBytes(path, bytes);
        QCOMPARE(ListFile::read(path), entries);
    }

    void writing_data()
    {
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty list is 0 bytes") << Entries() << QByteArray();
        QTest::newRow("the example of 36 bytes")
            << Entries({"C:\\Bilder\\Sj\xf6.jpg", "D:\\Foto\\Hav.bmp"})
            << QByteArray::fromHex("433A5C42696C6465725C536AF62E6A70670D0A443A5C466F746F5C4861762E626D700D0A");
        QTest::newRow("A and an empty entry") << Entries({"A", ""}) << QByteArray::fromHex("410D0A0D0A");
        QTest::newRow("one empty entry") << Entries({""}) << QByteArray("\r\n");
        QTest::newRow("spaces and quotes kept")
            << Entries({" \"a b\".jpg ", "'c'"}) << QByteArray(" \"a b\".jpg \r\n'c'\r\n");
    }

    void writing()
    {
        QFETCH(Entries, entries);
        QFETCH(QByteArray, bytes);
        QCOMPARE(ListFile::serialize(entries), bytes);
        const QString path = m_dir.filePath("write.lst");
        putBytes(path, "an older and longer list\r\n");
        ListFile::write(path, entries);
        QCOMPARE(fileBytes(path), bytes);
        QCOMPARE(ListFile::read(path), entries);
    }

    void otherLineEndsComeBackAsCrLf()
    {
        const QString path = m_dir.filePath("mixed.lst");
        putBytes(path, "a\rb\nc\n\rd");
        ListFile::write(path, ListFile::read(path));
        QCOMPARE(fileBytes(path), QByteArray("a\r\nb\r\nc\r\n\r\nd\r\n"));
    }

    void randomEntriesRoundTrip()
    {
        // Any bytes but line breaks and NUL, including invalid UTF-8, come back as they were.
        QRandomGenerator random(20240611);
        Entries entries;
        for (int n = 0; n < 500; ++n) {
            QByteArray entry(random.bounded(0, 80), '\0');
            for (char& c : entry) {
                do
                    c = char(random.bounded(1, 256));
                while (c == '\r' || c == '\n');
            }
            entries.append(entry);
        }
        const QString path = m_dir.filePath("random.lst");
        ListFile::write(path, entries);
        QCOMPARE(fileBytes(path).count("\r\n"), 500);
        QCOMPARE(ListFile::read(path), entries);
    }

    void fileThatCannotBeOpened_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << "missing.lst";
        QTest::newRow("folder") << "folder.lst";
    }

    void fileThatCannotBeOpened()
    {
        QFETCH(QString, name);
        QVERIFY(QDir(m_dir.path()).mkpath("folder.lst"));
        const QString path = m_dir.filePath(name);
        const QString message = errorOf([&] { ListFile::read(path); });
        QVERIFY2(message.startsWith(QString("Cannot open file \"%1\". ").arg(path)), qPrintable(message));
        QVERIFY(message.size() > QString("Cannot open file \"%1\". ").arg(path).size());
    }

    void readingStopsAtTheFirstNul()
    {
        // A device without end is refused instead of hanging.
        QVERIFY(errorOf([] { ListFile::read("/dev/zero"); }).endsWith("Det är ingen vanlig fil."));
        // A large binary file is cut at its first NUL.
        QByteArray bytes = QByteArray("first\r\nsecond\r\n");
        bytes.append(QByteArray(3 << 20, '\xff'));
        bytes[bytes.size() - 10] = '\0';
        const QString path = m_dir.filePath("binary.lst");
        putBytes(path, bytes);
        const Entries entries = ListFile::read(path);
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries.last().size(), (3 << 20) - 10);
    }

    void failedWriteKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("folder missing") << "no such folder/list.lst";
        QTest::newRow("name of a folder") << "folder.lst";
        QTest::newRow("write-protected folder") << "protected/list.lst";
    }

    void failedWriteKeepsTheOldFile()
    {
        QFETCH(QString, name);
        QDir dir(m_dir.path());
        QVERIFY(dir.mkpath("folder.lst"));
        QVERIFY(dir.mkpath("protected"));
        putBytes(m_dir.filePath("protected/list.lst"), "old\r\n");
        const QString protectedFolder = m_dir.filePath("protected");
        if (name.startsWith("protected") && !setWriteProtected(protectedFolder, true))
            QSKIP("this file system cannot write-protect a folder for root");
        const QString path = m_dir.filePath(name);
        const QString message = errorOf([&] { ListFile::write(path, {"new"}); });
        setWriteProtected(protectedFolder, false);
        QVERIFY2(message.startsWith(QString("Cannot create file \"%1\". ").arg(path)), qPrintable(message));
        QCOMPARE(fileBytes(m_dir.filePath("protected/list.lst")), QByteArray("old\r\n"));
        QCOMPARE(QDir(protectedFolder).entryList(QDir::Files), QStringList({"list.lst"}));
    }
};

QTEST_APPLESS_MAIN(TestListFile)
#include "tst_ListFile.moc"
