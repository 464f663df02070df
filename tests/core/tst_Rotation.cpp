#include "core/Rotation.h"

#include <QTest>

namespace {

const QStringList Items{"Minut", "Minuter", "Timme", "Timmar", "Dag", "Dagar"};

// The countdown as its four labels read it.
QString line(const Rotation& r)
{
    const Rotation::Countdown& c = r.countdown();
    return QStringLiteral("%1 %2 %3 %4")
        .arg(c.units)
        .arg(c.word ? Items[c.word->index()] : QString())
        .arg(c.seconds)
        .arg(c.oneSecond() ? "sekund" : "sekunder");
}

// Runs a script of user actions and ticks: s start/stop, t seconds tick, u unit tick, c change
// tick, + and - the arrows, r the unit rule.
void run(Rotation& r, const QString& script)
{
    for (QChar op : script) {
        switch (op.toLatin1()) {
        case 's':
            r.toggle();
            break;
        case 't':
            r.secondTick();
            break;
        case 'u':
            r.unitTick();
            break;
        case 'c':
            r.changeTick(0, 3);
            break;
        case '+':
            r.stepUp();
            break;
        case '-':
            r.stepDown();
            break;
        case 'r':
            r.applyUnitRule();
            break;
        }
    }
}

} // namespace

class TestRotation : public QObject
{
    Q_OBJECT

private slots:
    void intervals_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("unit"); // item index; -1 none selected after a Minuter
        QTest::addColumn<qint64>("unitMs");
        QTest::addColumn<qint64>("changeMs");
        QTest::newRow("30 Minuter") << 30 << 1 << 60'000LL << 1'800'000LL;
        QTest::newRow("5 Timmar") << 5 << 3 << 3'600'000LL << 18'000'000LL;
        QTest::newRow("a day is 24 hours") << 1 << 4 << 86'400'000LL << 86'400'000LL;
        QTest::newRow("59 Dagar beyond 32 bits") << 59 << 5 << 86'400'000LL << 5'097'600'000LL;
        QTest::newRow("typed INT_MAX Dagar") << 2'147'483'647 << 5 << 86'400'000LL << 185'542'587'100'800'000LL;
        QTest::newRow("no unit keeps the last") << 2 << -1 << 60'000LL << 120'000LL;
    }
    void intervals()
    {
        QFETCH(int, value);
        QFETCH(int, unit);
        Rotation r;
        r.setUnit(UnitChoice::fromIndex(3));
        r.setUnit(UnitChoice::fromIndex(1));
        r.setUnit(UnitChoice::fromIndex(unit));
        r.setValue(value);
        QFETCH(qint64, unitMs);
        QFETCH(qint64, changeMs);
        QCOMPARE(r.unitLength(), unitMs);
        QCOMPARE(r.changeInterval(), changeMs);
    }

    // The arrows walk 1 Minut, 2..59 Minuter, 1 Timme ... 59 Dagar and round; the unit rule
    // sets 1 for a chosen singular.
    void steps_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("newValue");
        QTest::addColumn<int>("newUnit");
        QTest::newRow("up 59 Minuter") << 59 << 1 << "+" << 1 << 2;
        QTest::newRow("down 1 Timme") << 1 << 2 << "-" << 59 << 1;
        QTest::newRow("down 2 Dagar") << 2 << 5 << "-" << 1 << 4;
        QTest::newRow("up 59 Dagar wraps") << 59 << 5 << "+" << 1 << 0;
        QTest::newRow("down 1 Minut wraps") << 1 << 0 << "-" << 59 << 5;
        QTest::newRow("up 1 Minuter") << 1 << 1 << "+" << 2 << 1;
        QTest::newRow("up typed 100 rolls over") << 100 << 1 << "+" << 1 << 2;
        QTest::newRow("down typed -5 rolls back") << -5 << 3 << "-" << 59 << 3;
        QTest::newRow("up typed INT_MAX") << 2'147'483'647 << 2 << "+" << 1 << 2;
        QTest::newRow("up from no unit") << 59 << -1 << "+" << 1 << 0;
        QTest::newRow("rule: Timme with 45") << 45 << 2 << "r" << 1 << 2;
        QTest::newRow("rule: Timmar with 1 keeps 1") << 1 << 3 << "r" << 1 << 3;
        QTest::newRow("rule: Minuter keeps 45") << 45 << 1 << "r" << 45 << 1;
    }
    void steps()
    {
        QFETCH(int, value);
        QFETCH(int, unit);
        QFETCH(QString, script);
        Rotation r;
        r.setValue(value);
        r.setUnit(UnitChoice::fromIndex(unit));
        QFETCH(int, newValue);
        QFETCH(int, newUnit);
        run(r, script);
        QCOMPARE(r.value(), newValue);
        QCOMPARE(r.unit().value_or(UnitChoice{}).index(), newUnit);
        QCOMPARE(r.countdown().word, r.unit()); // the unit rule names the unit
    }

    // In order the next position is one after the marked picture (none marked counts as the first);
    // each step here marks what the one before chose.
    void positions_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("marked");
        QTest::addColumn<bool>("running");
        QTest::addColumn<QList<int>>("positions"); // -1: nothing changes
        QTest::newRow("last of 3 wraps") << 3 << 2 << true << QList<int>{0, 1, 2};
        QTest::newRow("nothing marked goes to the second") << 3 << -1 << true << QList<int>{1, 2, 0};
        QTest::newRow("nothing marked, one entry") << 1 << -1 << true << QList<int>{0, 0};
        QTest::newRow("empty list waits") << 0 << -1 << true << QList<int>{-1, -1};
        QTest::newRow("stopped") << 3 << 1 << false << QList<int>{-1};
    }
    void positions()
    {
        QFETCH(int, count);
        QFETCH(int, marked);
        QFETCH(QList<int>, positions);
        QFETCH(bool, running);
        Rotation r;
        r.setValue(7);
        if (running)
            r.toggle();
        for (int expected : positions) {
            const auto k = r.changeTick(marked, count);
            QCOMPARE(k.value_or(-1), expected);
            QCOMPARE(r.unitsLeft(), 7);
            QCOMPARE(r.rotationIndex(), k.value_or(marked == -1 ? 0 : marked));
            if (k)
                marked = *k;
        }
    }

    void shuffleDrawsFromTheWholeList()
    {
        Rotation r;
        r.setShuffle(true);
        r.toggle();
        QList<int> hits(4, 0);
        int repeats = 0, last = -1;
        for (int i = 0; i < 400; ++i) {
            const int k = r.changeTick(last, 4).value_or(-1);
            QVERIFY(k >= 0 && k < 4);
            ++hits[k];
            repeats += k == last;
            last = k;
            QCOMPARE(r.changeTick(0, 1).value_or(-1), 0);
        }
        // 100 expected each; 60..140 is more than four standard deviations either side.
        for (int n : hits)
            QVERIFY2(n > 60 && n < 140, qPrintable(QString::number(n)));
        QVERIFY(repeats > 0); // no history: a picture can follow itself
    }

    // What the four countdown labels read after a script, from 30 Minuter with 30 units left.
    void countdown_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("unitsLeft");
        QTest::addColumn<QString>("shown");
        QTest::newRow("start") << 30 << 1 << "s" << 30 << "29 Minuter 0 sekunder";
        QTest::newRow("a second later") << 30 << 1 << "st" << 30 << "29 Minuter 59 sekunder";
        QTest::newRow("to 1 sekund") << 30 << 1 << "s" + QString(59, 't') << 30 << "29 Minuter 1 sekund";
        QTest::newRow("to 0 sekunder") << 30 << 1 << "s" + QString(60, 't') << 30 << "29 Minuter 0 sekunder";
        QTest::newRow("unit tick") << 30 << 1 << "sttu" << 29 << "29 Minuter 0 sekunder";
        QTest::newRow("stop") << 30 << 1 << "stts" << 30 << "30 Minuter 0 sekunder";
        QTest::newRow("2 to 1 Dagar says Dag") << 2 << 5 << "su" << 1 << "1 Dag 0 sekunder";
        QTest::newRow("1 to 0 reloads") << 2 << 3 << "suu" << 2 << "0 Timmar 0 sekunder";
        QTest::newRow("last unit, seconds say Timme") << 2 << 3 << "sut" << 1 << "1 Timme 59 sekunder";
        QTest::newRow("last unit, singular stays") << 3 << 2 << "stuut" << 1 << "1 Timme 59 sekunder";
        QTest::newRow("change tick renames") << 2 << 3 << "sutc" << 2 << "1 Timmar 59 sekunder";
        QTest::newRow("typed 0 starts at 1") << 0 << 1 << "s" << 1 << "0 Minuter 0 sekunder";
        // values below 1 reach the countdown only when stored or typed
        QTest::newRow("0 units shows 0") << 0 << 1 << "u" << -1 << "0 Minuter 0 sekunder";
        QTest::newRow("below that, the numbers") << 0 << 1 << "uu" << -2 << "-2 Minuter 0 sekunder";
    }
    void countdown()
    {
        QFETCH(int, value);
        QFETCH(int, unit);
        QFETCH(QString, script);
        QFETCH(QString, shown);
        QFETCH(int, unitsLeft);
        Rotation r;
        r.setValue(value);
        r.setUnit(UnitChoice::fromIndex(unit));
        run(r, script);
        QCOMPARE(line(r), shown);
        QCOMPARE(r.unitsLeft(), unitsLeft);
    }

    void resume_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("toggles");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<QString>("kept");
        QTest::newRow("ran at close") << "&Stoppa" << 0 << true << "&Stoppa";
        QTest::newRow("resumed") << "&Stoppa" << 1 << false << "&Stoppa";
        QTest::newRow("stopped after resuming") << "&Stoppa" << 2 << false << "&Starta";
        QTest::newRow("stopped at close") << "&Starta" << 0 << false << "&Starta";
        QTest::newRow("caption must match exactly") << "Stoppa" << 0 << false << "&Starta";
    }
    void resume()
    {
        QFETCH(QString, stored);
        QFETCH(int, toggles);
        QFETCH(bool, pending);
        QFETCH(QString, kept);
        Rotation r;
        r.restoreCaption(stored);
        for (int i = 0; i < toggles; ++i)
            r.toggle();
        QCOMPARE(r.resumePending(), pending);
        QCOMPARE(r.storedCaption(), kept);
    }

    // The time left by the clock, also across the periods of an interval longer than one timer holds.
    void remainingTimeByTheClock()
    {
        qint64 now = 0;
        Rotation r([&] { return now; });
        r.setValue(25);
        r.setUnit(UnitChoice::fromIndex(5));
        r.toggle();
        const qint64 interval = 25 * 86'400'000LL;
        now += 1000;
        QCOMPARE(r.msUntilChange(), interval - 1000);
        now += RotationInterval::MaxTimerMs - 1000;
        QVERIFY(!r.changeTimerElapsed());
        QCOMPARE(r.msUntilChange(), interval - RotationInterval::MaxTimerMs);
        r.toggle();
        QCOMPARE(r.msUntilChange(), 0);
    }
};

QTEST_APPLESS_MAIN(TestRotation)
#include "tst_Rotation.moc"
