#include "platform/AppError.h"
#include "platform/Registry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <poll.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

// A writer killed with SIGKILL at random moments must leave a store that is intact and holds, for
// every value, what one complete use wrote: each use writes the same generation into all values.
namespace {

const QString SettingsKeyPath = QStringLiteral("Software\\Tavlix\\Settings");
constexpr int Values = 12;
// make test runs 200 rounds; TAVLIX_STORE_KILLS sets another number (1,000 for the full measurement).
constexpr int DefaultRounds = 200;

QString valueName(int i)
{
    return QStringLiteral("V%1").arg(i);
}

// Writes one byte to done after each complete use, so the kills can be timed by the writer's pace.
[[noreturn]] void writeForever(int done)
{
    alarm(60); // never outlives a test that went wrong
    try {
        for (;;) {
            {
                RegistryKey key(Registry::Root::CurrentUser, SettingsKeyPath);
                const qint32 generation = key.valueExists("Generation") ? key.readInteger("Generation") + 1 : 1;
                key.writeInteger("Generation", generation);
                for (int i = 0; i < Values; ++i)
                    key.writeInteger(valueName(i), generation);
                key.writeString("Text", QStringLiteral("generation %1").arg(generation).repeated(20));
            }
            if (write(done, "u", 1) != 1)
                break;
            alarm(60);
        }
    } catch (const AppError&) {
    }
    _exit(3);
}

// Waits for one complete use; false when none came within a minute (a machine busy enough to
// starve the writer that long is no test of the store).
bool waitForUse(int done)
{
    pollfd ready{done, POLLIN, 0};
    char byte = 0;
    return poll(&ready, 1, 60000) == 1 && read(done, &byte, 1) == 1;
}

QString integrityCheck(const QString& file)
{
    sqlite3* db = nullptr;
    QString result = QStringLiteral("cannot open");
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return result;
}

} // namespace

class TestStoreCrash : public QObject
{
    Q_OBJECT

private slots:
    void killedWriterLeavesCompleteUses()
    {
        // In memory when possible: a kill does not lose what the system already holds, so the disk's
        // flushes add nothing here but waiting.
        QTemporaryDir home(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/tavlix-crash-XXXXXX") : QString());
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        const QString file = home.path() + "/Tavlix/registry.sqlite3";
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        qInfo("seed %u", seed);

        qint32 last = 0;
        qint64 useNanos = 20'000'000; // a first guess at one use, refined as the writer reports
        int advanced = 0;
        int hotJournals = 0;
        int fresh = 0;
        const int rounds = qEnvironmentVariableIsSet("TAVLIX_STORE_KILLS")
                               ? qEnvironmentVariableIntValue("TAVLIX_STORE_KILLS")
                               : DefaultRounds;
        for (int round = 0; round < rounds; ++round) {
            // Now and then from no file at all, so creating the store is killed too.
            if (round % 50 == 0) {
                QFile::remove(file);
                QFile::remove(file + "-journal");
                last = 0;
                ++fresh;
            }
            int pipeEnds[2];
            QCOMPARE(pipe(pipeEnds), 0);
            QElapsedTimer clock;
            clock.start();
            const pid_t child = fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                ::close(pipeEnds[0]);
                writeForever(pipeEnds[1]);
            }
            ::close(pipeEnds[1]);
            // The kill falls after 0, 1 or 2 complete uses, anywhere within the next one: its length is
            // learnt from the writer, so the moments spread over a use however fast the machine is.
            const int uses = int(random.bounded(3u));
            for (int u = 0; u < uses; ++u) {
                const qint64 before = clock.nsecsElapsed();
                QVERIFY(waitForUse(pipeEnds[0]));
                if (u > 0) // the first also holds the writer's start
                    useNanos = (useNanos * 7 + (clock.nsecsElapsed() - before)) / 8;
            }
            usleep(useconds_t(random.bounded(quint64(useNanos / 1000 + 1))));
            QCOMPARE(kill(child, SIGKILL), 0);
            int status = 0;
            QCOMPARE(waitpid(child, &status, 0), child);
            ::close(pipeEnds[0]);
            QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, "the writer ended on its own");
            if (QFile::exists(file + "-journal"))
                ++hotJournals;
            if (!QFile::exists(file))
                continue;

            const QString check = integrityCheck(file);
            QVERIFY2(check == "ok", qPrintable(QStringLiteral("round %1: %2").arg(round).arg(check)));
            RegistryKey key(Registry::Root::CurrentUser, SettingsKeyPath);
            if (!key.valueExists("Generation"))
                continue;
            const qint32 generation = key.readInteger("Generation");
            QVERIFY2(generation >= last, qPrintable(QStringLiteral("round %1 went back").arg(round)));
            for (int i = 0; i < Values; ++i)
                QCOMPARE(key.readInteger(valueName(i)), generation);
            QCOMPARE(key.readString("Text"), QStringLiteral("generation %1").arg(generation).repeated(20));
            if (generation > last)
                ++advanced;
            last = generation;
        }
        qInfo("%d kills: %d with a use in flight (journal left), %d after the writer had completed a use, %d from an "
              "empty folder; a use took %.1f ms",
              rounds, hotJournals, advanced, fresh, double(useNanos) / 1e6);
        // Kills that always came before the first write would prove nothing.
        QVERIFY(advanced > rounds / 4);
        QVERIFY(hotJournals > rounds / 20);
    }
};

QTEST_APPLESS_MAIN(TestStoreCrash)

#include "tst_StoreCrash.moc"
