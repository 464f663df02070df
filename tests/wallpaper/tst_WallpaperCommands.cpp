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

// Applying on the real layout, in a home whose desktop only logs each change; the others' work
// and the errors are recorded in the order they come, each popup with the log lines before it.
struct Rig
{
    TempHome home;
    ScopedScriptedDialogs dialogs;
    MainLayout layout;
    QComboBox* cmbTyp = layout.controls.cmbTyp;
    PictureList list{layout.controls.lb1};
    QStringList events;
    std::function<void(const QString&)> popupExtra;
    WallpaperCommands commands{{.btVerkstall = layout.controls.btVerkstall, .cmbTyp = cmbTyp},
                               {.confirmMarked = [this] { events << "LB1Click"; },
                                .showPopup =
                                    [this](const QString& path) {
                                        events << QStringLiteral("log %1").arg(home.wallpaperLog().size())
                                               << "popup " + path;
                                        if (popupExtra)
                                            popupExtra(path);
                                    }},
                               list};

    Rig()
    {
        dialogs->whileErrorShows = [this] { events << "error"; };
        commands.bind();
    }
    QJsonObject logLine(int k) const { return QJsonDocument::fromJson(home.wallpaperLog().value(k).toUtf8()).object(); }
};

QString desktopValues()
{
    RegistryKey key(Registry::Root::CurrentUser, QStringLiteral("Control Panel\\Desktop"), false);
    QStringList values;
    for (const char* name : {"Wallpaper", "WallpaperStyle", "TileWallpaper"})
        if (key.isOpen() && key.valueExists(QLatin1String(name)))
            values << key.readString(QLatin1String(name));
    return values.join(' ');
}

class TestWallpaperCommands : public QObject
{
    Q_OBJECT

private slots:
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
        Rig r;
        const QString strings[] = {"0 0", "0 1", "2 0"};
        bool done = false;
        r.commands.applyPlacement(path, placement, [&](const std::optional<AppError>& failure) { done = !failure; });
        QVERIFY(r.events.isEmpty()); // the desktop's answer comes later
        QTRY_VERIFY(done);

        QCOMPARE(r.events, (QStringList{"log 1", "popup " + path}));
        const QJsonObject line = r.logLine(0);
        QCOMPARE(line.value("route").toString(), route);
        QCOMPARE(line.value("path").toString(), path);
        QCOMPARE(line.value("style").toString() + ' ' + line.value("tile").toString(), strings[placement]);
        QCOMPARE(desktopValues(), route == "active-desktop" ? QString() : path + ' ' + strings[placement]);
    }

    // Verkställ confirms the marked picture (the first when none is marked) at once; with the desktop's
    // answer come the popup (not for a desktop never reached) and then any error.
    void verkstall_data()
    {
        QTest::addColumn<int>("marked"); // -2: an empty list
        QTest::addColumn<int>("placement");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("error");
        const QString bmp = "popup /bilder/ett.bmp", jpg = "popup /bilder/två sjö.jpg",
                      plan9 = "Bakgrunden kunde inte bytas på skrivbordet plan9:";
        // clang-format off
        QTest::newRow("empty list: nothing")      << -2 << 2 << "" << QStringList{} << "";
        QTest::newRow("none marked: the first")   << -1 << 2 << "" << QStringList{"LB1Click", "log 1", bmp} << "";
        QTest::newRow("marked, non-ASCII name")   << 1 << 1 << "" << QStringList{"LB1Click", "log 1", jpg} << "";
        QTest::newRow("no placement: confirmed")  << 2 << -1 << "" << QStringList{"LB1Click"} << "";
        QTest::newRow("no desktop reached: the error alone") << 1 << 2 << "desktop" << QStringList{"LB1Click", "error"} << plan9;
        QTest::newRow("a desktop that refuses") << 0 << 2 << "log" << QStringList{"LB1Click", "log 0", bmp, "error"} << "Cannot open";
        QTest::newRow("values not written: desktop not told") << 0 << 2 << "store" << QStringList{"LB1Click", "log 0", bmp, "error"} << "";
        QTest::newRow("a picture the popup cannot show") << 0 << 2 << "popup" << QStringList{"LB1Click", "log 1", bmp, "error"} << "Bitmap";
        // clang-format on
    }
    void verkstall()
    {
        QFETCH(int, marked);
        QFETCH(int, placement);
        QFETCH(QString, fault);
        QFETCH(QStringList, events);
        QFETCH(QString, error);
        Rig r;
        if (fault == "desktop" || fault == "log")
            qputenv("TAVELVAXLAREN_DESKTOP", fault == "log" ? "log:/nonexistent-folder/x.log" : "plan9");
        if (fault == "store") {
            QFile file(r.home.path("notafolder"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(file.fileName()));
        }
        if (fault == "popup")
            r.popupExtra = [](const QString&) { throw AppError(QStringLiteral("Bitmap image is not valid")); };
        if (marked > -2)
            for (const char* path : {"/bilder/ett.bmp", "/bilder/två sjö.jpg", "/bilder/tre.gif"})
                r.list.append(QFile::encodeName(QString::fromUtf8(path)));
        r.list.setMarkedIndex(marked);
        r.cmbTyp->setCurrentIndex(placement);
        r.layout.controls.btVerkstall->click();
        QTest::qWait(20); // what the application left for the event loop

        QCOMPARE(r.events, events);
        QCOMPARE(r.list.markedIndex(), marked == -2 ? -1 : std::max(marked, 0));
        QCOMPARE(r.dialogs->errors().value(0).left(error.size()), error);
        if (fault == "popup")
            QCOMPARE(desktopValues(), QStringLiteral("/bilder/ett.bmp 2 0"));
    }

    // Of two applications in flight only the newer is announced; the older neither shows its
    // popup nor reports its failure over it.
    void theNewestApplicationWins()
    {
        Rig r;
        r.popupExtra = [](const QString&) { throw AppError(QStringLiteral("Cannot open file")); };
        int olderDone = 0;
        r.commands.applyPlacement("/bilder/saknas.bmp", 2, [&](const std::optional<AppError>&) { ++olderDone; });
        r.popupExtra = nullptr;
        bool newerDone = false;
        r.commands.applyPlacement("/bilder/b.gif", 2,
                                  [&](const std::optional<AppError>& failure) { newerDone = !failure; });
        QTRY_VERIFY(newerDone); // the older answer came before
        QCOMPARE(olderDone, 0);
        QCOMPARE(r.events, (QStringList{"log 2", "popup /bilder/b.gif"}));
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
        Rig r;
        int edited = 0;
        connect(&r.commands, &WallpaperCommands::placementEdited, [&] { ++edited; });
        r.cmbTyp->setCurrentIndex(index);
        QCOMPARE(edited, 0); // setting the index from code is neither a change nor a choice
        QVERIFY(!TempHome::stored(Setting::Screenstyle).isValid());

        if (typed.isEmpty()) {
            emit r.cmbTyp->activated(index);
        } else {
            r.cmbTyp->lineEdit()->selectAll();
            QTest::keyClicks(r.cmbTyp->lineEdit(), typed);
        }
        QVERIFY(edited > 0);
        QCOMPARE(TempHome::stored(Setting::Screenstyle).toInt(), stored);
        QCOMPARE(r.cmbTyp->currentIndex(), stored); // what the next Verkställ applies
    }
};

QTEST_MAIN(TestWallpaperCommands)
#include "tst_WallpaperCommands.moc"
