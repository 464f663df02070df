#include "schedule/IntervalMath.h"

#include <QSet>
#include <QTest>

using namespace IntervalMath;

class TestIntervalMath : public QObject
{
    Q_OBJECT

private slots:
    void changeInterval_data();
    void changeInterval();
    void step_data();
    void step();
    void arrowsWalkTheWholeCycle();
};

void TestIntervalMath::changeInterval_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<int>("unit");
    QTest::addColumn<qint64>("tick");   // -1: no valid unit
    QTest::addColumn<qint64>("change"); // -1: no valid unit

    QTest::newRow("30 Minuter") << 30LL << 1 << 60'000LL << 1'800'000LL;
    QTest::newRow("1 Minut") << 1LL << 0 << 60'000LL << 60'000LL;
    QTest::newRow("1 Timme") << 1LL << 2 << 3'600'000LL << 3'600'000LL;
    QTest::newRow("5 Timmar") << 5LL << 3 << 3'600'000LL << 18'000'000LL;
    // a day is 24 hours everywhere
    QTest::newRow("1 Dag") << 1LL << 4 << 86'400'000LL << 86'400'000LL;
    QTest::newRow("3 Dagar") << 3LL << 5 << 86'400'000LL << 259'200'000LL;
    // beyond one QTimer period and beyond 32 bits: must not wrap
    QTest::newRow("25 Dagar beyond int") << 25LL << 5 << 86'400'000LL << 2'160'000'000LL;
    QTest::newRow("59 Dagar beyond 32 bits") << 59LL << 5 << 86'400'000LL << 5'097'600'000LL;
    QTest::newRow("typed INT_MAX Dagar") << 2'147'483'647LL << 5 << 86'400'000LL << 185'542'587'100'800'000LL;
    QTest::newRow("no unit selected") << 30LL << -1 << -1LL << -1LL;
    QTest::newRow("index past the items") << 30LL << 6 << -1LL << -1LL;
}

void TestIntervalMath::changeInterval()
{
    QFETCH(qint64, value);
    QFETCH(int, unit);
    QFETCH(qint64, tick);
    QFETCH(qint64, change);
    QCOMPARE(unitLength(unit).value_or(-1), tick);
    QCOMPARE(IntervalMath::changeInterval(value, unit).value_or(-1), change);
}

void TestIntervalMath::step_data()
{
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("newValue");
    QTest::addColumn<int>("newUnit");

    QTest::newRow("up 59 Minuter -> 1 Timme") << true << 59 << 1 << 1 << 2;
    QTest::newRow("down 1 Timme -> 59 Minuter") << false << 1 << 2 << 59 << 1;
    QTest::newRow("down 2 Dagar -> 1 Dag") << false << 2 << 5 << 1 << 4;
    QTest::newRow("up 59 Dagar -> 1 Minut") << true << 59 << 5 << 1 << 0;
    QTest::newRow("down 1 Minut -> 59 Dagar") << false << 1 << 0 << 59 << 5;
    // 1 with a plural unit is reachable by choosing the unit
    QTest::newRow("up 1 Minuter -> 2 Minuter") << true << 1 << 1 << 2 << 1;
    QTest::newRow("down 1 Dagar -> 59 Dagar") << false << 1 << 5 << 59 << 5;
    // typed values outside 1..59
    QTest::newRow("up typed 100 Minuter rolls over") << true << 100 << 1 << 1 << 2;
    QTest::newRow("down typed 100 Minuter stays plural") << false << 100 << 1 << 99 << 1;
    QTest::newRow("down typed -5 Timmar rolls back") << false << -5 << 3 << 59 << 3;
    QTest::newRow("up typed INT_MAX Timme") << true << 2'147'483'647 << 2 << 1 << 2;
    QTest::newRow("up with no unit selected") << true << 59 << -1 << 1 << 0;
}

void TestIntervalMath::step()
{
    QFETCH(bool, up);
    QFETCH(int, value);
    QFETCH(int, unit);
    QFETCH(int, newValue);
    QFETCH(int, newUnit);
    const Interval result = up ? stepUp({value, unit}) : stepDown({value, unit});
    QCOMPARE(result.value, newValue);
    QCOMPARE(result.unit, newUnit);
}

void TestIntervalMath::arrowsWalkTheWholeCycle()
{
    // Up from 1 Minut passes every value of every unit once and comes back; down retraces it.
    QList<Interval> upWalk{{1, 0}};
    for (int i = 0; i < 6 * 59; ++i)
        upWalk.append(stepUp(upWalk.last()));
    QCOMPARE(upWalk.last(), (Interval{1, 0}));

    QSet<QPair<int, int>> seen;
    for (qsizetype i = 0; i + 1 < upWalk.size(); ++i) {
        const Interval& at = upWalk[i];
        QVERIFY(at.value >= 1 && at.value <= 59);
        QCOMPARE(isSingular(at.unit), at.value == 1);
        seen.insert({at.value, at.unit / 2});
        QCOMPARE(stepDown(upWalk[i + 1]), at);
    }
    QCOMPARE(seen.size(), 6 * 59 / 2);
}

QTEST_APPLESS_MAIN(TestIntervalMath)
#include "tst_IntervalMath.moc"
