#include "core/SettingsBinding.h"

#include <QMap>
#include <QTest>
#include <stdexcept>

namespace {

// A store in memory: a value stored as a string where a number is wanted fails as the registry does.
class MemoryStore : public Settings::Reader, public Settings::Writer
{
public:
    QMap<Setting, QVariant> values;
    QList<Setting> written;
    Setting failingWrite = Setting(-1);

    bool exists(Setting key) override { return values.contains(key); }
    qint32 readInteger(Setting key) override { return checked(key, QMetaType::Int).toInt(); }
    bool readBool(Setting key) override { return checked(key, QMetaType::Int).toInt() != 0; }
    QString readString(Setting key) override { return checked(key, QMetaType::QString).toString(); }
    void writeInteger(Setting key, qint32 value) override { put(key, value); }
    void writeBool(Setting key, bool value) override { put(key, int(value)); }
    void writeString(Setting key, const QString& value) override { put(key, value); }

private:
    QVariant checked(Setting key, QMetaType::Type type)
    {
        if (values[key].typeId() != type)
            throw std::runtime_error("Invalid data type");
        return values[key];
    }
    void put(Setting key, const QVariant& value)
    {
        if (key == failingWrite)
            throw std::runtime_error("Failed to set data");
        values[key] = value;
        written << key;
    }
};

} // namespace

class TestSettingsBinding : public QObject
{
    Q_OBJECT

    // Rows given out of the store's order; each records what it took.
    static SettingsBinding binding(QList<QPair<Setting, QVariant>>& applied, Setting withheld = Setting(-1))
    {
        std::vector<SettingsBinding::Row> rows;
        for (Setting key : {Setting::Startknapp, Setting::Typ, Setting::Left, Setting::Minimerad, Setting::Ramfarg,
                            Setting::Senaste, Setting::Vald}) {
            const bool readAtCreation = key != Setting::Senaste && key != Setting::Vald;
            rows.push_back(
                {key,
                 readAtCreation ? std::function([&applied, key](const QVariant& v) { applied << qMakePair(key, v); })
                                : nullptr,
                 key == Setting::Ramfarg || key == Setting::Senaste ? nullptr : std::function([key, withheld] {
                     if (key == withheld)
                         return QVariant();
                     return key == Setting::Startknapp ? QVariant(QStringLiteral("&Stoppa"))
                                                       : QVariant(qint32(key) + 1);
                 })});
        }
        return SettingsBinding(std::move(rows));
    }

private slots:
    void creationReadsInTheStoresOrderByTheReadingRule_data()
    {
        QTest::addColumn<QVariant>("storedTyp");
        QTest::addColumn<QVariant>("storedRamfarg");
        QTest::addColumn<QList<QVariant>>("expected"); // Ramfarg, Minimerad, Left, Typ, Startknapp
        QTest::addColumn<int>("appliedBeforeFailure"); // -1: no failure
        const QVariant highlight = qint32(0xFF00000Du);
        QTest::newRow("nothing stored: every default")
            << QVariant() << QVariant() << QList<QVariant>{highlight, false, 100, 1, "&Starta"} << -1;
        QTest::newRow("stored values are taken")
            << QVariant(4) << QVariant(0x123456) << QList<QVariant>{0x123456, false, 100, 4, "&Starta"} << -1;
        QTest::newRow("unit outside its list, colour that is none: defaults")
            << QVariant(9) << QVariant(0x12000000) << QList<QVariant>{highlight, false, 100, 1, "&Starta"} << -1;
        QTest::newRow("a wrong kind ends the read there")
            << QVariant(QStringLiteral("4")) << QVariant(5) << QList<QVariant>{5, false, 100} << 3;
    }

    void creationReadsInTheStoresOrderByTheReadingRule()
    {
        QFETCH(QVariant, storedTyp);
        QFETCH(QVariant, storedRamfarg);
        QFETCH(QList<QVariant>, expected);
        QFETCH(int, appliedBeforeFailure);
        MemoryStore store;
        if (storedTyp.isValid())
            store.values[Setting::Typ] = storedTyp;
        if (storedRamfarg.isValid())
            store.values[Setting::Ramfarg] = storedRamfarg;
        QList<QPair<Setting, QVariant>> applied;
        const SettingsBinding b = binding(applied);
        bool failed = false;
        try {
            b.applyAll(store);
        } catch (const std::runtime_error&) {
            failed = true;
        }
        QCOMPARE(failed, appliedBeforeFailure >= 0);
        const QList<Setting> order{Setting::Ramfarg, Setting::Minimerad, Setting::Left, Setting::Typ,
                                   Setting::Startknapp};
        QCOMPARE(applied.size(), expected.size());
        for (int i = 0; i < applied.size(); ++i) {
            QCOMPARE(applied[i].first, order[i]);
            QCOMPARE(applied[i].second.toString(), expected[i].toString());
        }
    }

    void closeWritesInTheStoresOrderAndStopsAtAFailure_data()
    {
        QTest::addColumn<int>("failing");  // -1: none
        QTest::addColumn<int>("withheld"); // a value the program does not hold yet
        QTest::addColumn<QList<Setting>>("written");
        QTest::newRow("all") << -1 << -1
                             << QList<Setting>{Setting::Minimerad, Setting::Left, Setting::Typ, Setting::Startknapp,
                                               Setting::Vald};
        QTest::newRow("a failed write leaves the rest unwritten")
            << int(Setting::Typ) << -1 << QList<Setting>{Setting::Minimerad, Setting::Left};
        QTest::newRow("a value not held yet stays as stored")
            << -1 << int(Setting::Vald)
            << QList<Setting>{Setting::Minimerad, Setting::Left, Setting::Typ, Setting::Startknapp};
    }

    void closeWritesInTheStoresOrderAndStopsAtAFailure()
    {
        QFETCH(int, failing);
        QFETCH(int, withheld);
        QFETCH(QList<Setting>, written);
        MemoryStore store;
        store.failingWrite = Setting(failing);
        QList<QPair<Setting, QVariant>> applied;
        try {
            binding(applied, Setting(withheld)).collectAll(store);
        } catch (const std::runtime_error&) {
            QVERIFY(failing >= 0);
        }
        QCOMPARE(store.written, written);
        if (failing < 0) {
            QCOMPARE(store.values[Setting::Minimerad], QVariant(1)); // a boolean as 1
            QCOMPARE(store.values[Setting::Startknapp], QVariant(QStringLiteral("&Stoppa")));
        }
    }
};

QTEST_APPLESS_MAIN(TestSettingsBinding)
#include "tst_SettingsBinding.moc"
