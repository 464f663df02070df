#include "schedule/MessageTimer.h"

#include <QElapsedTimer>
#include <QTest>
#include <memory>

class tst_MessageTimer : public QObject
{
    Q_OBJECT

private slots:
    void startAndStopResults_data();
    void startAndStopResults();
    void sameIntervalKeepsThePeriod();
    void newIntervalRestartsThePeriod();
    void zeroIntervalPausesWithoutDisabling();
    void autoDisableTicksOnce();
    void sharedDispatcherFollowsTheTimers();
    void lastTimerDestroyedByItsOwnTick();
};

void tst_MessageTimer::startAndStopResults_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("started");

    QTest::newRow("interval 0 fails") << 0 << false;
    QTest::newRow("negative interval fails") << -5 << false;
    QTest::newRow("interval 10") << 10 << true;
}

void tst_MessageTimer::startAndStopResults()
{
    QFETCH(int, interval);
    QFETCH(bool, started);
    int ticks = 0;
    MessageTimer timer(interval, [&](MessageTimer&) { ++ticks; });
    QCOMPARE(timer.start(), started);
    QCOMPARE(timer.enabled(), started);
    if (started)
        QTRY_VERIFY(ticks > 0);
    // stop reports whether ticks were running; disabling happens either way
    QCOMPARE(timer.stop(true), started);
    QVERIFY(!timer.enabled());
    QVERIFY(!timer.stop(true));
    const int seen = ticks;
    QTest::qWait(60);
    QCOMPARE(ticks, seen);
}

void tst_MessageTimer::sameIntervalKeepsThePeriod()
{
    int ticks = 0;
    MessageTimer timer(1000, [&](MessageTimer&) { ++ticks; });
    timer.setEnabled(true);
    QTest::qWait(700);
    timer.setInterval(1000);
    // Not restarted: the tick is due 300 ms from now, not 1000.
    QTRY_VERIFY_WITH_TIMEOUT(ticks == 1, 650);
}

void tst_MessageTimer::newIntervalRestartsThePeriod()
{
    int ticks = 0;
    MessageTimer timer(1000, [&](MessageTimer&) { ++ticks; });
    timer.setEnabled(true);
    QTest::qWait(700);
    QElapsedTimer clock;
    clock.start();
    timer.setInterval(1200);
    QTRY_VERIFY_WITH_TIMEOUT(ticks == 1, 3000);
    QVERIFY2(clock.elapsed() >= 1150, qPrintable(QString::number(clock.elapsed())));
}

void tst_MessageTimer::zeroIntervalPausesWithoutDisabling()
{
    int ticks = 0;
    MessageTimer timer(10, [&](MessageTimer&) { ++ticks; });
    QVERIFY(timer.start());
    QTRY_VERIFY(ticks > 0);
    timer.setInterval(0);
    QVERIFY(timer.enabled());
    const int seen = ticks;
    QTest::qWait(100);
    QCOMPARE(ticks, seen);
    timer.setInterval(15); // no setEnabled needed
    QTRY_VERIFY(ticks > seen);
}

void tst_MessageTimer::autoDisableTicksOnce()
{
    int ticks = 0;
    bool enabledInHandler = true;
    MessageTimer timer(10, [&](MessageTimer& sender) {
        ++ticks;
        enabledInHandler = sender.enabled();
    });
    timer.setAutoDisable(true);
    QVERIFY(timer.start());
    QTRY_COMPARE(ticks, 1);
    QTest::qWait(80);
    QCOMPARE(ticks, 1);
    QVERIFY(!enabledInHandler);
    QVERIFY(!timer.enabled());
}

void tst_MessageTimer::sharedDispatcherFollowsTheTimers()
{
    QVERIFY(!MessageTimer::dispatcherExists());
    auto first = std::make_unique<MessageTimer>();
    auto second = std::make_unique<MessageTimer>();
    QVERIFY(MessageTimer::dispatcherExists());
    QCOMPARE(MessageTimer::timerCount(), 2);
    first.reset();
    QCOMPARE(MessageTimer::timerCount(), 1);
    second.reset();
    QVERIFY(!MessageTimer::dispatcherExists());

    int ticks = 0;
    MessageTimer again(10, [&](MessageTimer&) { ++ticks; });
    QVERIFY(MessageTimer::dispatcherExists());
    QVERIFY(again.start());
    QTRY_VERIFY(ticks > 0);
}

void tst_MessageTimer::lastTimerDestroyedByItsOwnTick()
{
    auto* timer = new MessageTimer(10, {});
    bool ran = false;
    timer->setOnTimer([&](MessageTimer& sender) {
        ran = true;
        delete &sender;
    });
    QVERIFY(timer->start());
    QTRY_VERIFY(ran);
    QVERIFY(!MessageTimer::dispatcherExists());
    QTest::qWait(20); // the old dispatcher goes with the next turn of the event loop
}

QTEST_GUILESS_MAIN(tst_MessageTimer)
#include "tst_MessageTimer.moc"
