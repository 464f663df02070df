#include "ControlsFixture.h"
#include "schedule/Countdown.h"

#include <QTest>

class TestCountdown : public QObject
{
    Q_OBJECT

private slots:
    void secondsTick_data();
    void secondsTick();
    void unitTick_data();
    void unitTick();
    void minuteOfCountdownFromStart();
    void clockAndDate();
    void dateRenewedWhenTheDayChanges();
};

void TestCountdown::secondsTick_data()
{
    QTest::addColumn<QString>("sek");
    QTest::addColumn<QString>("timeLeft");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("line"); // the four labels after the tick

    QTest::newRow("0 wraps to 59") << "0"
                                   << "29" << 1 << "29 Minuter 59 sekunder";
    QTest::newRow("2 gives 1 sekund") << "2"
                                      << "29" << 1 << "29 Minuter 1 sekund";
    QTest::newRow("1 gives 0 sekunder") << "1"
                                        << "29" << 1 << "29 Minuter 0 sekunder";
    QTest::newRow("one unit left, plural becomes singular") << "30"
                                                            << "1" << 3 << "1 Timme 29 sekunder";
    QTest::newRow("one unit left, Dagar") << "30"
                                          << "1" << 5 << "1 Dag 29 sekunder";
    QTest::newRow("one unit left, singular stays") << "30"
                                                   << "1" << 2 << "1 Timme 29 sekunder";
    QTest::newRow("more units left, the selected word") << "30"
                                                        << "2" << 3 << "2 Timmar 29 sekunder";
}

void TestCountdown::secondsTick()
{
    QFETCH(QString, sek);
    QFETCH(QString, timeLeft);
    QFETCH(int, unit);
    QFETCH(QString, line);

    ControlsFixture f;
    RotationState state;
    QString hint;
    Countdown countdown(f.countdownControls(), state);
    QObject::connect(&countdown, &Countdown::hintChanged, [&](const QString& h) { hint = h; });
    f.c.cmbTidTyp->setCurrentIndex(unit);
    f.c.lbMinut->setText(f.c.cmbTidTyp->currentText());
    f.c.lbSek->setText(sek);
    f.c.lbSek1->setText(QStringLiteral("sekund"));
    f.c.lbTimeLeft->setText(timeLeft);

    countdown.TimerMinSekTimer();

    QCOMPARE(f.countdownLine(), line);
    QCOMPARE(hint, Countdown::creditText() + "\r\nTid till nästa byte:\r\n" + line);
}

void TestCountdown::unitTick_data()
{
    QTest::addColumn<int>("unitsLeft");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("timeLeft");
    QTest::addColumn<int>("unitsAfter");
    QTest::addColumn<QString>("word");

    QTest::newRow("2 to 1 Dagar shows Dag") << 2 << 3 << 5 << "1" << 1 << "Dag";
    QTest::newRow("2 to 1 Timmar shows Timme") << 2 << 3 << 3 << "1" << 1 << "Timme";
    QTest::newRow("2 to 1 Minuter shows Minut") << 2 << 3 << 1 << "1" << 1 << "Minut";
    QTest::newRow("2 to 1 with a singular unit") << 2 << 1 << 2 << "1" << 1 << "Timme";
    QTest::newRow("1 to 0 reloads the value") << 1 << 3 << 5 << "0" << 3 << "Dagar";
    QTest::newRow("5 to 4") << 5 << 30 << 1 << "4" << 4 << "Minuter";
    QTest::newRow("0 shows 0, not -1") << 0 << 0 << 1 << "0" << -1 << "Minuter";
    QTest::newRow("below that the numbers show") << -1 << 0 << 1 << "-2" << -2 << "Minuter";
}

void TestCountdown::unitTick()
{
    QFETCH(int, unitsLeft);
    QFETCH(int, value);
    QFETCH(int, unit);
    QFETCH(QString, timeLeft);
    QFETCH(int, unitsAfter);
    QFETCH(QString, word);

    ControlsFixture f;
    RotationState state;
    state.unitsLeft = unitsLeft;
    Countdown countdown(f.countdownControls(), state);
    f.c.spinEditTimeInterval->setValue(value);
    f.c.cmbTidTyp->setCurrentIndex(unit);
    f.c.lbMinut->setText(f.c.cmbTidTyp->currentText());
    f.c.lbSek->setText(QStringLiteral("37"));

    countdown.TimeLeftTimer();

    QCOMPARE(f.c.lbTimeLeft->text(), timeLeft);
    QCOMPARE(state.unitsLeft, unitsAfter);
    QCOMPARE(f.c.lbMinut->text(), word);
    QCOMPARE(f.c.lbSek->text(), QStringLiteral("0"));
}

void TestCountdown::minuteOfCountdownFromStart()
{
    // As a start with 30 Minuter leaves the labels: 29 Minuter 0 sekunder, 30 units left.
    ControlsFixture f;
    RotationState state;
    state.unitsLeft = 30;
    QStringList hints;
    Countdown countdown(f.countdownControls(), state);
    QObject::connect(&countdown, &Countdown::hintChanged, [&](const QString& h) { hints << h; });
    f.c.lbTimeLeft->setText(QStringLiteral("29"));

    QStringList lines;
    for (int second = 1; second <= 60; ++second) {
        countdown.TimerMinSekTimer();
        lines << f.countdownLine();
    }
    QCOMPARE(lines.first(), QStringLiteral("29 Minuter 59 sekunder"));
    QCOMPARE(lines.at(57), QStringLiteral("29 Minuter 2 sekunder"));
    QCOMPARE(lines.at(58), QStringLiteral("29 Minuter 1 sekund"));
    QCOMPARE(lines.at(59), QStringLiteral("29 Minuter 0 sekunder"));
    QCOMPARE(hints.size(), 60);
    for (const QString& hint : hints) {
        QVERIFY2(!hint.contains(QStringLiteral(" -1 ")), qPrintable(hint));
        QVERIFY2(hint.endsWith(QStringLiteral(" 1 sekund")) || hint.endsWith(QStringLiteral("sekunder")),
                 qPrintable(hint));
        QVERIFY2(!hint.endsWith(QStringLiteral(" 1 sekunder")), qPrintable(hint));
    }

    countdown.TimeLeftTimer();
    QCOMPARE(f.countdownLine(), QStringLiteral("29 Minuter 0 sekunder"));
    QCOMPARE(state.unitsLeft, 29);
}

void TestCountdown::clockAndDate()
{
    ControlsFixture f;
    RotationState state;
    Countdown countdown(f.countdownControls(), state);
    countdown.setLocale(QLocale(QLocale::Swedish, QLocale::Sweden));
    countdown.setClock([] { return QDateTime(QDate(2026, 12, 8), QTime(9, 5, 7)); });

    countdown.TimerTidTimer();

    QCOMPARE(f.c.lbTid->text(), QStringLiteral("Klockan är: 09:05:07"));
    QCOMPARE(f.c.lbDate->text(), QStringLiteral("Dagens Datum: tisdag den 08 dec. 2026"));
}

void TestCountdown::dateRenewedWhenTheDayChanges()
{
    ControlsFixture f;
    RotationState state;
    Countdown countdown(f.countdownControls(), state);
    countdown.setLocale(QLocale(QLocale::Swedish, QLocale::Sweden));
    QDateTime now(QDate(2026, 12, 8), QTime(23, 59, 59));
    countdown.setClock([&] { return now; });

    countdown.TimerTidTimer();
    QVERIFY(f.c.lbDate->text().contains(QStringLiteral("tisdag den 08")));

    // The machine slept over midnight: the first tick of the new day falls at 07:30:12.
    now = QDateTime(QDate(2026, 12, 9), QTime(7, 30, 12));
    countdown.TimerTidTimer();
    QCOMPARE(f.c.lbTid->text(), QStringLiteral("Klockan är: 07:30:12"));
    QCOMPARE(f.c.lbDate->text(), QStringLiteral("Dagens Datum: onsdag den 09 dec. 2026"));
}

QTEST_MAIN(TestCountdown)
#include "tst_Countdown.moc"
