#include "TempHome.h"
#include "platform/SettingsStore.h"

#include <QTest>

Q_DECLARE_METATYPE(Setting)

class TestSettingsStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> m_home;

private slots:
    void init() { m_home = std::make_unique<TempHome>(); }
    void cleanup() { m_home.reset(); }

    // The names of the keys, in start-up order: every store written so far (and the Windows
    // registry) holds the values under these names.
    void storedNames()
    {
        QStringList names;
        for (int key = 0; key < int(SettingsStore::table().size()); ++key)
            names << SettingsStore::name(Setting(key));
        QCOMPARE(names, QStringList({"Ramfarg", "Markering", "Minimerad", "IkonSynlig", "Autostart", "Blanda",
                                     "VisaTips", "Left", "BgFarge", "BgFargeBotten", "TextFarge", "TextFargeBotten",
                                     "Top", "Typ", "Screenstyle", "Mellan", "Startknapp", "Senaste", "Vald"}));
    }

    // The reading rule: a value the program cannot use reads as its default (an interval unit
    // outside the list would leave the rotation changing every second). The defaults themselves
    // are what the first start shows.
    void reading_data()
    {
        QTest::addColumn<Setting>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QVariant>("read");
        QTest::newRow("colour") << Setting::Ramfarg << QVariant(0x00123456) << QVariant(0x00123456);
        QTest::newRow("system colour") << Setting::BgFarge << QVariant(int(0xFF00000Du)) << QVariant(int(0xFF00000Du));
        QTest::newRow("colour with a stray high byte") << Setting::TextFarge << QVariant(0x12345678) << QVariant(0);
        QTest::newRow("unknown system colour")
            << Setting::Markering << QVariant(int(0xFF0000FFu)) << QVariant(int(0xFF00001Au));
        QTest::newRow("false over true") << Setting::IkonSynlig << QVariant(false) << QVariant(false);
        QTest::newRow("off-screen position") << Setting::Left << QVariant(-3000) << QVariant(-3000);
        QTest::newRow("last unit") << Setting::Typ << QVariant(5) << QVariant(5);
        QTest::newRow("unit beyond the list") << Setting::Typ << QVariant(17) << QVariant(1);
        QTest::newRow("unit below the list") << Setting::Typ << QVariant(-1) << QVariant(1);
        QTest::newRow("placement beyond the list") << Setting::Screenstyle << QVariant(3) << QVariant(2);
        QTest::newRow("no units between changes") << Setting::Mellan << QVariant(0) << QVariant(30);
        QTest::newRow("negative chosen picture") << Setting::Vald << QVariant(-5) << QVariant(0);
        QTest::newRow("running rotation") << Setting::Startknapp << QVariant("&Stoppa") << QVariant("&Stoppa");
        QTest::newRow("empty last list") << Setting::Senaste << QVariant("") << QVariant("");
        QTest::newRow("last list") << Setting::Senaste << QVariant("/home/anna/Bilder/sjö och hav.lst")
                                   << QVariant("/home/anna/Bilder/sjö och hav.lst");
    }

    void reading()
    {
        QFETCH(Setting, key);
        QFETCH(QVariant, stored);
        QFETCH(QVariant, read);
        TempHome::store(key, stored);
        SettingsStore store;
        QVERIFY(store.exists(key));
        QVariant got;
        switch (SettingsStore::entry(key).kind) {
        case SettingsStore::Kind::Boolean:
            got = store.boolOrDefault(key);
            break;
        case SettingsStore::Kind::String:
            got = store.stringOrDefault(key);
            break;
        default:
            got = store.integerOrDefault(key);
        }
        QCOMPARE(got, read);
        QCOMPARE(got.isNull(), read.isNull());
    }

    void theKeyIsTheProgramsOwn()
    {
        SettingsStore().writeInteger(Setting::Mellan, 45);
        RegistryKey key(Registry::Root::CurrentUser, "Software\\Tavlix\\Settings", false);
        QVERIFY(key.isOpen());
        QCOMPARE(key.readInteger("Mellan"), 45);
        QVERIFY(QFile::exists(m_home->storeFile()));
    }
};

QTEST_APPLESS_MAIN(TestSettingsStore)
#include "tst_SettingsStore.moc"
