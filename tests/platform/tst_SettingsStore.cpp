#include "platform/SettingsStore.h"

#include <QTemporaryDir>
#include <QTest>

using Kind = SettingsStore::Kind;
Q_DECLARE_METATYPE(SettingsStore::Kind)
Q_DECLARE_METATYPE(Setting)

namespace {

QVariant readOrDefault(SettingsStore& store, Setting key)
{
    switch (SettingsStore::entry(key).kind) {
    case SettingsStore::Kind::Boolean:
        return store.boolOrDefault(key);
    case SettingsStore::Kind::String:
        return store.stringOrDefault(key);
    default:
        return store.integerOrDefault(key);
    }
}

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", m_home->path().toUtf8());
    }

    void cleanup() { m_home.reset(); }

    // Every value in start-up order, with its kind and the default that a first start applies.
    void defaultsOnFirstStart_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QVariant>("expected");
        const QList<std::tuple<const char*, Kind, QVariant>> rows{
            {"Ramfarg", Kind::Colour, qint32(0xFF00000Du)},
            {"Markering", Kind::Colour, qint32(0xFF00001Au)},
            {"Minimerad", Kind::Boolean, false},
            {"IkonSynlig", Kind::Boolean, true},
            {"Autostart", Kind::Boolean, false},
            {"Blanda", Kind::Boolean, false},
            {"VisaTips", Kind::Boolean, true},
            {"Left", Kind::Integer, 100},
            {"BgFarge", Kind::Colour, 15780518},
            {"BgFargeBotten", Kind::Colour, 8388608},
            {"TextFarge", Kind::Colour, 0},
            {"TextFargeBotten", Kind::Colour, 65535},
            {"Top", Kind::Integer, 100},
            {"Typ", Kind::Integer, 1},
            {"Screenstyle", Kind::Integer, 2},
            {"Mellan", Kind::Integer, 30},
            {"Startknapp", Kind::String, QString("&Starta")},
            {"Senaste", Kind::String, QString()},
            {"Vald", Kind::Integer, 0},
        };
        for (int i = 0; i < rows.size(); ++i)
            QTest::newRow(std::get<0>(rows[i])) << i << std::get<1>(rows[i]) << std::get<2>(rows[i]);
    }

    void defaultsOnFirstStart()
    {
        QFETCH(int, position);
        QFETCH(Kind, kind);
        QFETCH(QVariant, expected);
        const QString name = QTest::currentDataTag();
        const auto key = Setting(position);
        QCOMPARE(SettingsStore::table().size(), size_t(19));
        QCOMPARE(SettingsStore::table()[position].key, key);
        QCOMPARE(SettingsStore::name(key), name);
        QCOMPARE(SettingsStore::entry(key).kind, kind);
        SettingsStore store;
        QVERIFY(!store.exists(key));
        const QVariant got = readOrDefault(store, key);
        QCOMPARE(got, expected);
        QCOMPARE(got.isNull(), expected.isNull());
    }

    // A value the program cannot use reads as the default (an interval unit outside the list would
    // leave the rotation changing the background every second).
    void storedValueWinsWhenUsable_data()
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

    void storedValueWinsWhenUsable()
    {
        QFETCH(Setting, key);
        QFETCH(QVariant, stored);
        QFETCH(QVariant, read);
        const Kind kind = SettingsStore::entry(key).kind;
        {
            SettingsStore store;
            if (kind == Kind::Boolean)
                store.writeBool(key, stored.toBool());
            else if (kind == Kind::String)
                store.writeString(key, stored.toString());
            else
                store.writeInteger(key, stored.toInt());
        }
        SettingsStore store;
        QVERIFY(store.exists(key));
        const QVariant got = readOrDefault(store, key);
        QCOMPARE(got, read);
        QCOMPARE(got.isNull(), false);
    }

    void theKeyIsTheProgramsOwn()
    {
        {
            SettingsStore store;
            store.writeInteger(Setting::Mellan, 45);
        }
        RegistryKey key(Registry::Root::CurrentUser, "Software\\Tavlix\\Settings", false);
        QVERIFY(key.isOpen());
        QCOMPARE(key.readInteger(SettingsStore::name(Setting::Mellan)), 45);
        QVERIFY(QFile::exists(m_home->path() + "/Tavlix/registry.sqlite3"));
    }
};

QTEST_APPLESS_MAIN(TestSettingsStore)
#include "tst_SettingsStore.moc"
