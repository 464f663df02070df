// Whole user flows on the real main window: first start, restart with a running rotation,
// close and restart, bad stored values, a list naming a missing picture.

#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "app/ColourOptions.h"
#include "app/MainWindow.h"
#include "app/ProgramEntry.h"
#include "app/SplashWindow.h"
#include "notify/TrayIcon.h"
#include "picturelist/ListFile.h"
#include "picturelist/PictureList.h"
#include "platform/Autostart.h"
#include "platform/Guard.h"
#include "platform/QtDialogs.h"
#include "platform/SettingsStore.h"
#include "schedule/Scheduler.h"
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
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>

class TestMainWindowFlows : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;

    QString home(const QString& name) const { return m_home->filePath(name); }

    QStringList wallpaperLog() const
    {
        QFile f(home(QStringLiteral("wallpaper.log")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QString makePicture(const QString& name, const QColor& colour)
    {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = home(name);
        if (!image.save(path))
            qFatal("cannot write a test picture");
        return path;
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write a test file");
    }

    QString makeList(const QStringList& paths)
    {
        QList<QByteArray> entries;
        for (const QString& p : paths)
            entries << QFile::encodeName(p);
        const QString file = home(QStringLiteral("bilder.lst"));
        ListFile::write(file, entries);
        return file;
    }

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", home(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", home(QStringLiteral("data")).toUtf8());
        qputenv("TAVELVAXLAREN_DESKTOP", ("log:" + home(QStringLiteral("wallpaper.log"))).toUtf8());
    }

    void firstStartTakesEveryDefaultAndWritesThemAtClose()
    {
        ScopedScriptedDialogs dialogs;
        ProgramEntry entry;
        QVERIFY(entry.start());
        MainWindow* w = entry.mainWindow();
        QVERIFY(w);
        QCOMPARE(w->objectName(), QStringLiteral("Form1"));
        MainWindowWidgets& c = w->controls();

        QCOMPARE(w->pos(), QPoint(100, 100));
        QCOMPARE(w->palette().color(QPalette::Window), QColor(0xA6, 0xCA, 0xF0));
        QCOMPARE(w->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(c.panel2->color(), QColor(0, 0, 0x80));
        QCOMPARE(c.spinEditTimeInterval->value(), 30);
        QCOMPARE(c.cmbTidTyp->currentText(), QStringLiteral("Minuter"));
        QCOMPARE(c.cmbTyp->currentText(), QStringLiteral("Anpassad"));
        QCOMPARE(c.btStartStop->text(), QStringLiteral("&Starta"));
        QCOMPARE(w->pictureList().count(), 0);
        QVERIFY(!w->scheduler().isRunning());
        // The check-box rule: the designed "checked" boxes follow the defaults.
        QVERIFY(!c.chkMin->isChecked());
        QVERIFY(c.chkTray->isChecked());
        QVERIFY(!c.chkSysStart->isChecked());
        QVERIFY(c.chkTips->isChecked());
        QVERIFY(!entry.startedMinimised());
        QVERIFY(!Autostart::isEnabled());
        {
            SettingsStore store;
            QVERIFY(store.exists(Setting::Minimerad)); // written by the box's handler
            QCOMPARE(store.readBool(Setting::Minimerad), false);
            QVERIFY(!store.exists(Setting::Left));
        }
        QVERIFY(dialogs->calls.isEmpty());

        QSignalSpy closed(w, &MainWindow::closed);
        w->show();
        QVERIFY(w->close());
        QCOMPARE(closed.count(), 1);
        SettingsStore store;
        QCOMPARE(store.readInteger(Setting::Left), 100);
        QCOMPARE(store.readInteger(Setting::Top), 100);
        QCOMPARE(store.readInteger(Setting::Typ), 1);
        QCOMPARE(store.readInteger(Setting::Screenstyle), 2);
        QCOMPARE(store.readString(Setting::Startknapp), QStringLiteral("&Starta"));
        QCOMPARE(store.readInteger(Setting::Vald), 0);
        QCOMPARE(store.readBool(Setting::IkonSynlig), true);
        QCOMPARE(store.readBool(Setting::VisaTips), true);
    }

    void wrongTypedTextColourEndsTheProgramBeforeAnyWindow()
    {
        ScopedScriptedDialogs dialogs;
        {
            SettingsStore store;
            store.writeString(Setting::TextFarge, QStringLiteral("svart"));
        }
        ProgramEntry entry;
        QVERIFY(!entry.start());
        QVERIFY(!entry.mainWindow());
        QCOMPARE(dialogs->errors(), QStringList{QStringLiteral("Invalid data type for 'TextFarge'")});
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    void wrongTypedValueMidwayLeavesTheRestDesignedAndStillStarts()
    {
        ScopedScriptedDialogs dialogs;
        {
            SettingsStore store;
            store.writeInteger(Setting::Left, 250);
            store.writeString(Setting::Top, QStringLiteral("120"));
            store.writeInteger(Setting::Typ, 4);
            store.writeInteger(Setting::Mellan, 7);
        }
        ProgramEntry entry;
        QVERIFY(entry.start());
        MainWindowWidgets& c = entry.mainWindow()->controls();
        QCOMPARE(dialogs->errors(), QStringList{QStringLiteral("Invalid data type for 'Top'")});
        QCOMPARE(entry.mainWindow()->x(), 250);   // before the bad value
        QCOMPARE(c.cmbTidTyp->currentIndex(), 1); // after it: designed state
        QCOMPARE(c.spinEditTimeInterval->value(), 30);
    }

    void restartWithRunningRotationResumesAndAppliesAtOnce()
    {
        ScopedScriptedDialogs dialogs;
        const QStringList pictures{makePicture(QStringLiteral("ett.jpg"), Qt::red),
                                   makePicture(QStringLiteral("två.bmp"), Qt::green),
                                   makePicture(QStringLiteral("tre.jpg"), Qt::blue)};
        const QString list = makeList(pictures);
        {
            SettingsStore store;
            store.writeString(Setting::Senaste, list);
            store.writeInteger(Setting::Vald, 1);
            store.writeString(Setting::Startknapp, QStringLiteral("&Stoppa"));
            store.writeInteger(Setting::Mellan, 5);
            store.writeInteger(Setting::Typ, 3); // "Timmar": a plural keeps the value
            store.writeInteger(Setting::Screenstyle, 0);
        }
        ProgramEntry entry;
        QVERIFY(entry.start());
        QTRY_VERIFY(entry.started());
        MainWindow* w = entry.mainWindow();
        MainWindowWidgets& c = w->controls();
        QCOMPARE(dialogs->errors(), QStringList());
        QCOMPARE(w->pictureList().count(), 3);
        QCOMPARE(w->pictureList().markedIndex(), 1);
        QVERIFY(w->scheduler().isRunning());
        QVERIFY(c.timerStart->isActive());
        QCOMPARE(c.btStartStop->text(), QStringLiteral("&Stoppa"));
        QCOMPARE(c.starta1->text(), QStringLiteral("&Stoppa"));
        QCOMPARE(c.spinEditTimeInterval->value(), 5);
        QCOMPARE(c.lbMinut->text(), QStringLiteral("Timmar"));
        QCOMPARE(w->scheduler().changeInterval(), qint64(5) * 3600 * 1000);
        QVERIFY(!c.img->image().isNull());

        const QStringList log = wallpaperLog();
        QCOMPARE(log.size(), 1);
        QVERIFY2(log[0].contains(QStringLiteral("två.bmp")), qPrintable(log[0]));
        QVERIFY2(log[0].contains(QStringLiteral("\"desktop-values\"")), qPrintable(log[0]));
    }

    // Pictures deleted while the rotation runs: the window says why the change failed, and the
    // ticks that fire while its one error box is open add no more boxes.
    void failingTicksShowTheReasonAndOneBox()
    {
        ScopedScriptedDialogs dialogs;
        const QStringList pictures{makePicture(QStringLiteral("a.jpg"), Qt::red),
                                   makePicture(QStringLiteral("b.jpg"), Qt::green)};
        {
            SettingsStore store;
            store.writeString(Setting::Senaste, makeList(pictures));
            store.writeString(Setting::Startknapp, QStringLiteral("&Stoppa"));
            store.writeInteger(Setting::Mellan, 1);
            store.writeInteger(Setting::Typ, 0); // seconds: every timeout is a tick
        }
        ProgramEntry entry;
        QVERIFY(entry.start());
        QTRY_VERIFY(entry.started());
        MainWindow* w = entry.mainWindow();
        MainWindowWidgets& c = w->controls();
        QVERIFY(w->scheduler().isRunning());
        for (const QString& picture : pictures)
            QVERIFY(QFile::remove(picture));

        const auto tick = [&] { QVERIFY(QMetaObject::invokeMethod(c.timerStart, "timeout")); };
        int nested = 0;
        dialogs->whileErrorShows = [&] {
            for (; nested < 3; ++nested)
                tick();
        };
        tick();
        QCOMPARE(nested, 3);
        QCOMPARE(dialogs->errors().size(), 1);
        QVERIFY2(c.lbTips->text().startsWith(QStringLiteral("Bildbytet misslyckades: ")), qPrintable(c.lbTips->text()));
        QVERIFY2(c.lbTips->text().contains(QStringLiteral(".jpg")), qPrintable(c.lbTips->text()));
        QCOMPARE(w->tray().hint(), c.lbTips->text());
        QVERIFY(c.timerStart->isActive());
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
        QVERIFY(entry.start());
        entry.mainWindow()->controls().cmbTidTyp->setCurrentIndex(3); // kept only by the close
        QTimer::singleShot(0, [signal] { ::raise(signal); });
        QCOMPARE(entry.run(), 0);
        QCOMPARE(SettingsStore().integerOrDefault(Setting::Typ), 3);
        QCOMPARE(dialogs->errors(), QStringList());
    }

    void closeAndRestartRestoresEveryValue()
    {
        ScopedScriptedDialogs dialogs;
        const QString list = makeList(
            {makePicture(QStringLiteral("a.jpg"), Qt::yellow), makePicture(QStringLiteral("b.jpg"), Qt::cyan)});
        {
            SettingsStore store;
            store.writeString(Setting::Senaste, list);
        }
        {
            ProgramEntry entry;
            QVERIFY(entry.start());
            QTRY_VERIFY(entry.started());
            MainWindow* w = entry.mainWindow();
            MainWindowWidgets& c = w->controls();
            w->show();
            w->move(321, 234);
            c.cmbTidTyp->setCurrentIndex(3);
            c.cmbTyp->setCurrentIndex(0);
            c.chkBlanda->setChecked(true);
            c.chkMin->setChecked(true);
            c.chkTips->setChecked(false);
            c.spinEditTimeInterval->setValue(12);
            w->pictureList().setMarkedIndex(1);
            QVERIFY(w->close());
        }
        ProgramEntry entry;
        QVERIFY(entry.start());
        QTRY_VERIFY(entry.started());
        MainWindow* w = entry.mainWindow();
        MainWindowWidgets& c = w->controls();
        QCOMPARE(w->pos(), QPoint(321, 234));
        QCOMPARE(c.cmbTidTyp->currentIndex(), 3);
        QCOMPARE(c.cmbTyp->currentIndex(), 0);
        QVERIFY(c.chkBlanda->isChecked());
        QVERIFY(c.chkMin->isChecked());
        QVERIFY(entry.startedMinimised());
        // No notification area here: the window is minimised, never hidden where nothing leads back.
        QVERIFY(w->isVisible());
        QVERIFY(w->isMinimized());
        QVERIFY(!c.chkTips->isChecked());
        QVERIFY(!c.lbTips->isVisibleTo(w));
        QCOMPARE(c.spinEditTimeInterval->value(), 12);
        QCOMPARE(w->pictureList().markedIndex(), 1);
        QCOMPARE(dialogs->errors(), QStringList());
    }

    void emptyLastListIsNoListAndNoError()
    {
        ScopedScriptedDialogs dialogs;
        {
            SettingsStore store;
            store.writeString(Setting::Senaste, QString());
            store.writeString(Setting::Startknapp, QStringLiteral("&Stoppa"));
        }
        ProgramEntry entry;
        QVERIFY(entry.start());
        QCOMPARE(dialogs->errors(), QStringList());
        QCOMPARE(entry.mainWindow()->controls().btStartStop->text(), QStringLiteral("&Stoppa"));
        QVERIFY(!entry.mainWindow()->scheduler().isRunning());
    }

    void missingListFileIsReportedWithItsPath()
    {
        ScopedScriptedDialogs dialogs;
        const QString missing = home(QStringLiteral("finns inte.lst"));
        {
            SettingsStore store;
            store.writeString(Setting::Senaste, missing);
        }
        ProgramEntry entry;
        QVERIFY(entry.start());
        QCOMPARE(dialogs->errors().size(), 1);
        QVERIFY2(dialogs->errors()[0].startsWith(QStringLiteral("Cannot open file \"%1\"").arg(missing)),
                 qPrintable(dialogs->errors()[0]));
        QCOMPARE(entry.mainWindow()->pictureList().count(), 0);
    }

    void missingPictureAnsweredNoEmptiesTheListAndStartsNormally()
    {
        ScopedScriptedDialogs dialogs;
        const QString gone = home(QStringLiteral("borta.jpg"));
        const QString list = makeList(
            {makePicture(QStringLiteral("a.jpg"), Qt::red), makePicture(QStringLiteral("b.jpg"), Qt::green), gone});
        {
            SettingsStore store;
            store.writeString(Setting::Senaste, list);
            store.writeBool(Setting::Minimerad, true);
        }
        dialogs->setNextAnswer(Dialogs::No);
        ProgramEntry entry;
        QVERIFY(entry.start());
        QTRY_VERIFY(entry.started());
        const QList<ScriptedDialogs::Call> boxes = [&] {
            QList<ScriptedDialogs::Call> out;
            for (const auto& call : dialogs->calls)
                if (call.kind == QLatin1String("box"))
                    out << call;
            return out;
        }();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].caption, QStringLiteral("Fel filnamn eller sökväg"));
        QVERIFY(boxes[0].text.contains(gone));
        QCOMPARE(entry.mainWindow()->pictureList().count(), 0);
        QVERIFY(!entry.mainWindow()->controls().chkMin->isChecked());
        QVERIFY(!entry.startedMinimised());
    }

    void colourOptions_data()
    {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<QColor>("chosen"); // invalid: the dialog is cancelled
        QTest::addColumn<int>("key");
        QTest::addColumn<qint64>("stored");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("frame colour confirmed")
            << "PnlBg" << QColor(0x12, 0x34, 0x56) << int(Setting::Ramfarg) << qint64(0x563412) << true;
        QTest::newRow("window text confirmed")
            << "Textfarg1" << QColor(1, 2, 3) << int(Setting::TextFarge) << qint64(0x030201) << true;
        QTest::newRow("cancel keeps the bottom colour")
            << "BytBakgrundsfrg2" << QColor() << int(Setting::BgFargeBotten) << qint64(0x800000) << false;
        QTest::newRow("standard item resets the window colour")
            << "StandardBakgrundsfrg1" << QColor() << int(Setting::BgFarge) << qint64(0xF0CAA6) << false;
    }

    void colourOptions()
    {
        QFETCH(QString, handler);
        QFETCH(QColor, chosen);
        QFETCH(int, key);
        QFETCH(qint64, stored);
        QFETCH(bool, confirmed);
        ScopedScriptedDialogs dialogs;
        MainWindow w(nullptr);
        ColourOptions& colours = w.colours();
        colours.setWindowColour(Qt::red);
        const QString file = w.programFolder() + QStringLiteral("Clr.frg");
        const QByteArray before("ColorA=FF0000\r\nAnnan=1\r\n");
        writeFile(file, before);
        dialogs->setNextColour(chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt);

        if (handler == "PnlBg")
            colours.PnlBgClick();
        else if (handler == "Textfarg1")
            colours.Textfarg1Click();
        else if (handler == "BytBakgrundsfrg2")
            colours.BytBakgrundsfrg2Click();
        else
            colours.StandardBakgrundsfrg1Click();

        QCOMPARE(dialogs->errors(), QStringList());
        QCOMPARE(qint64(SettingsStore().readInteger(Setting(key))), stored);
        // Confirmed: all 16 slots are written, an empty one as FFFFFFFF; other lines stay.
        QByteArray after = before;
        for (char slot = 'B'; confirmed && slot <= 'P'; ++slot)
            after += QByteArray("Color") + slot + "=FFFFFFFF\r\n";
        QCOMPARE(fileBytes(file), after);
        QFile::remove(file);
    }

    void emptyCustomSlotsStayEmptyInQtsColourDialog()
    {
        MainWindow w(nullptr);
        const QString file = w.programFolder() + QStringLiteral("Clr.frg");
        writeFile(file, "ColorB=0000FF\r\n");
        std::unique_ptr<Dialogs> scripted = Dialogs::install(std::make_unique<QtDialogs>());
        QColor shownEmpty, shownRed;
        QTimer::singleShot(0, [&] {
            shownEmpty = QColorDialog::customColor(0);
            shownRed = QColorDialog::customColor(1);
            if (auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget()))
                dialog->accept();
        });
        w.colours().Byt1Click();
        Dialogs::install(std::move(scripted));

        QCOMPARE(shownEmpty, QColor(Qt::white)); // Qt's look of an unused slot, not black
        QCOMPARE(shownRed, QColor(Qt::red));
        QByteArray expected("ColorB=0000FF\r\nColorA=FFFFFFFF\r\n");
        for (char slot = 'C'; slot <= 'P'; ++slot)
            expected += QByteArray("Color") + slot + "=FFFFFFFF\r\n";
        QCOMPARE(fileBytes(file), expected);
        QFile::remove(file);
    }

    void closingTheSplashNeverEndsTheProgram()
    {
        ScopedScriptedDialogs dialogs;
        ProgramEntry entry;
        QVERIFY(entry.start());
        QSignalSpy closed(entry.mainWindow(), &MainWindow::closed);
        entry.mainWindow()->splash()->close();
        QCOMPARE(closed.count(), 0);
        QVERIFY(entry.mainWindow()->splash());
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
        ProgramEntry entry;
        QVERIFY(entry.start());
        MainWindow* w = entry.mainWindow();
        const QString colourFile = w->programFolder() + QStringLiteral("Clr.frg");
        QFile::remove(colourFile);
        const qint32 before = SettingsStore().integerOrDefault(Setting::Ramfarg);
        if (readable) {
            writeFile(colourFile, "ColorA=FF0000\r\n");
            if (!setWriteProtected(colourFile, true))
                QSKIP("this file system cannot write-protect the file");
        } else {
            QVERIFY(QDir().mkpath(colourFile));
        }
        dialogs->setNextColour(QColor(0x12, 0x34, 0x56));
        runGuarded([&] { w->colours().PnlBgClick(); });
        if (readable)
            setWriteProtected(colourFile, false);
        QFile::remove(colourFile);
        QDir().rmdir(colourFile);

        QCOMPARE(w->controls().pnlBg->color(), QColor(0x12, 0x34, 0x56));
        const QStringList told = readable ? dialogs->errors() : dialogs->messages();
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.first().contains('"' + colourFile + '"'), qPrintable(told.first()));
        QCOMPARE(dialogs->errors().isEmpty(), !readable);
        QCOMPARE(SettingsStore().integerOrDefault(Setting::Ramfarg), readable ? before : 0x563412);
    }
};

QTEST_MAIN(TestMainWindowFlows)
#include "tst_MainWindowFlows.moc"
