// Whole user flows on the real program: first start, restart with a running rotation, close
// and restart, bad stored values, a list naming a missing picture, colours, ending from outside.

#include "ScriptedDialogs.h"
#include "TempHome.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "app/MainWindow.h"
#include "app/ProgramEntry.h"
#include "app/SplashWindow.h"
#include "notify/TrayIcon.h"
#include "picturelist/ListFile.h"
#include "picturelist/ThumbnailStrip.h"
#include "platform/Autostart.h"
#include "platform/Pause.h"
#include "platform/ProgramFolder.h"
#include "platform/QtDialogs.h"
#include "platform/SettingsStore.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <csignal>

namespace {

template <typename T> T* child(QWidget* w, const char* name)
{
    T* found = w->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

// Starts as main() does and lets the start-up steps run to their end.
bool started(ProgramEntry& entry)
{
    QSignalSpy ended(&entry, &ProgramEntry::startupEnded);
    return entry.start() && (!ended.isEmpty() || ended.wait(30000)) && ended.first().first().toBool();
}

// A real question box runs its own event loop until it is answered, or until the program ends:
// here the end comes while it is open.
class EndingQuestion : public ScriptedDialogs
{
public:
    Answer messageBox(const QString& text, const QString& caption, Buttons buttons, Icon icon) override
    {
        ScriptedDialogs::messageBox(text, caption, buttons, icon);
        ::raise(SIGTERM);
        QEventLoop().exec();
        return Cancel; // a box closed without a click
    }
};

} // namespace

class TestMainWindowFlows : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> m_home;

    QString home(const QString& name) const { return m_home->path(name); }

    QString makePicture(const QString& name, const QColor& colour)
    {
        return TestPictures::writePicture(home(name), QSize(64, 48), colour);
    }

    QString makeList(const QStringList& paths)
    {
        QList<QByteArray> entries;
        for (const QString& p : paths)
            entries << QFile::encodeName(p);
        ListFile::write(home("bilder.lst"), entries);
        return home("bilder.lst");
    }

    static void store(std::initializer_list<std::pair<Setting, QVariant>> values)
    {
        for (const auto& [key, value] : values)
            TempHome::store(key, value);
    }

private slots:
    void init()
    {
        m_home.reset(); // the environment it changed comes back before the next one is made
        m_home = std::make_unique<TempHome>();
    }

    void firstStartTakesEveryDefaultAndWritesThemAtClose()
    {
        ScopedScriptedDialogs dialogs;
        ProgramEntry entry;
        QVERIFY(started(entry));
        MainWindow* w = entry.mainWindow();
        QVERIFY(w->isVisible());
        QCOMPARE(w->pos(), QPoint(100, 100));
        QCOMPARE(w->palette().color(QPalette::Window), QColor(0xA6, 0xCA, 0xF0));
        QCOMPARE(child<BevelPanel>(w, "Panel2")->color(), QColor(0, 0, 0x80));
        QCOMPARE(child<SpinEdit>(w, "SpinEditTimeInterval")->value(), 30);
        QCOMPARE(child<QComboBox>(w, "CmbTidTyp")->currentText(), "Minuter");
        QCOMPARE(child<QComboBox>(w, "CmbTyp")->currentText(), "Anpassad");
        QCOMPARE(child<SpeedButton>(w, "BtStartStop")->text(), "&Starta");
        // The check-box rule: the designed "checked" boxes follow the defaults.
        QVERIFY(!child<QCheckBox>(w, "ChkMin")->isChecked());
        QVERIFY(!child<QCheckBox>(w, "ChkSysStart")->isChecked());
        QVERIFY(child<QCheckBox>(w, "ChkTray")->isChecked());
        QVERIFY(!child<QCheckBox>(w, "ChkBlanda")->isChecked());
        QVERIFY(!entry.startedMinimised());
        QVERIFY(!Autostart::isEnabled());
        QVERIFY(!w->splash()->isVisible());
        QVERIFY(SettingsStore().exists(Setting::Minimerad)); // written by the box's handler
        QVERIFY(!SettingsStore().exists(Setting::Left));
        QVERIFY(dialogs->calls.isEmpty());

        // Closing the splash never ends the program; closing the window does.
        QSignalSpy closed(w, &MainWindow::closed);
        w->splash()->close();
        QCOMPARE(closed.count(), 0);
        QVERIFY(w->close());
        QCOMPARE(closed.count(), 1);
        SettingsStore store;
        QCOMPARE(store.readInteger(Setting::Top), 100);
        QCOMPARE(store.readInteger(Setting::Screenstyle), 2);
        QCOMPARE(store.readString(Setting::Startknapp), "&Starta");
        QCOMPARE(store.readBool(Setting::VisaTips), true);
    }

    void wrongTypedTextColourEndsTheProgramBeforeAnyWindow()
    {
        ScopedScriptedDialogs dialogs;
        SettingsStore().writeString(Setting::TextFarge, "svart");
        ProgramEntry entry;
        QVERIFY(!entry.start());
        QCOMPARE(dialogs->errors(), QStringList{"Invalid data type for 'TextFarge'"});
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    void wrongTypedValueMidwayLeavesTheRestDesignedAndStillStarts()
    {
        ScopedScriptedDialogs dialogs;
        store({{Setting::Left, 250}, {Setting::Typ, 4}});
        SettingsStore().writeString(Setting::Top, "120");
        ProgramEntry entry;
        QVERIFY(started(entry));
        QCOMPARE(dialogs->errors(), QStringList{"Invalid data type for 'Top'"});
        QCOMPARE(entry.mainWindow()->x(), 250);                                         // before the bad value
        QCOMPARE(child<QComboBox>(entry.mainWindow(), "CmbTidTyp")->currentIndex(), 1); // after it: designed
    }

    void restartWithRunningRotationResumesAndAppliesAtOnce()
    {
        ScopedScriptedDialogs dialogs;
        const QString list = makeList(
            {makePicture("ett.jpg", Qt::red), makePicture("två.bmp", Qt::green), makePicture("tre.jpg", Qt::blue)});
        store({{Setting::Senaste, list},
               {Setting::Vald, 1},
               {Setting::Startknapp, "&Stoppa"},
               {Setting::Mellan, 5},
               {Setting::Typ, 3}, // "Timmar": a plural keeps the value
               {Setting::Screenstyle, 0}});
        ProgramEntry entry;
        QVERIFY(started(entry));
        MainWindow* w = entry.mainWindow();
        QCOMPARE(dialogs->errors(), QStringList());
        QCOMPARE(child<QListWidget>(w, "LB1")->count(), 3);
        QCOMPARE(child<QListWidget>(w, "LB1")->currentRow(), 1);
        QCOMPARE(child<QTimer>(w, "TimerStart")->interval(), 5 * 3600 * 1000);
        QVERIFY(child<QTimer>(w, "TimerStart")->isActive());
        QCOMPARE(child<QAction>(w, "Starta1")->text(), "&Stoppa");
        QCOMPARE(child<QLabel>(w, "LbMinut")->text(), "Timmar");
        QVERIFY(!child<PictureView>(w, "Img")->image().isNull());
        const QStringList log = m_home->wallpaperLog();
        QCOMPARE(log.size(), 1);
        QVERIFY2(log[0].contains("två.bmp") && log[0].contains("\"desktop-values\""), qPrintable(log[0]));
    }

    // Pictures deleted while the rotation runs: the window says why the change failed, and the
    // ticks that fire while its one error box is open add no more boxes.
    void failingTicksShowTheReasonAndOneBox()
    {
        ScopedScriptedDialogs dialogs;
        const QStringList pictures{makePicture("a.jpg", Qt::red), makePicture("b.jpg", Qt::green)};
        store({{Setting::Senaste, makeList(pictures)},
               {Setting::Startknapp, "&Stoppa"},
               {Setting::Mellan, 1},
               {Setting::Typ, 0}});
        ProgramEntry entry;
        QVERIFY(started(entry));
        MainWindow* w = entry.mainWindow();
        for (const QString& picture : pictures)
            QVERIFY(QFile::remove(picture));
        const auto tick = [&] { QVERIFY(QMetaObject::invokeMethod(child<QTimer>(w, "TimerStart"), "timeout")); };
        int nested = 0;
        // Ticks while the box shows; their results arrive from the event loop, as a modal box lets them.
        dialogs->whileErrorShows = [&] {
            for (; nested < 3; ++nested) {
                tick();
                QCoreApplication::processEvents();
            }
        };
        tick();
        QTRY_COMPARE(nested, 3);
        QCOMPARE(dialogs->errors().size(), 1);
        const QString tip = child<QLabel>(w, "LbTips")->text();
        QVERIFY2(tip.startsWith("Bildbytet misslyckades: ") && tip.contains(".jpg"), qPrintable(tip));
        QCOMPARE(w->findChild<TrayIcon*>()->hint(), tip);
        QVERIFY(child<QTimer>(w, "TimerStart")->isActive());
        // The countdown's next second leaves the note in the tray hint.
        QVERIFY(QMetaObject::invokeMethod(child<QTimer>(w, "TimerMinSek"), "timeout"));
        QCOMPARE(w->findChild<TrayIcon*>()->hint(), tip);
    }

    void endSignalClosesAsTheUserWould_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("logout") << SIGTERM;
        QTest::newRow("terminal closed") << SIGHUP;
        QTest::newRow("Ctrl+C") << SIGINT;
    }

    void endSignalClosesAsTheUserWould()
    {
        QFETCH(int, signal);
        ScopedScriptedDialogs dialogs;
        ProgramEntry entry;
        QVERIFY(started(entry));
        child<QComboBox>(entry.mainWindow(), "CmbTidTyp")->setCurrentIndex(3); // kept only by the close
        QTimer::singleShot(0, [signal] { ::raise(signal); });
        QCOMPARE(entry.run(), 0);
        QCOMPARE(SettingsStore().integerOrDefault(Setting::Typ), 3);
        QCOMPARE(dialogs->errors(), QStringList());
    }

    // An end while an operation still runs stops it: no answer is made up for a question that
    // is open, and nothing is written after the close.
    void endSignalStopsWhatRuns_data()
    {
        QTest::addColumn<QString>("when");
        QTest::addColumn<bool>("valuesWritten"); // only by a close that had read them
        QTest::newRow("missing-file question of an opened list") << "open" << true;
        QTest::newRow("missing-file question of the last list at start") << "start" << true;
        QTest::newRow("start-up before the stored values are read") << "splash" << false;
    }

    void endSignalStopsWhatRuns()
    {
        QFETCH(QString, when);
        QFETCH(bool, valuesWritten);
        std::unique_ptr<Dialogs> previous = Dialogs::install(std::make_unique<EndingQuestion>());
        const QString list = makeList({makePicture("a.jpg", Qt::red), home("borta.jpg")});
        store({{Setting::Minimerad, true}, {Setting::Left, 250}, {Setting::Vald, 1}});
        if (when == "start")
            store({{Setting::Senaste, list}});
        static_cast<ScriptedDialogs&>(Dialogs::instance()).setNextFiles({list});
        ProgramEntry entry;
        if (when == "open") {
            QVERIFY(started(entry));
            QTimer::singleShot(0, [&] { child<SpeedButton>(entry.mainWindow(), "BtOpen")->click(); });
        } else {
            Pause::setEnabled(when == "splash"); // the splash's steps take their time: the end comes among them
            QVERIFY(entry.start());
            if (when == "splash")
                QTimer::singleShot(0, [] { ::raise(SIGTERM); });
        }
        QCOMPARE(entry.run(), 0);
        Pause::setEnabled(false);
        Dialogs::install(std::move(previous));
        SettingsStore store;
        QCOMPARE(store.readBool(Setting::Minimerad), true);
        QCOMPARE(store.readInteger(Setting::Left), 250);
        QCOMPARE(store.exists(Setting::Top), valuesWritten);
        QCOMPARE(store.readInteger(Setting::Vald), when == "open" ? 0 : 1); // the choice not yet applied stays
        if (when != "splash")
            QCOMPARE(child<QListWidget>(entry.mainWindow(), "LB1")->count(), 2); // nothing decided for the user
    }

    void closeAndRestartRestoresEveryValue()
    {
        ScopedScriptedDialogs dialogs;
        store({{Setting::Senaste, makeList({makePicture("a.jpg", Qt::yellow), makePicture("b.jpg", Qt::cyan)})}});
        {
            ProgramEntry entry;
            QVERIFY(started(entry));
            MainWindow* w = entry.mainWindow();
            w->move(321, 234);
            child<QComboBox>(w, "CmbTidTyp")->setCurrentIndex(3);
            child<QComboBox>(w, "CmbTyp")->setCurrentIndex(0);
            child<QCheckBox>(w, "ChkBlanda")->setChecked(true);
            child<QCheckBox>(w, "ChkMin")->setChecked(true);
            child<QCheckBox>(w, "ChkTips")->setChecked(false);
            auto* strip = w->findChild<ThumbnailStrip*>(); // the user clicks the second card
            strip->SelectThumbnail(strip->card(1)->findChild<PictureView*>());
            QVERIFY(w->close());
        }
        ProgramEntry entry;
        QVERIFY(started(entry));
        MainWindow* w = entry.mainWindow();
        QCOMPARE(w->pos(), QPoint(321, 234));
        QCOMPARE(child<QComboBox>(w, "CmbTidTyp")->currentIndex(), 3);
        QCOMPARE(child<QComboBox>(w, "CmbTyp")->currentIndex(), 0);
        QVERIFY(child<QCheckBox>(w, "ChkBlanda")->isChecked());
        QVERIFY(entry.startedMinimised());
        // No notification area here: the window is minimised, never hidden where nothing leads back.
        QVERIFY(w->isVisible() && w->isMinimized());
        QVERIFY(!child<QLabel>(w, "LbTips")->isVisibleTo(w));
        QCOMPARE(child<QListWidget>(w, "LB1")->currentRow(), 1);
        QCOMPARE(dialogs->errors(), QStringList());
    }

    // Minimised to the task bar, the program's other windows (here the list editor's kind) go
    // along and come back with the main window.
    void minimiseTakesTheOtherWindowsAlong()
    {
        MainWindow w(nullptr);
        w.show();
        QWidget editor(&w, Qt::Window);
        editor.show();
        child<QAction>(&w, "Minimera1")->trigger();
        QVERIFY(w.isMinimized() && editor.isMinimized());
        child<QAction>(&w, "RestoreForm1")->trigger();
        QVERIFY(!w.isMinimized() && !editor.isMinimized() && editor.isVisible());
    }

    // The tip line shows the hints of the program's other windows too.
    void hintOfAnotherWindowReachesTheTipLine()
    {
        MainWindow w(nullptr);
        QWidget editor(&w, Qt::Window);
        QLabel control(&editor);
        QStatusTipEvent tip("Byt ut den markerade sökvägen");
        QApplication::sendEvent(&control, &tip);
        QCOMPARE(child<QLabel>(&w, "LbTips")->text(), "Byt ut den markerade sökvägen");
    }

    void lastList_data()
    {
        QTest::addColumn<QString>("senaste");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty name: no list, no error, no rotation") << ""
                                                                    << "";
        QTest::newRow("missing file: reported with its path") << "finns inte.lst"
                                                              << "Cannot open file \"%1\"";
    }

    void lastList()
    {
        QFETCH(QString, senaste);
        QFETCH(QString, error);
        ScopedScriptedDialogs dialogs;
        const QString path = senaste.isEmpty() ? senaste : home(senaste);
        store({{Setting::Senaste, path}, {Setting::Startknapp, "&Stoppa"}});
        ProgramEntry entry;
        QVERIFY(started(entry));
        QCOMPARE(dialogs->errors().size(), error.isEmpty() ? 0 : 1);
        if (!error.isEmpty())
            QVERIFY2(dialogs->errors()[0].startsWith(error.arg(path)), qPrintable(dialogs->errors()[0]));
        QCOMPARE(child<SpeedButton>(entry.mainWindow(), "BtStartStop")->text(), "&Stoppa");
        QVERIFY(!child<QTimer>(entry.mainWindow(), "TimerStart")->isActive());
    }

    void missingPictureAnsweredNoEmptiesTheListAndStartsNormally()
    {
        ScopedScriptedDialogs dialogs;
        const QString gone = home("borta.jpg");
        store({{Setting::Senaste, makeList({makePicture("a.jpg", Qt::red), gone})}, {Setting::Minimerad, true}});
        dialogs->setNextAnswer(Dialogs::No);
        ProgramEntry entry;
        QVERIFY(started(entry));
        QCOMPARE(dialogs->calls.size(), 1);
        QCOMPARE(dialogs->calls[0].caption, "Fel filnamn eller sökväg");
        QVERIFY(dialogs->calls[0].text.contains(gone));
        QCOMPARE(child<QListWidget>(entry.mainWindow(), "LB1")->count(), 0);
        QVERIFY(!entry.startedMinimised());
    }

    void colourOptions_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QColor>("chosen"); // invalid: the dialog is cancelled
        QTest::addColumn<int>("key");
        QTest::addColumn<qint64>("stored");
        QTest::newRow("frame colour confirmed")
            << "PnlBg" << QColor(0x12, 0x34, 0x56) << int(Setting::Ramfarg) << qint64(0x563412);
        QTest::newRow("window text confirmed")
            << "Textfarg1" << QColor(1, 2, 3) << int(Setting::TextFarge) << qint64(0x030201);
        QTest::newRow("cancel keeps the bottom colour")
            << "BytBakgrundsfrg2" << QColor() << int(Setting::BgFargeBotten) << qint64(0x800000);
        QTest::newRow("standard item resets the window colour")
            << "StandardBakgrundsfrg1" << QColor() << int(Setting::BgFarge) << qint64(0xF0CAA6);
    }

    void colourOptions()
    {
        QFETCH(QString, control);
        QFETCH(QColor, chosen);
        QFETCH(int, key);
        QFETCH(qint64, stored);
        ScopedScriptedDialogs dialogs;
        MainWindow w(nullptr);
        const QString file = ProgramFolder::path() + "Clr.frg";
        const QByteArray before("ColorA=FF0000\r\nAnnan=1\r\n");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(before) == before.size());
        f.close();
        dialogs->setNextColour(chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt);
        if (auto* panel = w.findChild<BevelPanel*>(control))
            QTest::mouseClick(panel, Qt::LeftButton);
        else
            child<QAction>(&w, qPrintable(control))->trigger();
        QCOMPARE(dialogs->errors(), QStringList());
        QCOMPARE(qint64(SettingsStore().readInteger(Setting(key))), stored);
        // Confirmed: all 16 slots are written, an empty one as FFFFFFFF; other lines stay.
        QByteArray after = before;
        for (char slot = 'B'; chosen.isValid() && slot <= 'P'; ++slot)
            after += QByteArray("Color") + slot + "=FFFFFFFF\r\n";
        QCOMPARE(fileBytes(file), after);
        QFile::remove(file);
    }

    void emptyCustomSlotsStayEmptyInQtsColourDialog()
    {
        MainWindow w(nullptr);
        const QString file = ProgramFolder::path() + "Clr.frg";
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("ColorB=0000FF\r\n") > 0);
        f.close();
        std::unique_ptr<Dialogs> scripted = Dialogs::install(std::make_unique<QtDialogs>());
        QColor shownEmpty, shownRed;
        QTimer::singleShot(0, [&] {
            shownEmpty = QColorDialog::customColor(0);
            shownRed = QColorDialog::customColor(1);
            if (auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget()))
                dialog->accept();
        });
        child<QAction>(&w, "Byt1")->trigger();
        Dialogs::install(std::move(scripted));
        QCOMPARE(shownEmpty, QColor(Qt::white)); // Qt's look of an unused slot, not black
        QCOMPARE(shownRed, QColor(Qt::red));
        QVERIFY(fileBytes(file).startsWith("ColorB=0000FF\r\nColorA=FFFFFFFF\r\nColorC=FFFFFFFF\r\n"));
        QFile::remove(file);
    }

    void frameColourAndAnUnusableCustomColourFile_data()
    {
        QTest::addColumn<bool>("readable"); // false: a folder stands there; true: a file that cannot be replaced
        QTest::newRow("unreadable: left alone, the colour stored") << false;
        QTest::newRow("cannot be written: the colour shown, not stored") << true;
    }

    // "Clr.frg" is the user's: one that could not be read is never replaced, and the colour chosen
    // is stored; one that cannot be written stops the step, so the colour is shown but not stored.
    void frameColourAndAnUnusableCustomColourFile()
    {
        QFETCH(bool, readable);
        ScopedScriptedDialogs dialogs;
        MainWindow w(nullptr);
        const QString colourFile = ProgramFolder::path() + "Clr.frg";
        QFile::remove(colourFile);
        const qint32 before = SettingsStore().integerOrDefault(Setting::Ramfarg);
        if (readable) {
            TestPictures::put(colourFile, "ColorA=FF0000\r\n");
            if (!setWriteProtected(colourFile, true))
                QSKIP("this file system cannot write-protect the file");
        } else {
            QVERIFY(QDir().mkpath(colourFile));
        }
        dialogs->setNextColour(QColor(0x12, 0x34, 0x56));
        QTest::mouseClick(child<BevelPanel>(&w, "PnlBg"), Qt::LeftButton);
        if (readable)
            setWriteProtected(colourFile, false);
        QFile::remove(colourFile);
        QDir().rmdir(colourFile);

        QCOMPARE(child<BevelPanel>(&w, "PnlBg")->color(), QColor(0x12, 0x34, 0x56));
        const QStringList told = readable ? dialogs->errors() : dialogs->messages();
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.first().contains('"' + colourFile + '"'), qPrintable(told.first()));
        QCOMPARE(dialogs->errors().isEmpty(), !readable);
        QCOMPARE(SettingsStore().integerOrDefault(Setting::Ramfarg), readable ? before : 0x563412);
    }
};

QTEST_MAIN(TestMainWindowFlows)
#include "tst_MainWindowFlows.moc"
