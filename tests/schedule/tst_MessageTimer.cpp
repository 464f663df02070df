#include "schedule/MessageTimer.h"

#include <QElapsedTimer>
#include <QTest>
#include <memory>

class TestMessageTimer : public QObject
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

void TestMessageTimer::startAndStopResults_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("started");

    QTest::newRow("interval 0 fails") << 0 << false;
    QTest::newRow("negative interval fails") << -5 << false;
    QTest::newRow("interval 10") << 10 << true;
}

void TestMessageTimer::startAndStopResults()
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

void TestMessageTimer::sameIntervalKeepsThePeriod()
{
    // Times are taken in the handler, and a busy machine only makes ticks late: a restarted
    // period could not tick before 950 ms (a coarse timer may be 5 % early).
    QElapsedTimer clock;
    qint64 tickedAt = -1;
    MessageTimer timer(1000, [&](MessageTimer&) {
        if (tickedAt < 0)
            tickedAt = clock.elapsed();
    });
    timer.setEnabled(true);
    QTest::qWait(700);
    clock.start();
    timer.setInterval(1000);
    // Not restarted: the tick is due about 300 ms from now, not 1000.
    QTRY_VERIFY_WITH_TIMEOUT(tickedAt >= 0, 10000);
    QVERIFY2(tickedAt < 900, qPrintable(QString::number(tickedAt)));
}

void TestMessageTimer::newIntervalRestartsThePeriod()
{
    int ticks = 0;
    MessageTimer timer(1000, [&](MessageTimer&) { ++ticks; });
    timer.setEnabled(true);
    QTest::qWait(700);
    QElapsedTimer clock;
    clock.start();
    timer.setInterval(1200);
    QTRY_VERIFY_WITH_TIMEOUT(ticks == 1, 10000);
    // The old period would have ticked about 300 ms from the change.
    QVERIFY2(clock.elapsed() >= 1100, qPrintable(QString::number(clock.elapsed())));
}

void TestMessageTimer::zeroIntervalPausesWithoutDisabling()
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

void TestMessageTimer::autoDisableTicksOnce()
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

void TestMessageTimer::sharedDispatcherFollowsTheTimers()
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

void TestMessageTimer::lastTimerDestroyedByItsOwnTick()
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

QTEST_GUILESS_MAIN(TestMessageTimer)
#include "tst_MessageTimer.moc"
