#include "ScriptedDialogs.h"
#include "platform/Registry.h"
#include "platform/SessionEnd.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <sqlite3.h>
#include <sys/stat.h>

// What the program inherits and shares with other instances: signals its starter ignored stay
// ignored, and the settings store is private and never held while a dialog is open.
class TestHostileSession : public QObject
{
    Q_OBJECT

private slots:
    void inheritedDispositions_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("ignored"); // as nohup or a launcher leaves it
        for (int signal : {SIGHUP, SIGTERM, SIGINT}) {
            QTest::addRow("%s ignored", strsignal(signal)) << signal << true;
            QTest::addRow("%s default", strsignal(signal)) << signal << false;
        }
    }

    void inheritedDispositions()
    {
        QFETCH(int, signal);
        QFETCH(bool, ignored);
        std::signal(signal, ignored ? SIG_IGN : SIG_DFL);
        {
            SessionEnd end;
            QSignalSpy requested(&end, &SessionEnd::requested);
            struct sigaction now = {};
            sigaction(signal, nullptr, &now);
            QCOMPARE(now.sa_handler == SIG_IGN, ignored);
            if (!ignored) {
                std::raise(signal);
                QVERIFY(requested.wait(2000));
            }
        }
        struct sigaction after = {};
        sigaction(signal, nullptr, &after);
        QVERIFY(after.sa_handler == (ignored ? SIG_IGN : SIG_DFL));
        std::signal(signal, SIG_DFL);
    }

    // The store is the user's alone (also in a folder an older version left open), and another
    // instance can take it at once while this one shows a dialog in the middle of a use that has
    // written, and sees what was written.
    void storeIsPrivateAndFreeDuringADialog()
    {
        const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Tavlix";
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, QFile::Permissions(0x7755)));
        QFile::setPermissions(folder + "/registry.sqlite3", QFile::Permissions(0x6644)); // when there
        ScopedScriptedDialogs dialogs;
        QString seen = "not asked";
        dialogs->whileErrorShows = [&] {
            sqlite3* other = nullptr;
            const QByteArray file =
                QFile::encodeName(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Tavlix/registry.sqlite3");
            sqlite3_open_v2(file.constData(), &other, SQLITE_OPEN_READWRITE, nullptr);
            const int rc = sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            sqlite3_stmt* query = nullptr;
            sqlite3_prepare_v2(other, "SELECT count(*) FROM reg_values WHERE name = 'Mellan'", -1, &query, nullptr);
            seen = rc == SQLITE_OK && sqlite3_step(query) == SQLITE_ROW ? QString::number(sqlite3_column_int(query, 0))
                                                                        : QString::fromUtf8(sqlite3_errmsg(other));
            sqlite3_finalize(query);
            sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_close(other);
        };
        {
            RegistryKey key(Registry::Root::CurrentUser, "Software\\Tavlix\\Settings");
            key.writeInteger("Mellan", 30);
            Dialogs::instance().reportError("Kan inte ta bort autostartvärdet");
            key.writeInteger("Typ", 2);
        }
        QCOMPARE(seen, QString("1"));
        RegistryKey key(Registry::Root::CurrentUser, "Software\\Tavlix\\Settings");
        QCOMPARE(key.readInteger("Typ"), 2);
        struct stat info = {};
        QCOMPARE(::stat(QFile::encodeName(folder).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0700));
        QCOMPARE(::stat(QFile::encodeName(folder + "/registry.sqlite3").constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0600));
    }
};

QTEST_GUILESS_MAIN(TestHostileSession)
#include "tst_HostileSession.moc"
