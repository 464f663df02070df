#include "ControlsFixture.h"
#include "ScriptedDialogs.h"
#include "platform/AppError.h"
#include "platform/Guard.h"
#include "platform/SettingsStore.h"
#include "schedule/Countdown.h"
#include "schedule/Scheduler.h"
#include "schedule/ThumbnailIcon.h"
#include "toolkit/TransparentColour.h"

#include <QApplication>
#include <QImageReader>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

struct Applied
{
    QString path;
    int placement;
};

// The scheduler on hand-built controls, its requests answered as the main window does and
// every announcement recorded.
struct Rig
{
    ControlsFixture f;
    QTemporaryDir folder;
    int lb1Clicks = 0;
    int verkstallClicks = 0;
    QList<int> clickedRows;
    QList<Applied> applied;
    int trayIcons = 0;
    QStringList hints;
    QStringList failures;
    std::function<void()> verkstall = [] {};
    std::unique_ptr<Scheduler> scheduler;
    RotationState countdownState;
    Countdown countdown{f.countdownControls(), countdownState};

    explicit Rig(const QString& programFolder = {})
    {
        scheduler = std::make_unique<Scheduler>(f.schedulerControls(), f.list,
                                                programFolder.isEmpty() ? folder.path() + '/' : programFolder);
        Scheduler* s = scheduler.get();
        connectRequest(s, &Scheduler::confirmMarkedRequested, s, [this] {
            ++lb1Clicks;
            clickedRows << f.list.markedIndex();
        });
        connectRequest(s, &Scheduler::applyMarkedRequested, s, [this] {
            ++verkstallClicks;
            verkstall();
        });
        connectRequest(s, &Scheduler::applyRequested, s, [this](const QString& p, int placement) {
            applied.append({p, placement});
        });
        QObject::connect(s, &Scheduler::iconChanged, [this] { ++trayIcons; });
        QObject::connect(s, &Scheduler::hintDue, [this] { hints << countdown.hintText(); });
        QObject::connect(s, &Scheduler::tickFailed, [this](const QString& note) { failures << note; });
        scheduler->bind();
    }

    ControlsFixture::Widgets& c() { return f.c; }
    void start()
    {
        QVERIFY(!scheduler->isRunning());
        f.c.btStartStop->click();
        QVERIFY(scheduler->isRunning());
    }
};

qint32 storedInteger(Setting key)
{
    return SettingsStore().readInteger(key);
}

QString storedString(Setting key)
{
    return SettingsStore().readString(key);
}

} // namespace

class TestScheduler : public QObject
{
    Q_OBJECT

private slots:
    void startAndStopSetTheControls();
    void startCorrectsAnIntervalBelowOne_data();
    void startCorrectsAnIntervalBelowOne();
    void failedApplyAtStartStillStarts();
    void inOrderChoice_data();
    void inOrderChoice();
    void placementOfEachChange_data();
    void placementOfEachChange();
    void tickWhileStoppedOnlyResetsTheCounter();
    void emptyListSkipsTheChangeQuietly();
    void shuffleStaysInTheListAndReachesEveryPicture();
    void shuffleWithOnePicture();
    void longIntervalIsReachedByRearming_data();
    void longIntervalIsReachedByRearming();
    void unitRule_data();
    void unitRule();
    void typedUnitName();
    void arrows_data();
    void arrows();
    void thumbnailIconOfEachChange();
    void unwritableIconFileIsReported();
    void secondClickDuringTheStartIsRefused();
    void failingTicksOpenOneBoxAtATime();
};

void TestScheduler::startAndStopSetTheControls()
{
    Rig rig;
    ControlsFixture::Widgets& c = rig.c();
    rig.f.setList(3, 1);

    rig.start();
    QCOMPARE(c.btStartStop->text(), QStringLiteral("&Stoppa"));
    QCOMPARE(c.btStartStop->glyphResource().toUpper(), QStringLiteral("STOP"));
    QCOMPARE(c.btStartStop->toolTip(), QStringLiteral("Stoppa bildbyte."));
    QCOMPARE(c.starta1->text(), QStringLiteral("&Stoppa"));
    QCOMPARE(c.starta1->icon().pixmap(16).toImage(), withBottomLeftTransparent(c.btStartStop->glyph()).toImage());
    for (QWidget* w : std::initializer_list<QWidget*>{c.chkBlanda, c.cmbTyp, c.spinEditTimeInterval, c.cmbTidTyp,
                                                      c.btAdd, c.btSpara, c.btOpen, c.btNy})
        QVERIFY2(!w->isEnabled(), qPrintable(w->metaObject()->className()));
    QVERIFY(!c.abortBild1->isEnabled());
    QVERIFY(!c.redigeravaldbild1->isEnabled());
    QVERIFY(c.btVerkstall->isEnabled()); // the toggle leaves it alone when starting
    QVERIFY(c.timerStart->isActive() && c.timeLeft->isActive() && c.timerMinSek->isActive());
    QCOMPARE(c.timerStart->interval(), 1'800'000);
    QCOMPARE(c.timeLeft->interval(), 60'000);
    QCOMPARE(rig.scheduler->state().unitsLeft, 30);
    QCOMPARE(rig.f.countdownLine(), QStringLiteral("29 Minuter 0 sekunder"));
    QCOMPARE(rig.verkstallClicks, 1);
    QCOMPARE(storedString(Setting::Startknapp), QStringLiteral("&Stoppa"));
    // the hint is built from the labels as they stood before the start changed them
    QCOMPARE(rig.hints.size(), 1);
    QVERIFY(rig.hints.first().endsWith(QStringLiteral("\r\nTid till nästa byte:\r\n30 Minuter 0 sekunder")));

    c.btVerkstall->setEnabled(false);
    c.lbSek->setText(QStringLiteral("17"));
    c.starta1->trigger(); // the tray menu item toggles as the button does
    QVERIFY(!rig.scheduler->isRunning());
    QCOMPARE(c.btStartStop->text(), QStringLiteral("&Starta"));
    QCOMPARE(c.btStartStop->glyphResource().toUpper(), QStringLiteral("START"));
    QCOMPARE(c.btStartStop->toolTip(), QStringLiteral("Starta bakgrundsbyten med valt tidsintervall."));
    QCOMPARE(c.starta1->text(), QStringLiteral("&Starta"));
    QCOMPARE(c.starta1->icon().pixmap(16).toImage(), withBottomLeftTransparent(c.btStartStop->glyph()).toImage());
    for (QWidget* w : std::initializer_list<QWidget*>{c.chkBlanda, c.cmbTyp, c.spinEditTimeInterval, c.cmbTidTyp,
                                                      c.btAdd, c.btSpara, c.btOpen, c.btNy, c.btVerkstall})
        QVERIFY2(w->isEnabled(), qPrintable(w->metaObject()->className()));
    QVERIFY(c.abortBild1->isEnabled() && c.redigeravaldbild1->isEnabled());
    QVERIFY(!c.timerStart->isActive() && !c.timeLeft->isActive() && !c.timerMinSek->isActive());
    QCOMPARE(rig.f.countdownLine(), QStringLiteral("30 Minuter 0 sekunder"));
    QCOMPARE(rig.scheduler->state().unitsLeft, 30);
    QCOMPARE(rig.verkstallClicks, 1);
    QCOMPARE(storedString(Setting::Startknapp), QStringLiteral("&Starta"));
}

void TestScheduler::startCorrectsAnIntervalBelowOne_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("zero") << "0";
    QTest::newRow("negative") << "-5";
    QTest::newRow("not a number") << "abc";
}

void TestScheduler::startCorrectsAnIntervalBelowOne()
{
    QFETCH(QString, typed);
    Rig rig;
    rig.c().spinEditTimeInterval->setText(typed);
    rig.c().cmbTidTyp->setCurrentIndex(3);

    rig.start();
    QCOMPARE(rig.c().spinEditTimeInterval->text(), QStringLiteral("1"));
    QCOMPARE(storedInteger(Setting::Mellan), 1);
    QVERIFY(rig.c().timerStart->isActive());
    QCOMPARE(rig.c().timerStart->interval(), 3'600'000);
    QCOMPARE(rig.scheduler->state().unitsLeft, 1);
    QCOMPARE(rig.c().lbTimeLeft->text(), QStringLiteral("0"));
}

void TestScheduler::failedApplyAtStartStillStarts()
{
    ScopedScriptedDialogs dialogs;
    Rig rig;
    rig.f.setList(1, 0);
    rig.verkstall = [] { throw AppError(QStringLiteral("Cannot open file \"/bilder/bild0.jpg\". No such file")); };

    rig.start();
    QCOMPARE(dialogs->errors(), QStringList{QStringLiteral("Cannot open file \"/bilder/bild0.jpg\". No such file")});
    QCOMPARE(storedString(Setting::Startknapp), QStringLiteral("&Stoppa"));
    rig.c().btStartStop->click();
    QVERIFY(!rig.scheduler->isRunning());
    QCOMPARE(rig.c().btStartStop->text(), QStringLiteral("&Starta"));
}

void TestScheduler::inOrderChoice_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("marked");
    QTest::addColumn<QList<int>>("rows"); // the rows of three successive changes

    QTest::newRow("last of 3 wraps") << 3 << 2 << QList<int>{0, 1, 2};
    QTest::newRow("first of 3") << 3 << 0 << QList<int>{1, 2, 0};
    QTest::newRow("nothing marked goes to the second") << 3 << -1 << QList<int>{1, 2, 0};
    QTest::newRow("nothing marked, one entry") << 1 << -1 << QList<int>{0, 0, 0};
}

void TestScheduler::inOrderChoice()
{
    QFETCH(int, count);
    QFETCH(int, marked);
    QFETCH(QList<int>, rows);
    Rig rig;
    rig.f.setList(count, marked);
    rig.start();
    rig.f.setList(count, marked); // whatever the apply at start did, count from this mark

    for (int i = 0; i < rows.size(); ++i)
        rig.scheduler->TimerStartTimer();
    QCOMPARE(rig.clickedRows, rows);
    QCOMPARE(rig.f.list.markedIndex(), rows.last());
    QCOMPARE(rig.applied.size(), rows.size());
    QCOMPARE(rig.applied.last().path, QStringLiteral("/bilder/bild%1.jpg").arg(rows.last()));
}

void TestScheduler::placementOfEachChange_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("Centrerad") << 0;
    QTest::newRow("Sida vid Sida") << 1;
    QTest::newRow("Anpassad") << 2;
    QTest::newRow("no placement selected") << -1;
}

// Each change applies the new picture with the placement chosen at that moment.
void TestScheduler::placementOfEachChange()
{
    QFETCH(int, index);
    Rig rig;
    rig.f.setList(2, 0);
    rig.c().cmbTyp->setCurrentIndex(index);
    rig.start();

    rig.scheduler->TimerStartTimer();
    QCOMPARE(rig.lb1Clicks, 1);
    QCOMPARE(rig.applied.size(), 1);
    QCOMPARE(rig.applied.first().path, QStringLiteral("/bilder/bild1.jpg"));
    QCOMPARE(rig.applied.first().placement, index);
}

void TestScheduler::tickWhileStoppedOnlyResetsTheCounter()
{
    Rig rig;
    rig.f.setList(3, 2);
    rig.c().cmbTidTyp->setCurrentIndex(3);
    rig.c().spinEditTimeInterval->setValue(7);
    rig.scheduler->TimerStartTimer();
    QCOMPARE(rig.scheduler->state().unitsLeft, 7);
    QCOMPARE(rig.scheduler->state().rotationIndex, 2);
    QCOMPARE(rig.c().lbMinut->text(), QStringLiteral("Timmar"));
    QCOMPARE(rig.lb1Clicks, 0);
    QVERIFY(rig.applied.isEmpty());
    QCOMPARE(rig.f.list.markedIndex(), 2);
}

void TestScheduler::emptyListSkipsTheChangeQuietly()
{
    ScopedScriptedDialogs dialogs;
    Rig rig;
    rig.start();
    for (int i = 0; i < 3; ++i)
        rig.scheduler->changeTimerElapsed();
    QVERIFY(dialogs->errors().isEmpty());
    QCOMPARE(rig.lb1Clicks, 0);
    QVERIFY(rig.applied.isEmpty());
    QCOMPARE(rig.trayIcons, 0);
    QVERIFY(rig.c().timerStart->isActive());
    QVERIFY(!QFile::exists(rig.folder.filePath(ThumbnailIcon::FileName)));
}

void TestScheduler::shuffleStaysInTheListAndReachesEveryPicture()
{
    Rig rig;
    rig.f.setList(4, 0);
    rig.c().chkBlanda->setChecked(true);
    rig.start();
    QVERIFY(!rig.c().chkBlanda->isEnabled());

    constexpr int draws = 400;
    for (int i = 0; i < draws; ++i)
        rig.scheduler->TimerStartTimer();
    QList<int> hits(4, 0);
    int repeats = 0;
    for (int i = 0; i < rig.clickedRows.size(); ++i) {
        const int row = rig.clickedRows[i];
        QVERIFY(row >= 0 && row < 4);
        ++hits[row];
        if (i > 0 && row == rig.clickedRows[i - 1])
            ++repeats;
    }
    // Expected 100 each; 60..140 is more than four standard deviations either side.
    for (int n : hits)
        QVERIFY2(n > 60 && n < 140, qPrintable(QStringLiteral("%1").arg(n)));
    QVERIFY(repeats > 0); // no history: a picture can follow itself
}

void TestScheduler::shuffleWithOnePicture()
{
    Rig rig;
    rig.f.setList(1, 0);
    rig.c().chkBlanda->setChecked(true);
    rig.start();
    for (int i = 0; i < 20; ++i)
        rig.scheduler->TimerStartTimer();
    QCOMPARE(rig.clickedRows, QList<int>(20, 0));
}

void TestScheduler::longIntervalIsReachedByRearming_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QList<int>>("periods"); // the timer's periods until and including the change

    QTest::newRow("30 Minuter") << 30 << 1 << QList<int>{1'800'000};
    QTest::newRow("24 Dagar fits one period") << 24 << 5 << QList<int>{2'073'600'000};
    QTest::newRow("25 Dagar") << 25 << 5 << QList<int>{2'147'483'647, 12'516'353};
    QTest::newRow("59 Dagar") << 59 << 5 << QList<int>{2'147'483'647, 2'147'483'647, 802'632'706};
}

void TestScheduler::longIntervalIsReachedByRearming()
{
    QFETCH(int, value);
    QFETCH(int, unit);
    QFETCH(QList<int>, periods);
    Rig rig;
    rig.f.setList(2, 0);
    rig.c().cmbTidTyp->setCurrentIndex(unit);
    rig.c().spinEditTimeInterval->setValue(value);
    rig.start();
    QCOMPARE(rig.scheduler->changeInterval(), qint64(value) * (unit < 2 ? 60'000 : 86'400'000));

    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < periods.size(); ++i) {
            QCOMPARE(rig.c().timerStart->interval(), periods[i]);
            QCOMPARE(rig.applied.size(), round);
            rig.scheduler->changeTimerElapsed();
        }
        QCOMPARE(rig.applied.size(), round + 1);
        QVERIFY(rig.c().timerStart->isActive());
    }
}

void TestScheduler::unitRule_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("newValue");

    QTest::newRow("Timme with 45 sets 1") << 45 << 2 << 1;
    QTest::newRow("Timmar with 1 keeps 1") << 1 << 3 << 1;
    QTest::newRow("Minuter with 45 keeps 45") << 45 << 1 << 45;
}

void TestScheduler::unitRule()
{
    QFETCH(int, value);
    QFETCH(int, unit);
    QFETCH(int, newValue);
    Rig rig;
    rig.c().spinEditTimeInterval->setValue(value);
    {
        SettingsStore store;
        store.writeInteger(Setting::Mellan, value);
    }
    rig.c().cmbTidTyp->setCurrentIndex(unit);
    emit rig.c().cmbTidTyp->activated(unit); // as choosing from the list does

    QCOMPARE(rig.c().spinEditTimeInterval->value(), newValue);
    QCOMPARE(storedInteger(Setting::Mellan), newValue);
    QCOMPARE(rig.c().lbMinut->text(), rig.c().cmbTidTyp->itemText(unit));
    QCOMPARE(rig.c().lbTimeLeft->text(), QString::number(newValue));
}

void TestScheduler::typedUnitName()
{
    Rig rig;
    rig.c().spinEditTimeInterval->setValue(20);
    QLineEdit* edit = rig.c().cmbTidTyp->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Dag"));
    QCOMPARE(rig.c().cmbTidTyp->currentIndex(), 4);
    QCOMPARE(rig.c().spinEditTimeInterval->value(), 1);
    QCOMPARE(rig.c().lbMinut->text(), QStringLiteral("Dag"));

    // Text that names no unit leaves the last one in force.
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Veckor"));
    QCOMPARE(rig.c().cmbTidTyp->currentIndex(), 4);
    rig.start();
    QCOMPARE(rig.c().timeLeft->interval(), 86'400'000);
}

void TestScheduler::arrows_data()
{
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("newValue");
    QTest::addColumn<QString>("word");

    QTest::newRow("up 59 Minuter") << true << 59 << 1 << 1 << "Timme";
    QTest::newRow("down 1 Timme") << false << 1 << 2 << 59 << "Minuter";
    QTest::newRow("down 2 Dagar") << false << 2 << 5 << 1 << "Dag";
    QTest::newRow("up 1 Timme") << true << 1 << 2 << 2 << "Timmar";
}

void TestScheduler::arrows()
{
    QFETCH(bool, up);
    QFETCH(int, value);
    QFETCH(int, unit);
    QFETCH(int, newValue);
    QFETCH(QString, word);
    Rig rig;
    rig.c().spinEditTimeInterval->setValue(value);
    rig.c().cmbTidTyp->setCurrentIndex(unit);

    QToolButton* arrow = up ? rig.c().spinEditTimeInterval->upButton() : rig.c().spinEditTimeInterval->downButton();
    arrow->click();

    QCOMPARE(rig.c().spinEditTimeInterval->value(), newValue);
    QCOMPARE(rig.c().cmbTidTyp->currentText(), word);
    QCOMPARE(rig.c().lbMinut->text(), word);
    QCOMPARE(rig.c().lbTimeLeft->text(), QString::number(newValue));
    QCOMPARE(storedInteger(Setting::Mellan), newValue);
}

void TestScheduler::thumbnailIconOfEachChange()
{
    Rig rig;
    rig.f.setList(2, 0);
    QImage preview(300, 100, QImage::Format_RGB32);
    preview.fill(Qt::red);
    rig.c().img->setImage(preview);
    rig.start();
    QApplication::setWindowIcon(QIcon());

    rig.scheduler->TimerStartTimer();
    QCOMPARE(rig.trayIcons, 2);
    QVERIFY(!QApplication::windowIcon().isNull());
    QImageReader reader(rig.folder.filePath(ThumbnailIcon::FileName), "ico");
    const QImage icon = reader.read();
    QVERIFY2(!icon.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(icon.size(), QSize(32, 32));
    QCOMPARE(QColor(icon.pixel(0, 0)), QColor(Qt::red));
    QCOMPARE(QColor(icon.pixel(31, 31)), QColor(Qt::red));
}

void TestScheduler::unwritableIconFileIsReported()
{
    ScopedScriptedDialogs dialogs;
    Rig rig(QStringLiteral("/nonexistent-folder/"));
    rig.f.setList(2, 0);
    rig.start();

    runGuarded([&] { rig.scheduler->TimerStartTimer(); });
    QCOMPARE(dialogs->errors().size(), 1);
    QVERIFY(dialogs->errors().first().startsWith(
        QStringLiteral("Cannot create file \"/nonexistent-folder/MinIkon.ico\".")));
    QCOMPARE(rig.applied.size(), 1);
    QCOMPARE(rig.trayIcons, 1); // already shown before the write failed
    QVERIFY(rig.scheduler->isRunning());
}

// The popup's slide runs the event loop while the start applies its picture.
void TestScheduler::secondClickDuringTheStartIsRefused()
{
    Rig rig;
    rig.f.setList(3, 0);
    rig.verkstall = [&] { rig.c().btStartStop->click(); };
    rig.start();
    QCOMPARE(rig.verkstallClicks, 1);
    QCOMPARE(rig.c().btStartStop->text(), QStringLiteral("&Stoppa"));
    QVERIFY(rig.c().timerStart->isActive());
    QCOMPARE(storedString(Setting::Startknapp), QStringLiteral("&Stoppa"));

    rig.verkstall = [] {};
    rig.c().btStartStop->click();
    QVERIFY(!rig.scheduler->isRunning());
    QCOMPARE(rig.c().btStartStop->text(), QStringLiteral("&Starta"));
    QVERIFY(!rig.c().timerStart->isActive());
}

// A night of failing ticks while the first error box is open must not pile up boxes, and each
// tick works on the list as it is at its moment.
void TestScheduler::failingTicksOpenOneBoxAtATime()
{
    ScopedScriptedDialogs dialogs;
    Rig rig(QStringLiteral("/nonexistent-folder/")); // every tick fails writing its icon
    rig.f.setList(4, 0);
    rig.start();
    int nested = 0;
    dialogs->whileErrorShows = [&] {
        for (; nested < 5; ++nested)
            rig.scheduler->runTick(); // the timer fires while the box is open
    };
    rig.scheduler->runTick();
    QCOMPARE(dialogs->errors().size(), 1);
    QCOMPARE(rig.failures.size(), 6);
    QVERIFY(rig.failures.last().startsWith(QStringLiteral("Bildbytet misslyckades: Cannot create file")));
    // Six ticks, each one step on from the picture the one before marked.
    QCOMPARE(rig.clickedRows, QList<int>({1, 2, 3, 0, 1, 2}));

    // Once the box is closed the next failure is shown again.
    dialogs->whileErrorShows = nullptr;
    rig.scheduler->runTick();
    QCOMPARE(dialogs->errors().size(), 2);
}

QTEST_MAIN(TestScheduler)
#include "tst_Scheduler.moc"
