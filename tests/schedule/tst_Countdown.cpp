#include "ScheduleRig.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>

class TestCountdown : public QObject
{
    Q_OBJECT

private slots:
    // The labels and the tray hint show the rotation's countdown, its words from the unit box.
    void labelsAndHint()
    {
        ScheduleRig r;
        QString hint;
        QObject::connect(&r.countdown, &Countdown::hintChanged, [&](const QString& h) { hint = h; });
        r.c.cmbTidTyp->setCurrentIndex(5);
        r.c.spinEditTimeInterval->setValue(2);
        r.c.btStartStop->click();
        r.countdown.TimeLeftTimer();
        r.countdown.TimerMinSekTimer();
        QCOMPARE(r.countdownLine(), "1 Dag 59 sekunder");
        QCOMPARE(hint, Countdown::creditText() + "\r\nTid till nästa byte:\r\n1 Dag 59 sekunder");
        for (int i = 0; i < 58; ++i)
            r.countdown.TimerMinSekTimer();
        QCOMPARE(r.countdownLine(), "1 Dag 1 sekund");
    }

    void clockAndDate()
    {
        ScheduleRig r;
        r.countdown.setLocale(QLocale(QLocale::Swedish, QLocale::Sweden));
        r.countdown.setClock([] { return QDateTime(QDate(2026, 12, 8), QTime(9, 5, 7)); });

        r.countdown.TimerTidTimer();

        QCOMPARE(r.c.lbTid->text(), QStringLiteral("Klockan är: 09:05:07"));
        QCOMPARE(r.c.lbDate->text(), QStringLiteral("Dagens Datum: tisdag den 08 dec. 2026"));
    }

    void dateRenewedWhenTheDayChanges()
    {
        ScheduleRig r;
        r.countdown.setLocale(QLocale(QLocale::Swedish, QLocale::Sweden));
        QDateTime now(QDate(2026, 12, 8), QTime(23, 59, 59));
        r.countdown.setClock([&] { return now; });

        r.countdown.TimerTidTimer();
        QVERIFY(r.c.lbDate->text().contains(QStringLiteral("tisdag den 08")));

        // The machine slept over midnight: the first tick of the new day falls at 07:30:12.
        now = QDateTime(QDate(2026, 12, 9), QTime(7, 30, 12));
        r.countdown.TimerTidTimer();
        QCOMPARE(r.c.lbTid->text(), QStringLiteral("Klockan är: 07:30:12"));
        QCOMPARE(r.c.lbDate->text(), QStringLiteral("Dagens Datum: onsdag den 09 dec. 2026"));
    }
};

QTEST_MAIN(TestCountdown)
#include "tst_Countdown.moc"
