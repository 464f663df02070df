#include "TempHome.h"
#include "TestFiles.h"
#include "platform/Autostart.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestAutostart : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> m_home;

private slots:
    void init() { m_home = std::make_unique<TempHome>(); }

    void enableThenDisable()
    {
        Autostart::enable(QStringLiteral("/opt/mina program/tavelvaxlaren"));
        QVERIFY(Autostart::isEnabled());
        QVERIFY(fileBytes(Autostart::location()).contains("Exec=\"/opt/mina program/tavelvaxlaren\"\n"));
        Autostart::disable();
        QVERIFY(!Autostart::isEnabled());
        Autostart::disable(); // nothing left to remove is no error
    }

    // The box reads unticked while the session would still start the program.
    void failedRemovalIsReported()
    {
        QVERIFY(QDir().mkpath(Autostart::location()));
        QFile blocker(Autostart::location() + "/x");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QCOMPARE(errorOf([] { Autostart::disable(); }),
                 QStringLiteral("Kan inte ta bort autostartfilen \"%1\": det är en mapp").arg(Autostart::location()));
    }
};

QTEST_APPLESS_MAIN(TestAutostart)

#include "tst_Autostart.moc"
