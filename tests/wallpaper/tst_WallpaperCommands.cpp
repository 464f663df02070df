#include "ScriptedDialogs.h"
#include "picturelist/PictureList.h"
#include "platform/AppError.h"
#include "platform/Guard.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "toolkit/SpeedButton.h"
#include "wallpaper/WallpaperCommands.h"

#include <QComboBox>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

// The desktop only logs here (TAVELVAXLAREN_DESKTOP=log:FILE), so each application can be read back.
class TestWallpaperCommands : public QObject
{
    Q_OBJECT

    struct DesktopValues
    {
        bool written = false;
        QString wallpaper, style, tile;
    };

    std::unique_ptr<QTemporaryDir> m_home;
    QString m_log;
    std::unique_ptr<QWidget> m_form;
    WallpaperCommands::Controls m_controls{};
    std::unique_ptr<PictureList> m_list;
    QStringList m_events; // popup and confirmation, in the order they ran
    std::function<void(const QString&)> m_popupExtra;

    QList<QJsonObject> logLines() const
    {
        QList<QJsonObject> lines;
        QFile file(m_log);
        if (!file.open(QIODevice::ReadOnly))
            return lines;
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (!line.isEmpty())
                lines << QJsonDocument::fromJson(line).object();
        }
        return lines;
    }

    static DesktopValues desktopValues()
    {
        RegistryKey key(Registry::Root::CurrentUser, QStringLiteral("Control Panel\\Desktop"), false);
        if (!key.isOpen() || !key.valueExists(QStringLiteral("Wallpaper")))
            return {};
        return {true, key.readString(QStringLiteral("Wallpaper")), key.readString(QStringLiteral("WallpaperStyle")),
                key.readString(QStringLiteral("TileWallpaper"))};
    }

    std::unique_ptr<WallpaperCommands> makeCommands()
    {
        auto commands = std::make_unique<WallpaperCommands>(m_controls, *m_list);
        WallpaperCommands* c = commands.get();
        connectRequest(c, &WallpaperCommands::confirmMarkedRequested, c, [this] { m_events << "LB1Click"; });
        connectRequest(c, &WallpaperCommands::popupRequested, c, [this](const QString& path) {
            m_events << QStringLiteral("popup %1").arg(path);
            if (m_popupExtra)
                m_popupExtra(path);
        });
        commands->bind();
        return commands;
    }

    void fillList(const QStringList& paths)
    {
        for (const QString& path : paths)
            m_list->append(QFile::encodeName(path));
    }

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        m_log = m_home->filePath(QStringLiteral("wallpaper.log"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home->filePath(QStringLiteral("config"))));
        qputenv("TAVELVAXLAREN_DESKTOP", QFile::encodeName(QStringLiteral("log:") + m_log));
        m_form = std::make_unique<QWidget>();
        m_list = std::make_unique<PictureList>(new QListWidget(m_form.get()));
        m_controls.cmbTyp = new QComboBox(m_form.get());
        m_controls.cmbTyp->setEditable(true);
        m_controls.cmbTyp->addItems({"Centrerad", "Sida vid Sida", "Anpassad"});
        m_controls.btVerkstall = new SpeedButton(m_form.get());
        m_events.clear();
        m_popupExtra = nullptr;
    }

    void routeByExactExtension_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("placement");
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("tile");

        // clang-format off
        QTest::newRow("jpg, Anpassad: Active Desktop, no desktop values") << "C:\\Bilder\\a.jpg" << 2 << "active-desktop" << "2" << "0";
        QTest::newRow("gif, Sida vid Sida: Active Desktop")               << "/bilder/b.gif"     << 1 << "active-desktop" << "0" << "1";
        QTest::newRow("JPG in capitals is no match")                      << "C:\\Bilder\\a.JPG" << 2 << "desktop-values" << "2" << "0";
        QTest::newRow("Jpg mixed case is no match")                       << "/bilder/a.Jpg"     << 0 << "desktop-values" << "0" << "0";
        QTest::newRow("jpeg is no match")                                 << "/bilder/a.jpeg"    << 2 << "desktop-values" << "2" << "0";
        QTest::newRow("GIF in capitals is no match")                      << "/bilder/a.GIF"     << 1 << "desktop-values" << "0" << "1";
        QTest::newRow("bmp, Centrerad")                                   << "C:\\Bilder\\a.bmp" << 0 << "desktop-values" << "0" << "0";
        QTest::newRow("bmp, Sida vid Sida")                               << "C:\\Bilder\\a.bmp" << 1 << "desktop-values" << "0" << "1";
        QTest::newRow("no extension")                                     << "/bilder/a"         << 2 << "desktop-values" << "2" << "0";
        QTest::newRow("dotted Windows folder, name without dot")          << "C:\\Bilder.jpg\\a" << 2 << "desktop-values" << "2" << "0";
        QTest::newRow("dotted folder, name without dot")                  << "/bilder.jpg/a"     << 2 << "desktop-values" << "2" << "0";
        QTest::newRow("the last dot counts")                              << "/bilder/a.jpg.bmp" << 2 << "desktop-values" << "2" << "0";
        QTest::newRow("trailing dot")                                     << "/bilder/a.jpg."    << 2 << "desktop-values" << "2" << "0";
        QTest::newRow("name that is only an extension")                   << "/bilder/.jpg"      << 0 << "active-desktop" << "0" << "0";
        // clang-format on
    }

    // The route, the strings handed over, the desktop values, and the popup in its place:
    // after the values, before the desktop is told on that route; after the hand-over on the other.
    void routeByExactExtension()
    {
        QFETCH(QString, path);
        QFETCH(int, placement);
        QFETCH(QString, route);
        QFETCH(QString, style);
        QFETCH(QString, tile);
        auto commands = makeCommands();
        int linesAtPopup = -1;
        DesktopValues valuesAtPopup;
        m_popupExtra = [&](const QString&) {
            linesAtPopup = int(logLines().size());
            valuesAtPopup = desktopValues();
        };

        const auto strings = WallpaperCommands::placementStrings(placement);
        QVERIFY(strings);
        QCOMPARE(strings->first, style);
        QCOMPARE(strings->second, tile);
        commands->ApplyWallpaper(path, strings->first, strings->second);

        QCOMPARE(m_events, QStringList{"popup " + path});
        const auto lines = logLines();
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0].value("route").toString(), route);
        QCOMPARE(lines[0].value("path").toString(), path);
        QCOMPARE(lines[0].value("style").toString(), style);
        QCOMPARE(lines[0].value("tile").toString(), tile);

        const DesktopValues values = desktopValues();
        if (route == QLatin1String("active-desktop")) {
            QVERIFY(!values.written);
            QCOMPARE(linesAtPopup, 1);
        } else {
            QVERIFY(values.written);
            QCOMPARE(values.wallpaper, path);
            QCOMPARE(values.style, style);
            QCOMPARE(values.tile, tile);
            QVERIFY(valuesAtPopup.written);
            QCOMPARE(linesAtPopup, 0);
        }
    }

    // Only Windows' Active Desktop buffer limits the length; here the whole path must arrive.
    void longPathArrivesWhole()
    {
        auto commands = makeCommands();
        const QString path = QStringLiteral("/b/") + QString(293, QLatin1Char('x')) + QStringLiteral(".jpg");
        QCOMPARE(path.size(), 300);
        commands->ApplyWallpaper(path, "2", "0");
        QCOMPARE(logLines().value(0).value("path").toString(), path);
    }

    void verkstall_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<int>("marked");
        QTest::addColumn<int>("placement");
        QTest::addColumn<QString>("applied"); // empty: nothing applied
        QTest::addColumn<QString>("tile");
        QTest::addColumn<int>("markedAfter");
        QTest::addColumn<bool>("confirmed");

        const QStringList three = {"/bilder/ett.bmp", "/bilder/två sjö.jpg", "/bilder/tre.gif"};
        QTest::newRow("empty list: nothing happens") << QStringList() << -1 << 2 << ""
                                                     << "" << -1 << false;
        QTest::newRow("nothing marked: the first is marked and applied") << three << -1 << 2 << "/bilder/ett.bmp"
                                                                         << "0" << 0 << true;
        QTest::newRow("marked entry with non-ASCII name, Sida vid Sida") << three << 1 << 1 << "/bilder/två sjö.jpg"
                                                                         << "1" << 1 << true;
        QTest::newRow("no placement chosen: nothing applied, still confirmed") << three << 2 << -1 << ""
                                                                               << "" << 2 << true;
        QTest::newRow("placement index beyond the table") << three << 0 << 3 << ""
                                                          << "" << 0 << true;
    }

    void verkstall()
    {
        QFETCH(QStringList, paths);
        QFETCH(int, marked);
        QFETCH(int, placement);
        QFETCH(QString, applied);
        QFETCH(QString, tile);
        QFETCH(int, markedAfter);
        QFETCH(bool, confirmed);
        ScopedScriptedDialogs dialogs;
        auto commands = makeCommands();
        fillList(paths);
        m_list->setMarkedIndex(marked);
        m_controls.cmbTyp->setCurrentIndex(placement);
        m_controls.btVerkstall->setEnabled(true);

        m_controls.btVerkstall->click();

        QStringList expected;
        if (!applied.isEmpty())
            expected << "popup " + applied;
        if (confirmed)
            expected << "LB1Click";
        QCOMPARE(m_events, expected);
        QCOMPARE(m_list->markedIndex(), markedAfter);
        QCOMPARE(m_controls.btVerkstall->isEnabled(), !confirmed);
        const auto lines = logLines();
        QCOMPARE(lines.size(), applied.isEmpty() ? 0 : 1);
        if (!applied.isEmpty()) {
            QCOMPARE(lines[0].value("path").toString(), applied);
            QCOMPARE(lines[0].value("tile").toString(), tile);
        }
        QVERIFY(dialogs->errors().isEmpty());
    }

    // A picture the popup cannot load: the values are written, the desktop is not told, the
    // picture is still confirmed, and the error is reported after that.
    void popupFailureEndsTheApplication()
    {
        ScopedScriptedDialogs dialogs;
        auto commands = makeCommands();
        fillList({"/bilder/saknas.bmp"});
        m_list->setMarkedIndex(0);
        m_controls.cmbTyp->setCurrentIndex(0);
        const QString error = QStringLiteral("Cannot open file \"/bilder/saknas.bmp\". No such file or directory");
        m_popupExtra = [&](const QString&) { throw AppError(error); };
        m_controls.btVerkstall->click();

        QCOMPARE(m_events, (QStringList{"popup /bilder/saknas.bmp", "LB1Click"}));
        QCOMPARE(dialogs->errors(), QStringList{error});
        QVERIFY(logLines().isEmpty());
        QCOMPARE(desktopValues().wallpaper, QStringLiteral("/bilder/saknas.bmp"));
        QVERIFY(!m_controls.btVerkstall->isEnabled());
    }

    // A store that cannot take the values: the popup still shows, the desktop is not told.
    void failedWriteSkipsTheDesktop()
    {
        const QString notAFolder = m_home->filePath(QStringLiteral("file"));
        QFile file(notAFolder);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(notAFolder));
        auto commands = makeCommands();
        bool failed = false;
        try {
            commands->ApplyWallpaper(QStringLiteral("/bilder/a.bmp"), "2", "0");
        } catch (const AppError&) {
            failed = true;
        }
        QVERIFY(failed);
        QCOMPARE(m_events, QStringList{"popup /bilder/a.bmp"});
        QVERIFY(logLines().isEmpty());
    }

    void errorsAreReportedAfterTheConfirmation()
    {
        ScopedScriptedDialogs dialogs;
        QList<int> errorsSeen;
        WallpaperCommands commands(m_controls, *m_list);
        connectRequest(&commands, &WallpaperCommands::confirmMarkedRequested, &commands,
                       [&] { errorsSeen << int(dialogs->errors().size()); });
        connectRequest(&commands, &WallpaperCommands::popupRequested, &commands,
                       [](const QString& path) { throw AppError(QStringLiteral("Bitmap image is not valid") + path); });
        commands.bind();
        fillList({"/bilder/trasig.gif"});
        m_controls.cmbTyp->setCurrentIndex(2);
        m_controls.btVerkstall->click();
        QCOMPARE(errorsSeen, QList<int>{0});
        QCOMPARE(dialogs->errors(), QStringList{"Bitmap image is not valid/bilder/trasig.gif"});
        // The Active Desktop route had handed the picture over before the popup failed.
        QCOMPARE(logLines().size(), 1);
    }

    void desktopThatRefuses_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("errorStart");

        QTest::newRow("unknown desktop, Active Desktop route") << "plan9"
                                                               << "/bilder/a.jpg"
                                                               << "Bakgrunden kunde inte bytas på skrivbordet plan9:";
        QTest::newRow("unknown desktop, desktop values route") << "plan9"
                                                               << "/bilder/a.bmp"
                                                               << "Bakgrunden kunde inte bytas på skrivbordet plan9:";
        QTest::newRow("log file that cannot be written") << "log:/nonexistent-folder/x.log"
                                                         << "/bilder/a.bmp"
                                                         << "Cannot open file \"/nonexistent-folder/x.log\"";
    }

    // A desktop that does not take the picture is reported, after the popup, never passed as done.
    void desktopThatRefuses()
    {
        QFETCH(QString, desktop);
        QFETCH(QString, path);
        QFETCH(QString, errorStart);
        qputenv("TAVELVAXLAREN_DESKTOP", desktop.toUtf8());
        auto commands = makeCommands();
        try {
            commands->ApplyWallpaper(path, "2", "0");
            QFAIL("no error");
        } catch (const AppError& error) {
            QVERIFY2(error.message().startsWith(errorStart), qPrintable(error.message()));
        }
        QCOMPARE(m_events, QStringList{"popup " + path});
    }

    void placementBox_data()
    {
        QTest::addColumn<bool>("typed");
        QTest::addColumn<int>("index");
        QTest::newRow("typing into the box") << true << 0;
        QTest::newRow("choosing Sida vid Sida from the list") << false << 1;
        QTest::newRow("choosing Anpassad from the list") << false << 2;
    }

    void placementBox()
    {
        QFETCH(bool, typed);
        QFETCH(int, index);
        ScopedScriptedDialogs dialogs;
        auto commands = makeCommands();
        m_controls.btVerkstall->setEnabled(false);
        m_controls.cmbTyp->setCurrentIndex(index);
        // Setting the index from code is neither a change nor a choice.
        QVERIFY(!m_controls.btVerkstall->isEnabled());
        QVERIFY(!SettingsStore().exists(Setting::Screenstyle));

        if (typed)
            QTest::keyClick(m_controls.cmbTyp->lineEdit(), Qt::Key_X);
        else
            emit m_controls.cmbTyp->activated(index);

        QVERIFY(m_controls.btVerkstall->isEnabled());
        QCOMPARE(SettingsStore().readInteger(Setting::Screenstyle), index);
        QVERIFY(dialogs->errors().isEmpty());
    }
};

QTEST_MAIN(TestWallpaperCommands)
#include "tst_WallpaperCommands.moc"
