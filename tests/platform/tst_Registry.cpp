#include "TempHome.h"
#include "TestFiles.h"
#include "platform/AppError.h"
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <fcntl.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

using Root = Registry::Root;

namespace {

const QString SettingsKeyPath = QStringLiteral("Software\\Tavlix\\Settings");

QByteArray dword(quint32 v)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((v >> (8 * i)) & 0xff);
    return bytes;
}

// Direct access to the store file, past the code under test.
class RawStore
{
public:
    explicit RawStore(const QString& file) { sqlite3_open(QFile::encodeName(file).constData(), &m_db); }
    ~RawStore() { sqlite3_close(m_db); }
    QList<QVariantList> rows(const char* sql)
    {
        QList<QVariantList> result;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) != SQLITE_OK)
            return result;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QVariantList row;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                if (sqlite3_column_type(stmt, c) == SQLITE_INTEGER)
                    row.append(sqlite3_column_int(stmt, c));
                else if (sqlite3_column_type(stmt, c) == SQLITE_NULL)
                    row.append(QVariant());
                else
                    row.append(QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, c)),
                                          sqlite3_column_bytes(stmt, c)));
            }
            result.append(row);
        }
        sqlite3_finalize(stmt);
        return result;
    }
    int exec(const char* sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

private:
    sqlite3* m_db = nullptr;
};

// The bytes of a database made by sql, in a folder of its own.
QByteArray storeBytes(const char* sql)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("store.sqlite3");
    {
        RawStore raw(file);
        raw.exec(sql);
    }
    return fileBytes(file);
}

void putRaw(const QString& name, int type, const QByteArray& data)
{
    auto registry = Registry::create();
    QVERIFY(registry->openKey(Root::CurrentUser, SettingsKeyPath, true));
    registry->writeValue(name, {type, data});
    registry->closeKey();
}

} // namespace

class TestRegistry : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> m_home;
    QString storeFile() const { return m_home->storeFile(); }
    QString folder() const { return m_home->path("config/Tavlix"); }

private slots:
    void init() { m_home = std::make_unique<TempHome>(); }

    void cleanup()
    {
        setWriteProtected(storeFile(), false);
        setWriteProtected(folder(), false);
        m_home.reset();
    }

    void storeHasTheRegistrysLayout()
    {
        {
            RegistryKey key(Root::CurrentUser, SettingsKeyPath);
        }
        QVERIFY(QFile::exists(storeFile()));
        RawStore raw(storeFile());
        QStringList sql;
        for (const auto& row : raw.rows("SELECT sql FROM sqlite_master WHERE type = 'table' ORDER BY name"))
            sql.append(QString::fromUtf8(row.at(0).toByteArray()).simplified());
        QCOMPARE(sql, QStringList({
                          "CREATE TABLE keys( root TEXT NOT NULL, path TEXT NOT NULL COLLATE NOCASE, "
                          "PRIMARY KEY(root, path))",
                          "CREATE TABLE reg_values( root TEXT NOT NULL, path TEXT NOT NULL COLLATE NOCASE, "
                          "name TEXT NOT NULL COLLATE NOCASE, type INTEGER NOT NULL, data BLOB NOT NULL, "
                          "PRIMARY KEY(root, path, name))",
                      }));
        // Creating a key creates the keys above it.
        QCOMPARE(raw.rows("SELECT root, path FROM keys ORDER BY path"),
                 QList<QVariantList>({{QByteArray("HKEY_CURRENT_USER"), QByteArray("Software")},
                                      {QByteArray("HKEY_CURRENT_USER"), QByteArray("Software\\Tavlix")},
                                      {QByteArray("HKEY_CURRENT_USER"), QByteArray("Software\\Tavlix\\Settings")}}));
    }

    void writtenBytes_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("integer little-endian") << "integer" << QVariant(0x12345678) << 4 << dword(0x12345678);
        QTest::newRow("negative integer") << "integer" << QVariant(-16777203) << 4 << dword(0xFF00000D);
        QTest::newRow("smallest integer") << "integer" << QVariant(INT_MIN) << 4 << dword(0x80000000);
        QTest::newRow("true is 1") << "bool" << QVariant(true) << 4 << dword(1);
        QTest::newRow("false is 0") << "bool" << QVariant(false) << 4 << dword(0);
        QTest::newRow("string with NUL") << "string" << QVariant("&Starta") << 1 << QByteArray("&Starta\0", 8);
        QTest::newRow("empty string is one NUL") << "string" << QVariant("") << 1 << QByteArray(1, '\0');
        QTest::newRow("local 8-bit text")
            << "string" << QVariant("C:\\Bilder\\Sjö.lst") << 1 << QByteArray("C:\\Bilder\\Sj\xc3\xb6.lst") + '\0';
    }

    void writtenBytes()
    {
        QFETCH(QString, kind);
        QFETCH(QVariant, value);
        QFETCH(int, type);
        QFETCH(QByteArray, data);
        {
            RegistryKey key(Root::CurrentUser, SettingsKeyPath);
            if (kind == "integer")
                key.writeInteger("V", value.toInt());
            else if (kind == "bool")
                key.writeBool("V", value.toBool());
            else
                key.writeString("V", value.toString());
        }
        RawStore raw(storeFile());
        QCOMPARE(raw.rows("SELECT root, path, name, type, data FROM reg_values"),
                 QList<QVariantList>({{QByteArray("HKEY_CURRENT_USER"), QByteArray("Software\\Tavlix\\Settings"),
                                       QByteArray("V"), type, data}}));
    }

    void reading_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QVariant>("expected");
        QTest::addColumn<QString>("error");
        QTest::newRow("dword as integer") << 4 << dword(0xFFFFFFFF) << "integer" << QVariant(-1) << "";
        QTest::newRow("any non-zero is true") << 4 << dword(0x80000000) << "bool" << QVariant(true) << "";
        QTest::newRow("seven is true") << 4 << dword(7) << "bool" << QVariant(true) << "";
        QTest::newRow("zero is false") << 4 << dword(0) << "bool" << QVariant(false) << "";
        QTest::newRow("string as integer")
            << 1 << QByteArray("100\0", 4) << "integer" << QVariant() << "Invalid data type for 'X'";
        QTest::newRow("long string as integer")
            << 1 << QByteArray("a long text\0", 12) << "integer" << QVariant() << "Invalid data type for 'X'";
        QTest::newRow("binary as bool") << 3 << dword(1) << "bool" << QVariant() << "Invalid data type for 'X'";
        QTest::newRow("dword longer than 4 bytes")
            << 4 << QByteArray(8, '\1') << "integer" << QVariant() << "Failed to get data for 'X'";
        QTest::newRow("dword shorter than 4 bytes")
            << 4 << QByteArray(2, '\1') << "integer" << QVariant() << "Failed to get data for 'X'";
        QTest::newRow("text up to the NUL") << 1 << QByteArray("ab\0cd\0", 6) << "string" << QVariant("ab") << "";
        QTest::newRow("text without NUL") << 1 << QByteArray("abc") << "string" << QVariant("abc") << "";
        QTest::newRow("zero length is empty") << 1 << QByteArray() << "string" << QVariant("") << "";
        QTest::newRow("expand string accepted, not expanded")
            << 2 << QByteArray("%HOME%\\x\0", 9) << "string" << QVariant("%HOME%\\x") << "";
        QTest::newRow("dword as string") << 4 << dword(1) << "string" << QVariant() << "Invalid data type for 'X'";
        QTest::newRow("binary as string")
            << 3 << QByteArray("ab\0", 3) << "string" << QVariant() << "Invalid data type for 'X'";
        for (const char* kind : {"integer", "bool", "string"})
            QTest::newRow(qPrintable(QString("missing, as %1").arg(kind)))
                << 0 << QByteArray() << kind << QVariant() << "Failed to get data for 'X'";
    }

    void reading()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, kind);
        QFETCH(QVariant, expected);
        QFETCH(QString, error);
        if (type != 0)
            putRaw("X", type, data);
        RegistryKey key(Root::CurrentUser, SettingsKeyPath);
        QCOMPARE(key.valueExists("X"), type != 0);
        QVariant got;
        const QString message = errorOf([&] {
            if (kind == "integer")
                got = key.readInteger("X");
            else if (kind == "bool")
                got = key.readBool("X");
            else
                got = key.readString("X");
        });
        QCOMPARE(message, error);
        QCOMPARE(got, expected);
    }

    void namesIgnoreCaseAndKeepFirstSpelling()
    {
        {
            RegistryKey key(Root::CurrentUser, SettingsKeyPath);
            key.writeInteger("Interval", 30);
            key.writeString("LastList", "a.lst");
            key.writeInteger("INTERVAL", 45);
        }
        RegistryKey key(Root::CurrentUser, "software\\TAVLIX\\settings");
        QCOMPARE(key.readInteger("interval"), 45);
        QCOMPARE(key.valueNames(), QStringList({"Interval", "LastList"}));
    }

    void keysAndRootsAreSeparate()
    {
        {
            RegistryKey key(Root::CurrentUser, SettingsKeyPath);
            key.writeString("Wallpaper", "settings");
        }
        {
            RegistryKey key(Root::CurrentUser, "\\Control Panel\\Desktop");
            key.writeString("Wallpaper", "desktop");
        }
        {
            RegistryKey key(Root::LocalMachine, SettingsKeyPath);
            QVERIFY(!key.valueExists("Wallpaper"));
            key.writeString("Wallpaper", "machine");
        }
        RegistryKey settings(Root::CurrentUser, SettingsKeyPath);
        QCOMPARE(settings.readString("Wallpaper"), QString("settings"));
        RegistryKey desktop(Root::CurrentUser, "Control Panel\\Desktop");
        QCOMPARE(desktop.readString("Wallpaper"), QString("desktop"));
        RegistryKey machine(Root::LocalMachine, SettingsKeyPath);
        QCOMPARE(machine.readString("Wallpaper"), QString("machine"));
    }

    void overlappingUsesShareTheStore()
    {
        {
            RegistryKey settings(Root::CurrentUser, SettingsKeyPath);
            settings.writeString("Caption", "&Stoppa");
            {
                RegistryKey desktop(Root::CurrentUser, "Control Panel\\Desktop");
                desktop.writeString("TileWallpaper", "0");
            }
            settings.writeInteger("Chosen", 3);
        }
        RegistryKey settings(Root::CurrentUser, SettingsKeyPath);
        QCOMPARE(settings.readString("Caption"), QString("&Stoppa"));
        QCOMPARE(settings.readInteger("Chosen"), 3);
        RegistryKey desktop(Root::CurrentUser, "Control Panel\\Desktop");
        QCOMPARE(desktop.readString("TileWallpaper"), QString("0"));
    }

    void openWithoutCreating()
    {
        RegistryKey key(Root::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", false);
        QVERIFY(!key.isOpen());
        QVERIFY(!key.valueExists("Tavelvaxlaren"));
        QVERIFY(key.valueNames().isEmpty());
        QVERIFY(!key.deleteValue("Tavelvaxlaren"));
        QCOMPARE(errorOf([&] { key.writeString("Tavelvaxlaren", "x"); }),
                 QString("Failed to set data for 'Tavelvaxlaren'"));
        RawStore raw(storeFile());
        QVERIFY(raw.rows("SELECT path FROM keys WHERE root = 'HKEY_LOCAL_MACHINE'").isEmpty());
    }

    void deletingValues()
    {
        {
            RegistryKey key(Root::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
            key.writeString("Tavelvaxlaren", "/usr/bin/tavelvaxlaren");
            key.writeString("Other", "x");
        }
        {
            RegistryKey key(Root::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", false);
            QVERIFY(key.isOpen());
            QVERIFY(key.deleteValue("TAVELVAXLAREN"));
            QVERIFY(!key.deleteValue("Tavelvaxlaren"));
        }
        RegistryKey key(Root::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
        QCOMPARE(key.valueNames(), QStringList({"Other"}));
    }

    void damagedStoreIsMovedAsideAndReplaced_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not a database") << QByteArray("This is a text file, not a database.\n").repeated(200);
        QTest::newRow("database header, garbage pages")
            << QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\xAB');
        QTest::newRow("other tables of the same names")
            << storeBytes("CREATE TABLE keys(a); CREATE TABLE reg_values(b); INSERT INTO keys VALUES(1);");
        const QByteArray valid = storeBytes(
            "CREATE TABLE keys(root TEXT, path TEXT); CREATE TABLE reg_values(root TEXT, path TEXT, name TEXT, "
            "type INTEGER, data BLOB); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
            "INSERT INTO reg_values SELECT 'HKEY_CURRENT_USER', 'Software\\Tavlix\\Settings', 'V' || i, 4, "
            "x'01000000' FROM n;");
        QByteArray torn = valid;
        torn.resize(torn.size() - 512); // a cut-off copy
        QTest::newRow("cut off") << torn;
        QByteArray scribbled = valid;
        for (qsizetype i = 4096 + 100; i < scribbled.size(); i += 7)
            scribbled[i] = char(0x5A);
        QTest::newRow("pages overwritten") << scribbled;
    }

    void damagedStoreIsMovedAsideAndReplaced()
    {
        QFETCH(QByteArray, content);
        Registry::takeNotices();
        const QDir folder(this->folder());
        QVERIFY(folder.mkpath("."));
        QFile file(storeFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        {
            RegistryKey key(Root::CurrentUser, SettingsKeyPath);
            QVERIFY(!key.valueExists("Interval"));
            key.writeInteger("Interval", 31);
        }
        const QStringList aside = folder.entryList({"registry.sqlite3.skadad-*"}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(fileBytes(folder.filePath(aside.first())), content);
        const QStringList notices = Registry::takeNotices();
        QCOMPARE(notices.size(), 1);
        QVERIFY2(notices.first().contains(folder.filePath(aside.first())), qPrintable(notices.first()));
        RegistryKey key(Root::CurrentUser, SettingsKeyPath);
        QCOMPARE(key.readInteger("Interval"), 31);
        QVERIFY(Registry::takeNotices().isEmpty());
    }

    void folderThatCannotBeCreated()
    {
        QFile blocker(folder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QCOMPARE(errorOf([] { RegistryKey key(Root::CurrentUser, SettingsKeyPath); }),
                 QString("Kan inte skapa mappen \"%1\" för inställningarna.").arg(folder()));
    }

    void writeProtectedStoreIsReadButNotChanged()
    {
        {
            RegistryKey key(Root::CurrentUser, SettingsKeyPath);
            key.writeInteger("Interval", 30);
        }
        if (!setWriteProtected(storeFile(), true))
            QSKIP("this file system cannot write-protect the store for root");
        const QByteArray before = fileBytes(storeFile());
        QString message = errorOf([] {
            RegistryKey key(Root::CurrentUser, SettingsKeyPath);
            QCOMPARE(key.readInteger("Interval"), 30);
            key.writeInteger("Interval", 45);
        });
        QCOMPARE(message, QString("Failed to set data for 'Interval'"));
        // Another key cannot be created in it either.
        message = errorOf([] { RegistryKey key(Root::CurrentUser, "Control Panel\\Desktop"); });
        QVERIFY2(message.startsWith("Kan inte skapa nyckeln \"Control Panel\\Desktop\""), qPrintable(message));
        QCOMPARE(fileBytes(storeFile()), before);
    }

    void failedWriteChangesNothing()
    {
        {
            RegistryKey key(Root::CurrentUser, SettingsKeyPath);
            key.writeInteger("Interval", 30);
            key.writeInteger("Height", 100);
        }
        {
            RawStore raw(storeFile());
            QCOMPARE(raw.exec("CREATE TRIGGER refuse BEFORE UPDATE ON reg_values WHEN new.name = 'Height' "
                              "BEGIN SELECT RAISE(ABORT, 'refused'); END"),
                     SQLITE_OK);
        }
        const QString message = errorOf([] {
            RegistryKey key(Root::CurrentUser, SettingsKeyPath);
            key.writeInteger("Interval", 45);
            key.writeInteger("Height", 5);
            key.writeInteger("Width", 7);
        });
        QCOMPARE(message, QString("Failed to set data for 'Height'"));
        RegistryKey key(Root::CurrentUser, SettingsKeyPath);
        QCOMPARE(key.readInteger("Height"), 100);
        // As in the registry, the write before the failing one stays and the handler ends at the failure.
        QCOMPARE(key.readInteger("Interval"), 45);
        QVERIFY(!key.valueExists("Width"));
    }

    void storeThatCannotBeLockedIsLeftAlone()
    {
        {
            RegistryKey key(Root::CurrentUser, SettingsKeyPath);
            key.writeInteger("Interval", 30);
        }
        // A rollback journal that cannot be read or created.
        QVERIFY(QDir().mkpath(storeFile() + "-journal"));
        const QByteArray before = fileBytes(storeFile());
        const QString message = errorOf([] {
            RegistryKey key(Root::CurrentUser, SettingsKeyPath);
            key.writeInteger("Interval", 45);
        });
        QVERIFY2(message.startsWith("Kan inte använda inställningarna i \"" + storeFile() + "\": "),
                 qPrintable(message));
        QCOMPARE(fileBytes(storeFile()), before);
    }

    void writerWaitsForAnotherUse()
    {
        {
            RegistryKey key(Root::CurrentUser, SettingsKeyPath);
        }
        RawStore other(storeFile());
        QCOMPARE(other.exec("BEGIN IMMEDIATE"), SQLITE_OK);
        std::thread release([&] {
            QThread::msleep(700);
            other.exec("COMMIT");
        });
        const QString message = errorOf([] {
            RegistryKey key(Root::CurrentUser, SettingsKeyPath);
            key.writeInteger("Interval", 12);
        });
        release.join();
        QCOMPARE(message, QString());
        RegistryKey key(Root::CurrentUser, SettingsKeyPath);
        QCOMPARE(key.readInteger("Interval"), 12);
    }

    // Another program reading the file for longer than the wait: the change is dropped, and
    // the close says so instead of passing silently.
    void lostCommitIsReported()
    {
        {
            RegistryKey key(Root::CurrentUser, SettingsKeyPath);
            key.writeInteger("Interval", 30);
        }
        RawStore reader(storeFile());
        QCOMPARE(reader.exec("BEGIN"), SQLITE_OK);
        QCOMPARE(reader.rows("SELECT count(*) FROM reg_values").size(), 1);
        const QString message = errorOf([] {
            RegistryKey key(Root::CurrentUser, SettingsKeyPath);
            key.writeInteger("Interval", 45);
        });
        reader.exec("COMMIT");
        QCOMPARE(message, QString("Failed to set data for 'Interval'"));
        RegistryKey key(Root::CurrentUser, SettingsKeyPath);
        QCOMPARE(key.readInteger("Interval"), 30);
    }
};

QTEST_APPLESS_MAIN(TestRegistry)
#include "tst_Registry.moc"
