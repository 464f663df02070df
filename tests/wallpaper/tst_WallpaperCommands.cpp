#include "MainLayout.h"
#include "ScriptedDialogs.h"
#include "TempHome.h"
#include "picturelist/PictureList.h"
#include "platform/Registry.h"
#include "toolkit/SpeedButton.h"
#include "wallpaper/WallpaperCommands.h"

#include <QComboBox>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QTest>

// Applying on the real layout, in a home whose desktop only logs each change.
class TestWallpaperCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<ScopedScriptedDialogs> m_dialogs;
    std::unique_ptr<MainLayout> m_layout;
    std::unique_ptr<PictureList> m_list;
    std::unique_ptr<WallpaperCommands> m_commands;
    QStringList m_events; // confirmations, popups, the desktop's log lines and errors, in their order
    std::function<void(const QString&)> m_popupExtra;

    QComboBox* cmbTyp() const { return m_layout->controls.cmbTyp; }

    QJsonObject logLine(int k) const
    {
        return QJsonDocument::fromJson(m_home->wallpaperLog().value(k).toUtf8()).object();
    }

    static QString desktopValues()
    {
        RegistryKey key(Registry::Root::CurrentUser, QStringLiteral("Control Panel\\Desktop"), false);
        if (!key.isOpen() || !key.valueExists(QStringLiteral("Wallpaper")))
            return {};
        return QStringList{key.readString(QStringLiteral("Wallpaper")),
                           key.readString(QStringLiteral("WallpaperStyle")),
                           key.readString(QStringLiteral("TileWallpaper"))}
            .join(' ');
    }

    // Runs what the application left for the event loop.
    static void settle() { QTest::qWait(20); }

private slots:
    void init()
    {
        m_home = std::make_unique<TempHome>();
        m_dialogs = std::make_unique<ScopedScriptedDialogs>();
        (*m_dialogs)->whileErrorShows = [this] { m_events << "error"; };
        m_layout = std::make_unique<MainLayout>();
        m_list = std::make_unique<PictureList>(m_layout->controls.lb1);
        m_events.clear();
        m_popupExtra = nullptr;
        m_commands = std::make_unique<WallpaperCommands>(
            WallpaperCommands::Controls{.btVerkstall = m_layout->controls.btVerkstall, .cmbTyp = cmbTyp()},
            WallpaperCommands::Work{.confirmMarked = [this] { m_events << "LB1Click"; },
                                    .showPopup =
                                        [this](const QString& path) {
                                            m_events << QStringLiteral("log %1").arg(m_home->wallpaperLog().size());
                                            m_events << "popup " + path;
                                            if (m_popupExtra)
                                                m_popupExtra(path);
                                        }},
            *m_list);
        m_commands->bind();
    }
    // Each home puts back the environment it found, so the last one goes first.
    void cleanup()
    {
        m_commands.reset();
        m_dialogs.reset();
        m_home.reset();
    }

    // The route by the exact extension, the two strings of the placement, the desktop values,
    // and the popup once the desktop has answered.
    void routeByExactExtension_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("placement");
        QTest::addColumn<QString>("route");
        // clang-format off
        QTest::newRow("jpg, Anpassad")                  << "C:\\Bilder\\a.jpg" << 2 << "active-desktop";
        QTest::newRow("gif, Sida vid Sida")             << "/bilder/b.gif"     << 1 << "active-desktop";
        QTest::newRow("JPG in capitals is no match")    << "C:\\Bilder\\a.JPG" << 2 << "desktop-values";
        QTest::newRow("Jpg mixed case is no match")     << "/bilder/a.Jpg"     << 0 << "desktop-values";
        QTest::newRow("jpeg is no match")               << "/bilder/a.jpeg"    << 2 << "desktop-values";
        QTest::newRow("GIF in capitals is no match")    << "/bilder/a.GIF"     << 1 << "desktop-values";
        QTest::newRow("bmp, Centrerad")                 << "C:\\Bilder\\a.bmp" << 0 << "desktop-values";
        QTest::newRow("no extension")                   << "/bilder/a"         << 2 << "desktop-values";
        QTest::newRow("dotted Windows folder")          << "C:\\Bilder.jpg\\a" << 2 << "desktop-values";
        QTest::newRow("dotted folder")                  << "/bilder.jpg/a"     << 2 << "desktop-values";
        QTest::newRow("the last dot counts")            << "/bilder/a.jpg.bmp" << 2 << "desktop-values";
        QTest::newRow("trailing dot")                   << "/bilder/a.jpg."    << 2 << "desktop-values";
        QTest::newRow("name that is only an extension") << "/bilder/.jpg"      << 0 << "active-desktop";
        QTest::newRow("a long path arrives whole")      << "/b/" + QString(293, 'x') + ".jpg" << 2 << "active-desktop";
        // clang-format on
    }
    void routeByExactExtension()
    {
        QFETCH(QString, path);
        QFETCH(int, placement);
        QFETCH(QString, route);
        const QString strings[] = {"0 0", "0 1", "2 0"};
        bool done = false;
        m_commands->applyPlacement(path, placement, [&](const std::optional<AppError>& failure) {
            QVERIFY(!failure);
            done = true;
        });
        QVERIFY(m_events.isEmpty()); // the desktop's answer comes later
        QTRY_VERIFY(done);

        QCOMPARE(m_events, (QStringList{"log 1", "popup " + path}));
        const QJsonObject line = logLine(0);
        QCOMPARE(line.value("route").toString(), route);
        QCOMPARE(line.value("path").toString(), path);
        QCOMPARE(line.value("style").toString() + ' ' + line.value("tile").toString(), strings[placement]);
        QCOMPARE(desktopValues(), route == "active-desktop" ? QString() : path + ' ' + strings[placement]);
    }

    void verkstall_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<int>("marked");
        QTest::addColumn<int>("placement");
        QTest::addColumn<QString>("applied"); // empty: nothing applied
        QTest::addColumn<int>("markedAfter");
        const QStringList three = {"/bilder/ett.bmp", "/bilder/två sjö.jpg", "/bilder/tre.gif"};
        QTest::newRow("empty list: nothing happens") << QStringList() << -1 << 2 << "" << -1;
        QTest::newRow("nothing marked: the first") << three << -1 << 2 << "/bilder/ett.bmp" << 0;
        QTest::newRow("marked, non-ASCII name") << three << 1 << 1 << "/bilder/två sjö.jpg" << 1;
        QTest::newRow("no placement: only confirmed") << three << 2 << -1 << "" << 2;
        QTest::newRow("index beyond the table") << three << 0 << 3 << "" << 0;
    }
    void verkstall()
    {
        QFETCH(QStringList, paths);
        QFETCH(int, marked);
        QFETCH(int, placement);
        QFETCH(QString, applied);
        QFETCH(int, markedAfter);
        for (const QString& path : paths)
            m_list->append(QFile::encodeName(path));
        m_list->setMarkedIndex(marked);
        cmbTyp()->setCurrentIndex(placement);
        m_layout->controls.btVerkstall->click();
        settle();

        QStringList expected;
        if (!paths.isEmpty())
            expected << "LB1Click";
        if (!applied.isEmpty())
            expected << "log 1"
                     << "popup " + applied;
        QCOMPARE(m_events, expected);
        QCOMPARE(m_list->markedIndex(), markedAfter);
        QCOMPARE(logLine(0).value("path").toString(), applied);
    }

    // What follows the desktop's answer: a refusal gives the popup, then the error; the
    // Verkställ's confirmation always comes first.
    void answers_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("error");
        QTest::newRow("no desktop, Active Desktop route")
            << "plan9"
            << "/bilder/a.jpg"
            << "" << QStringList{"LB1Click", "log 0", "popup /bilder/a.jpg", "error"}
            << "Bakgrunden kunde inte bytas på skrivbordet plan9:";
        QTest::newRow("no desktop, desktop values route")
            << "plan9"
            << "/bilder/a.bmp"
            << "" << QStringList{"LB1Click", "log 0", "popup /bilder/a.bmp", "error"}
            << "Bakgrunden kunde inte bytas på skrivbordet plan9:";
        QTest::newRow("log that cannot be written")
            << "log:/nonexistent-folder/x.log"
            << "/bilder/a.bmp"
            << "" << QStringList{"LB1Click", "log 0", "popup /bilder/a.bmp", "error"} << "Cannot open file";
        QTest::newRow("values that cannot be written: the desktop is not told")
            << ""
            << "/bilder/a.bmp"
            << "store" << QStringList{"LB1Click", "log 0", "popup /bilder/a.bmp", "error"} << "";
        QTest::newRow("a picture the popup cannot show")
            << ""
            << "/bilder/a.bmp"
            << "popup" << QStringList{"LB1Click", "log 1", "popup /bilder/a.bmp", "error"}
            << "Bitmap image is not valid";
    }
    void answers()
    {
        QFETCH(QString, desktop);
        QFETCH(QString, path);
        QFETCH(QString, fault);
        QFETCH(QStringList, events);
        QFETCH(QString, error);
        if (!desktop.isEmpty())
            qputenv("TAVELVAXLAREN_DESKTOP", desktop.toUtf8());
        if (fault == "store") {
            QFile file(m_home->path("notafolder"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(file.fileName()));
        }
        if (fault == "popup")
            m_popupExtra = [](const QString&) { throw AppError(QStringLiteral("Bitmap image is not valid")); };
        m_list->append(QFile::encodeName(path));
        cmbTyp()->setCurrentIndex(2);
        m_layout->controls.btVerkstall->click();
        QTRY_COMPARE(m_events, events);
        QVERIFY2((*m_dialogs)->errors().value(0).startsWith(error), qPrintable((*m_dialogs)->errors().value(0)));
        if (fault == "popup")
            QCOMPARE(desktopValues(), QStringLiteral("/bilder/a.bmp 2 0"));
    }

    // Of two applications in flight only the newer is announced; the older neither shows its
    // popup nor reports its failure over it.
    void theNewestApplicationWins_data()
    {
        QTest::addColumn<QString>("older");
        QTest::newRow("older succeeds") << "/bilder/a.jpg";
        QTest::newRow("older fails") << "/bilder/saknas.bmp";
    }
    void theNewestApplicationWins()
    {
        QFETCH(QString, older);
        m_popupExtra = [](const QString& path) {
            if (path.contains("saknas"))
                throw AppError(QStringLiteral("Cannot open file"));
        };
        int olderDone = 0;
        bool newerDone = false;
        m_commands->applyPlacement(older, 2, [&](const std::optional<AppError>&) { ++olderDone; });
        m_commands->applyPlacement(QStringLiteral("/bilder/b.gif"), 2, [&](const std::optional<AppError>& failure) {
            QVERIFY(!failure);
            newerDone = true;
        });
        QTRY_VERIFY(newerDone);
        settle();
        QCOMPARE(olderDone, 0);
        QCOMPARE(m_events, (QStringList{"log 2", "popup /bilder/b.gif"}));
    }

    // Typing a placement's name selects it, as choosing it does: Verkställ is due and the index
    // is stored at once; other typing keeps the placement in force.
    void placementBox_data()
    {
        QTest::addColumn<QString>("typed"); // empty: chosen from the list
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("stored");
        QTest::newRow("typing Centrerad") << "Centrerad" << 2 << 0;
        QTest::newRow("typing what names no item") << "Centre" << 1 << 1;
        QTest::newRow("choosing Sida vid Sida") << "" << 1 << 1;
    }
    void placementBox()
    {
        QFETCH(QString, typed);
        QFETCH(int, index);
        QFETCH(int, stored);
        int edited = 0;
        connect(m_commands.get(), &WallpaperCommands::placementEdited, [&] { ++edited; });
        cmbTyp()->setCurrentIndex(index);
        QCOMPARE(edited, 0); // setting the index from code is neither a change nor a choice
        QVERIFY(!TempHome::stored(Setting::Screenstyle).isValid());

        if (typed.isEmpty()) {
            emit cmbTyp()->activated(index);
        } else {
            cmbTyp()->lineEdit()->selectAll();
            QTest::keyClicks(cmbTyp()->lineEdit(), typed);
        }
        QVERIFY(edited > 0);
        QCOMPARE(TempHome::stored(Setting::Screenstyle).toInt(), stored);

        m_list->append("/bilder/a.bmp");
        m_layout->controls.btVerkstall->click();
        QTRY_VERIFY(m_events.size() == 3);
        const QString strings[] = {"0 0", "0 1", "2 0"};
        QCOMPARE(desktopValues(), "/bilder/a.bmp " + strings[stored]);
    }
};

QTEST_MAIN(TestWallpaperCommands)
#include "tst_WallpaperCommands.moc"
