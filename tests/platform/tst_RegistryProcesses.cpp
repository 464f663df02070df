#include "TempHome.h"
#include "platform/AppError.h"
#include "platform/Registry.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>
#include <cstdio>

// Two running instances share the store: the test starts itself twice as a writer.
namespace {

const QString SettingsKeyPath = QStringLiteral("Software\\Tavlix\\Settings");
constexpr int Rounds = 150;

// Each round is one use of the key: its own value, and a shared counter read and written back.
int runWriter(const QString& id)
{
    try {
        for (int i = 0; i < Rounds; ++i) {
            RegistryKey key(Registry::Root::CurrentUser, SettingsKeyPath);
            key.writeInteger(QStringLiteral("%1_%2").arg(id).arg(i), i);
            const qint32 count = key.valueExists("Count") ? key.readInteger("Count") : 0;
            key.writeInteger("Count", count + 1);
            key.writeString("Last", id);
        }
    } catch (const AppError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

} // namespace

class TestRegistryProcesses : public QObject
{
    Q_OBJECT

private slots:
    void twoInstancesWriteAtOnce()
    {
        TempHome home; // the writers inherit it
        QProcess a;
        QProcess b;
        for (auto [process, id] : {std::pair{&a, "A"}, std::pair{&b, "B"}}) {
            process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process->start(QCoreApplication::applicationFilePath(), {"--writer", id});
        }
        QVERIFY(a.waitForFinished(120000));
        QVERIFY(b.waitForFinished(120000));
        QCOMPARE(a.exitStatus(), QProcess::NormalExit);
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitStatus(), QProcess::NormalExit);
        QCOMPARE(b.exitCode(), 0);

        RegistryKey key(Registry::Root::CurrentUser, SettingsKeyPath);
        QCOMPARE(key.readInteger("Count"), 2 * Rounds);
        const QStringList names = key.valueNames();
        QCOMPARE(names.size(), 2 * Rounds + 2);
        for (const char* id : {"A", "B"}) {
            for (int i = 0; i < Rounds; ++i)
                QCOMPARE(key.readInteger(QStringLiteral("%1_%2").arg(id).arg(i)), i);
        }
        QVERIFY(QStringList({"A", "B"}).contains(key.readString("Last")));
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--writer") == 0)
        return runWriter(QString::fromLatin1(argv[2]));
    TestRegistryProcesses test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_RegistryProcesses.moc"
