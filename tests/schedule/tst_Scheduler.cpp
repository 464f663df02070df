#include "ScheduleRig.h"
#include "ScriptedDialogs.h"
#include "schedule/ThumbnailIcon.h"
#include "toolkit/PictureView.h"
#include "toolkit/TransparentColour.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// The start/stop state as the user sees it: caption, glyph, hint, the tray item, the timers on,
// the enabled settings and list commands.
QString look(const ScheduleRig& r)
{
    const MainWindowWidgets& c = r.c;
    const bool sameItem =
        c.starta1->text() == c.btStartStop->text() &&
        c.starta1->icon().pixmap(16).toImage() == withBottomLeftTransparent(c.btStartStop->glyph()).toImage();
    int timers = 0;
    for (const QTimer* t : {c.timerStart, c.timeLeft, c.timerMinSek})
        timers += t->isActive();
    int enabled = 0;
    for (const QWidget* w : std::initializer_list<const QWidget*>{c.chkBlanda, c.cmbTyp, c.spinEditTimeInterval,
                                                                  c.cmbTidTyp, c.btAdd, c.btSpara, c.btOpen, c.btNy})
        enabled += w->isEnabled();
    enabled += c.abortBild1->isEnabled() + c.redigeravaldbild1->isEnabled();
    return QStringLiteral("%1 %2 \"%3\" item:%4 timers:%5 enabled:%6")
        .arg(c.btStartStop->text(), c.btStartStop->glyphResource().toUpper(), c.btStartStop->toolTip())
        .arg(sameItem)
        .arg(timers)
        .arg(enabled);
}

} // namespace

class TestScheduler : public QObject
{
    Q_OBJECT

private slots:
    void startAndStop()
    {
        ScheduleRig r;
        r.setList(3, 1);
        r.c.btStartStop->click();
        QCOMPARE(look(r), QStringLiteral("&Stoppa STOP \"Stoppa bildbyte.\" item:1 timers:3 enabled:0"));
        QCOMPARE(r.c.timerStart->interval(), 1'800'000);
        QCOMPARE(r.c.timeLeft->interval(), 60'000);
        QCOMPARE(r.countdownLine(), QStringLiteral("29 Minuter 0 sekunder"));
        QCOMPARE(r.verkstallClicks, 1);
        QCOMPARE(TempHome::stored(Setting::Startknapp).toString(), QStringLiteral("&Stoppa"));
        // the hint is made from the labels as they stood before the start
        QVERIFY(r.hints.value(0).endsWith(QStringLiteral("\r\nTid till nästa byte:\r\n30 Minuter 0 sekunder")));

        r.c.starta1->trigger(); // the tray item toggles as the button does
        QCOMPARE(look(r), QStringLiteral("&Starta START \"Starta bakgrundsbyten med valt tidsintervall.\" item:1 "
                                         "timers:0 enabled:10"));
        QCOMPARE(r.countdownLine(), QStringLiteral("30 Minuter 0 sekunder"));
        QCOMPARE(r.verkstallClicks, 1);
        QCOMPARE(TempHome::stored(Setting::Startknapp).toString(), QStringLiteral("&Starta"));
    }

    void startCorrectsAnIntervalBelowOne_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("zero") << "0";
        QTest::newRow("negative") << "-5";
        QTest::newRow("not a number") << "abc";
    }
    void startCorrectsAnIntervalBelowOne()
    {
        QFETCH(QString, typed);
        ScheduleRig r;
        r.c.spinEditTimeInterval->setText(typed);
        r.c.cmbTidTyp->setCurrentIndex(3);
        r.c.btStartStop->click();
        QCOMPARE(r.c.spinEditTimeInterval->text(), QStringLiteral("1"));
        QCOMPARE(TempHome::stored(Setting::Mellan).toInt(), 1);
        QCOMPARE(r.c.timerStart->interval(), 3'600'000);
        QCOMPARE(r.c.lbTimeLeft->text(), QStringLiteral("0"));
    }

    // A start whose picture cannot be applied is reported, and the rotation runs all the same.
    void failedApplyAtStartStillStarts()
    {
        ScopedScriptedDialogs dialogs;
        ScheduleRig r;
        r.setList(1, 0);
        r.verkstall = [] { throw AppError(QStringLiteral("Cannot open file")); };
        r.c.btStartStop->click();
        QCOMPARE(dialogs->errors(), QStringList{QStringLiteral("Cannot open file")});
        QVERIFY(r.scheduler.isRunning());
        QVERIFY(r.c.timerStart->isActive());
    }

    // The tick marks the next picture, confirms it and applies its path; its icon follows the
    // application's answer.
    void changeTick_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("running");
        QTest::addColumn<QList<int>>("confirmed");
        QTest::newRow("next in order") << 3 << true << QList<int>{0};
        QTest::newRow("stopped: nothing") << 3 << false << QList<int>{};
        QTest::newRow("empty list: quietly nothing") << 0 << true << QList<int>{};
    }
    void changeTick()
    {
        QFETCH(int, count);
        QFETCH(bool, running);
        QFETCH(QList<int>, confirmed);
        ScopedScriptedDialogs dialogs;
        ScheduleRig r;
        r.answerAtOnce = false;
        r.setList(count, count - 1);
        QImage preview(300, 100, QImage::Format_RGB32);
        preview.fill(Qt::red);
        r.c.img->setImage(preview);
        if (running)
            r.c.btStartStop->click();
        r.scheduler.runTick();

        QCOMPARE(r.confirmed, confirmed);
        QCOMPARE(r.list.markedIndex(), confirmed.isEmpty() ? count - 1 : confirmed.last());
        QCOMPARE(r.applied.size(), confirmed.size());
        const QString iconFile = r.home.path(ThumbnailIcon::FileName);
        if (!confirmed.isEmpty()) {
            QCOMPARE(r.applied.first(), QStringLiteral("/bilder/bild%1.jpg").arg(confirmed.first()));
            QVERIFY(!QFile::exists(iconFile));
            r.answer();
        }
        QVERIFY(dialogs->errors().isEmpty());
        QCOMPARE(r.icons, confirmed.isEmpty() ? 0 : 2);
        QCOMPARE(QFile::exists(iconFile), !confirmed.isEmpty());
        if (!confirmed.isEmpty()) {
            QImageReader reader(iconFile, "ico");
            const QImage icon = reader.read();
            QCOMPARE(icon.size(), QSize(32, 32));
            QCOMPARE(QColor(icon.pixel(31, 31)), QColor(Qt::red));
            QVERIFY(!QApplication::windowIcon().isNull());
        }
        QCOMPARE(r.c.timerStart->isActive(), running);
    }

    // An interval longer than one timer period is reached by arming the timer again.
    void longIntervalIsReachedByRearming_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QList<int>>("periods"); // until and including the change
        QTest::newRow("30 Minuter") << 30 << 1 << QList<int>{1'800'000};
        QTest::newRow("25 Dagar") << 25 << 5 << QList<int>{2'147'483'647, 12'516'353};
        QTest::newRow("59 Dagar") << 59 << 5 << QList<int>{2'147'483'647, 2'147'483'647, 802'632'706};
    }
    void longIntervalIsReachedByRearming()
    {
        QFETCH(int, value);
        QFETCH(int, unit);
        QFETCH(QList<int>, periods);
        ScheduleRig r;
        r.setList(2, 0);
        r.c.cmbTidTyp->setCurrentIndex(unit);
        r.c.spinEditTimeInterval->setValue(value);
        r.c.btStartStop->click();
        for (int round = 0; round < 2; ++round) {
            for (int period : periods) {
                QCOMPARE(r.c.timerStart->interval(), period);
                QCOMPARE(r.applied.size(), round);
                r.now += period;
                r.scheduler.changeTimerElapsed();
            }
            QCOMPARE(r.applied.size(), round + 1);
            QVERIFY(r.c.timerStart->isActive());
        }
    }

    // The interval controls show the rotation's rules and store the value at once.
    void intervalControls_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("newValue");
        QTest::addColumn<QString>("word");
        QTest::newRow("choosing Timme with 45") << 45 << 1 << "choose 2" << 1 << "Timme";
        QTest::newRow("choosing Timmar with 1") << 1 << 1 << "choose 3" << 1 << "Timmar";
        QTest::newRow("up arrow at 59 Minuter") << 59 << 1 << "up" << 1 << "Timme";
        QTest::newRow("down arrow at 2 Dagar") << 2 << 5 << "down" << 1 << "Dag";
        QTest::newRow("typing Dag") << 20 << 1 << "type Dag" << 1 << "Dag";
        QTest::newRow("typing a word that is no unit") << 20 << 3 << "type Veckor" << 20 << "Timmar";
    }
    void intervalControls()
    {
        QFETCH(int, value);
        QFETCH(int, unit);
        QFETCH(QString, action);
        QFETCH(int, newValue);
        QFETCH(QString, word);
        ScheduleRig r;
        r.c.spinEditTimeInterval->setValue(value);
        r.c.cmbTidTyp->setCurrentIndex(unit);
        const QString argument = action.section(' ', 1);
        if (action.startsWith("choose")) {
            r.c.cmbTidTyp->setCurrentIndex(argument.toInt());
            emit r.c.cmbTidTyp->activated(argument.toInt());
        } else if (action.startsWith("type")) {
            r.c.cmbTidTyp->lineEdit()->selectAll();
            QTest::keyClicks(r.c.cmbTidTyp->lineEdit(), argument);
        } else {
            SpinEdit* spin = r.c.spinEditTimeInterval;
            (action == "up" ? spin->upButton() : spin->downButton())->click();
        }
        QCOMPARE(r.c.spinEditTimeInterval->value(), newValue);
        QCOMPARE(r.c.cmbTidTyp->itemText(r.c.cmbTidTyp->currentIndex()), word);
        QCOMPARE(r.c.lbTimeLeft->text(), QString::number(newValue));
        QCOMPARE(TempHome::stored(Setting::Mellan).toInt(), newValue);
        QCOMPARE(r.c.lbMinut->text(), word);
        // the rotation counts with what the controls show
        const qint64 unitMs = word.startsWith("Min") ? 60'000 : word.startsWith("Tim") ? 3'600'000 : 86'400'000;
        r.c.btStartStop->click();
        QCOMPARE(r.c.timerStart->interval(), newValue * unitMs);
    }

    // A night of failing changes while the first error box is open piles up no boxes, and each
    // tick goes on from the picture the one before marked.
    void failuresOpenOneBoxAtATime_data()
    {
        QTest::addColumn<bool>("iconFails");
        QTest::newRow("the icon cannot be written") << true;
        QTest::newRow("the application failed") << false;
    }
    void failuresOpenOneBoxAtATime()
    {
        QFETCH(bool, iconFails);
        ScopedScriptedDialogs dialogs;
        ScheduleRig r(iconFails ? QStringLiteral("/nonexistent-folder/") : QString());
        r.answerAtOnce = false;
        r.setList(4, 0);
        r.c.btStartStop->click();
        const auto fail = [&] {
            r.scheduler.runTick();
            r.answer(iconFails ? std::nullopt : std::optional(AppError(QStringLiteral("Bitmap image is not valid"))));
        };
        int nested = 0;
        dialogs->whileErrorShows = [&] {
            for (; nested < 5; ++nested)
                fail(); // the timer fires while the box is open
        };
        fail();
        QCOMPARE(dialogs->errors().size(), 1);
        QCOMPARE(r.failures.size(), 6);
        QVERIFY2(r.failures.last().startsWith(iconFails ? "Bildbytet misslyckades: Cannot create file"
                                                        : "Bildbytet misslyckades: Bitmap image is not valid"),
                 qPrintable(r.failures.last()));
        QCOMPARE(r.confirmed, QList<int>({1, 2, 3, 0, 1, 2}));
        QCOMPARE(r.icons, iconFails ? 6 : 0); // shown before the write failed
        QVERIFY(r.scheduler.isRunning());

        dialogs->whileErrorShows = nullptr;
        fail();
        QCOMPARE(dialogs->errors().size(), 2);
    }
};

QTEST_MAIN(TestScheduler)
#include "tst_Scheduler.moc"
