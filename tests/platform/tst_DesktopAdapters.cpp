#include "TestFiles.h"
#include "platform/DesktopAdapters.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>
#include <functional>

using namespace DesktopAdapters;
using Placement = Desktop::Placement;
Q_DECLARE_METATYPE(Desktop::Placement)
Q_DECLARE_METATYPE(DesktopAdapters::Result)

namespace {

// Records what an adapter would run; answers from a script instead of running anything.
class RecordingRunner : public Runner
{
public:
    std::function<Result(const Command&)> reply = [](const Command&) { return Result{}; };
    std::function<Result(const DBusCall&)> dbusReply = [](const DBusCall&) { return Result{}; };
    QStringList runningPrograms;
    // Program followed by its arguments; "dbus" calls as their address and short arguments,
    // files written as "write", path and content.
    QList<QStringList> ran;
    QStringList scripts;

    Result run(const Command& command) override
    {
        ran << (QStringList{command.program} + command.arguments);
        return reply(command);
    }
    Result call(const DBusCall& call) override
    {
        QStringList record{"dbus", call.service, call.path, call.interface, call.method};
        for (const QVariant& argument : call.arguments) {
            QStringList map;
            for (const auto& [key, value] : argument.toMap().asKeyValueRange())
                map << key + "=" + value.toString();
            record << (map.isEmpty() ? argument.toString() : map.join(' '));
        }
        ran << (record.join(' ').size() > 300 ? record.mid(0, 5) : record);
        scripts << call.arguments.value(0).toString();
        return dbusReply(call);
    }
    bool isRunning(const QString& program) override { return runningPrograms.contains(program); }
    bool writeFile(const QString& path, const QByteArray& content, QString*) override
    {
        ran << QStringList{"write", path, QString::fromUtf8(content)};
        return true;
    }
};

Result output(const QString& text)
{
    Result result;
    result.output = text;
    return result;
}

const QString gnomeKeys = "color-shading-type\npicture-opacity\npicture-options\npicture-uri\npicture-uri-dark\n";

// Replies as the real desktops would, so that the adapters go all the way through.
Result typicalReply(const Command& command)
{
    if (command.arguments.value(0) == "list-keys") {
        if (command.arguments.value(1) == "org.mate.background")
            return output("picture-filename\npicture-options\n");
        if (command.arguments.value(1) == "org.cinnamon.desktop.background")
            return output("picture-uri\npicture-options\n");
        return output(gnomeKeys);
    }
    if (command.program == "xfconf-query" && command.arguments.contains("-l"))
        return output("/backdrop/screen0/monitor0/workspace0/last-image\n"
                      "/backdrop/screen0/monitor0/workspace0/image-style\n"
                      "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"
                      "/desktop-icons/style\n");
    if (command.keepsRunning) {
        Result running;
        running.status = Result::Status::Running;
        return running;
    }
    return {};
}

// The path as each desktop will read it back from what the adapter handed over.
QString pathReachedBy(const QString& key, const RecordingRunner& runner)
{
    for (const QStringList& command : runner.ran) {
        const QString program = command.value(0);
        if (program == "gsettings" && command.value(1) == "set") {
            if (command.value(3) == "picture-filename")
                return fromGVariant(command.value(4));
            if (command.value(3) == "picture-uri")
                return QUrl(fromGVariant(command.value(4)), QUrl::StrictMode).toLocalFile();
        }
        if (program == "xfconf-query" && command.value(4).endsWith("last-image"))
            return command.value(command.indexOf("-s") + 1);
        if (program == "pcmanfm-qt")
            return command.value(command.indexOf("--set-wallpaper") + 1);
        if (program == "pcmanfm")
            return command.value(1).mid(QString("--set-wallpaper=").size());
        if (program == "swaybg")
            return command.value(command.indexOf("-i") + 1);
        if (program == "feh")
            return command.last();
        if (program == "write" && command.value(1).endsWith("/all")) {
            // The RON string after Path(, unescaped.
            const QString entry = command.value(2);
            QString path;
            for (qsizetype i = entry.indexOf("Path(\"") + 6; i < entry.size() && entry[i] != '"'; ++i) {
                if (entry[i] == '\\' && entry[i + 1] == 'u') {
                    const qsizetype end = entry.indexOf('}', i);
                    path += QChar(entry.mid(i + 3, end - i - 3).toUShort(nullptr, 16));
                    i = end;
                } else {
                    path += entry[i] == '\\' ? entry[++i] : entry[i];
                }
            }
            return path;
        }
    }
    if (key == "kde" && !runner.scripts.isEmpty()) {
        const QString script = runner.scripts.last();
        const qsizetype start = script.indexOf("var image = ") + 12;
        const qsizetype end = script.indexOf(";\nvar fillMode");
        const QJsonArray value = QJsonDocument::fromJson(("[" + script.mid(start, end - start) + "]").toUtf8()).array();
        return QUrl(value.at(0).toString(), QUrl::StrictMode).toLocalFile();
    }
    return QStringLiteral("<no path found>");
}

} // namespace

class TestDesktopAdapters : public QObject
{
    Q_OBJECT

private slots:
    void commandLists_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<Placement>("placement");
        QTest::addColumn<QList<QStringList>>("expected");

        const QString path = "/b/a b.jpg";
        const QString uri = "'file:///b/a%20b.jpg'";
        const QString schema = "org.gnome.desktop.background";
        const auto gnome = [&](const QString& option) {
            return QList<QStringList>{{"gsettings", "list-keys", schema},
                                      {"gsettings", "set", schema, "picture-options", option},
                                      {"gsettings", "set", schema, "picture-uri", uri},
                                      {"gsettings", "set", schema, "picture-uri-dark", uri}};
        };
        QTest::newRow("GNOME centred") << "gnome" << Placement::Centred << gnome("'centered'");
        QTest::newRow("GNOME tiled") << "gnome" << Placement::Tiled << gnome("'wallpaper'");
        QTest::newRow("Unity stretched") << "unity" << Placement::Stretched << gnome("'stretched'");

        const QString cinnamon = "org.cinnamon.desktop.background";
        QTest::newRow("Cinnamon tiled, no dark variant")
            << "cinnamon" << Placement::Tiled
            << QList<QStringList>{{"gsettings", "list-keys", cinnamon},
                                  {"gsettings", "set", cinnamon, "picture-options", "'wallpaper'"},
                                  {"gsettings", "set", cinnamon, "picture-uri", uri}};
        const QString mate = "org.mate.background";
        QTest::newRow("MATE stretched, a plain path")
            << "mate" << Placement::Stretched
            << QList<QStringList>{{"gsettings", "list-keys", mate},
                                  {"gsettings", "set", mate, "picture-options", "'stretched'"},
                                  {"gsettings", "set", mate, "picture-filename", "'/b/a b.jpg'"}};

        const QStringList xfconf = {"xfconf-query", "-c", "xfce4-desktop"};
        const QString m0 = "/backdrop/screen0/monitor0/workspace0/";
        const QString hdmi = "/backdrop/screen0/monitorHDMI-1/workspace0/";
        const auto xfce = [&](const QString& style) {
            return QList<QStringList>{xfconf + QStringList{"-l"},
                                      xfconf + QStringList{"-p", m0 + "image-style", "-s", style},
                                      xfconf + QStringList{"-p", m0 + "last-image", "-s", path},
                                      xfconf + QStringList{"-p", hdmi + "image-style", "-n", "-t", "int", "-s", style},
                                      xfconf + QStringList{"-p", hdmi + "last-image", "-s", path}};
        };
        QTest::newRow("XFCE centred, every monitor, missing style created")
            << "xfce" << Placement::Centred << xfce("1");
        QTest::newRow("XFCE tiled") << "xfce" << Placement::Tiled << xfce("2");
        QTest::newRow("XFCE stretched") << "xfce" << Placement::Stretched << xfce("3");

        const auto kde = QList<QStringList>{
            {"dbus", "org.kde.plasmashell", "/PlasmaShell", "org.freedesktop.DBus.Introspectable", "Introspect"},
            {"dbus", "org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell", "evaluateScript"}};
        QTest::newRow("Plasma 5, no setWallpaper: a script") << "kde" << Placement::Centred << kde;

        QTest::newRow("LXQt centred") << "lxqt" << Placement::Centred
                                      << QList<QStringList>{
                                             {"pcmanfm-qt", "--set-wallpaper", path, "--wallpaper-mode", "center"}};
        QTest::newRow("LXQt tiled") << "lxqt" << Placement::Tiled
                                    << QList<QStringList>{
                                           {"pcmanfm-qt", "--set-wallpaper", path, "--wallpaper-mode", "tile"}};
        QTest::newRow("LXDE stretched") << "lxde" << Placement::Stretched
                                        << QList<QStringList>{
                                               {"pcmanfm", "--set-wallpaper=" + path, "--wallpaper-mode=stretch"}};
        QTest::newRow("LXDE centred") << "lxde" << Placement::Centred
                                      << QList<QStringList>{
                                             {"pcmanfm", "--set-wallpaper=" + path, "--wallpaper-mode=center"}};
        QTest::newRow("sway tiled") << "sway" << Placement::Tiled
                                    << QList<QStringList>{{"swaybg", "-i", path, "-m", "tile"}};
        QTest::newRow("wlroots stretched")
            << "wlroots" << Placement::Stretched << QList<QStringList>{{"swaybg", "-i", path, "-m", "stretch"}};
        QTest::newRow("niri centred") << "niri" << Placement::Centred
                                      << QList<QStringList>{{"swaybg", "-i", path, "-m", "center"}};
        QTest::newRow("X11 centred") << "x11" << Placement::Centred
                                     << QList<QStringList>{{"feh", "--no-fehbg", "--bg-center", path}};
        QTest::newRow("X11 tiled") << "X11" << Placement::Tiled
                                   << QList<QStringList>{{"feh", "--no-fehbg", "--bg-tile", path}};
        QTest::newRow("feh stretched") << "feh" << Placement::Stretched
                                       << QList<QStringList>{{"feh", "--no-fehbg", "--bg-scale", path}};
    }

    void commandLists()
    {
        QFETCH(QString, key);
        QFETCH(Placement, placement);
        QFETCH(QList<QStringList>, expected);
        RecordingRunner runner;
        runner.reply = typicalReply;
        const auto adapter = adapterFor(key);
        QVERIFY(adapter);
        adapter->apply("/b/a b.jpg", placement, runner);
        QCOMPARE(runner.ran, expected);
    }

    void plasmaScript_data()
    {
        QTest::addColumn<Placement>("placement");
        QTest::addColumn<int>("fillMode");
        QTest::newRow("centred") << Placement::Centred << 6;
        QTest::newRow("tiled") << Placement::Tiled << 3;
        QTest::newRow("stretched") << Placement::Stretched << 0;
    }

    void plasmaScript()
    {
        QFETCH(Placement, placement);
        QFETCH(int, fillMode);
        const QString script = DesktopAdapters::plasmaScript("/b/a b.jpg", placement);
        QVERIFY(script.contains("var image = \"file:///b/a%20b.jpg\";\n"));
        QVERIFY(script.contains(QString("var fillMode = %1;\n").arg(fillMode)));
        QVERIFY(script.contains("desktops()"));
        QVERIFY(script.contains("d.wallpaperPlugin = \"org.kde.image\""));
        QVERIFY(script.contains("d.writeConfig(\"Image\", image)"));
        QVERIFY(script.contains("d.writeConfig(\"FillMode\", fillMode)"));
    }

    void xfceEveryMonitor_data()
    {
        QTest::addColumn<bool>("emptyChannel");
        QTest::addColumn<QStringList>("monitors");
        QTest::addColumn<QList<QStringList>>("expected");
        const QStringList xfconf = {"xfconf-query", "-c", "xfce4-desktop"};
        const auto created = [&](const QString& monitor) {
            const QString base = "/backdrop/screen0/monitor" + monitor + "/workspace0/";
            return QList<QStringList>{
                xfconf + QStringList{"-p", base + "image-style", "-n", "-t", "int", "-s", "2"},
                xfconf + QStringList{"-p", base + "last-image", "-n", "-t", "string", "-s", "/b/c.png"}};
        };
        // The listing of an empty channel fails in the user's language; the channels' list decides.
        QTest::newRow("empty channel, both monitors created")
            << true << QStringList{"eDP-1", "HDMI-1"}
            << (QList<QStringList>{xfconf + QStringList{"-l"}, {"xfconf-query", "-l"}} + created("eDP-1") +
                created("HDMI-1"));
        const QString m0 = "/backdrop/screen0/monitor0/workspace0/";
        const QString hdmi = "/backdrop/screen0/monitorHDMI-1/workspace0/";
        QTest::newRow("a monitor plugged in later gets one too")
            << false << QStringList{"HDMI-1", "DP-2"}
            << (QList<QStringList>{xfconf + QStringList{"-l"},
                                   xfconf + QStringList{"-p", m0 + "image-style", "-s", "2"},
                                   xfconf + QStringList{"-p", m0 + "last-image", "-s", "/b/c.png"},
                                   xfconf + QStringList{"-p", hdmi + "image-style", "-n", "-t", "int", "-s", "2"},
                                   xfconf + QStringList{"-p", hdmi + "last-image", "-s", "/b/c.png"}} +
                created("DP-2"));
    }

    void xfceEveryMonitor()
    {
        QFETCH(bool, emptyChannel);
        QFETCH(QStringList, monitors);
        QFETCH(QList<QStringList>, expected);
        RecordingRunner runner;
        runner.reply = [&](const Command& command) {
            Result result = emptyChannel ? Result{} : typicalReply(command);
            if (emptyChannel && command.arguments.contains("-c") && command.arguments.contains("-l")) {
                result.exitCode = 1;
                result.errors = "Kanalen \"xfce4-desktop\" innehåller inga egenskaper\n";
            }
            return result;
        };
        adapterFor("xfce", monitors)->apply("/b/c.png", Placement::Tiled, runner);
        QCOMPARE(runner.ran, expected);
    }

    void plasma6_data()
    {
        QTest::addColumn<Placement>("placement");
        QTest::addColumn<QString>("plugins");
        QTest::addColumn<QStringList>("monitors");
        QTest::addColumn<QList<QStringList>>("expected");
        const QStringList shell = {"dbus", "org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell",
                                   "setWallpaper"};
        const QStringList introspect = {"dbus", "org.kde.plasmashell", "/PlasmaShell",
                                        "org.freedesktop.DBus.Introspectable", "Introspect"};
        const QStringList kpackage = {"kpackagetool6", "--type", "Plasma/Wallpaper", "--list"};
        const QString image = "Image=file:///b/a%20b.jpg";
        QTest::newRow("centred, one call per screen")
            << Placement::Centred << "" << QStringList{"DP-1", "HDMI-1"}
            << QList<QStringList>{introspect, shell + QStringList{"org.kde.image", "FillMode=6 " + image, "0"},
                                  shell + QStringList{"org.kde.image", "FillMode=6 " + image, "1"}};
        QTest::newRow("tiled from 6.6 on: its own plugin")
            << Placement::Tiled << "Listing KPackageType: Plasma/Wallpaper\norg.kde.image\norg.kde.tiled\n"
            << QStringList{"DP-1"}
            << QList<QStringList>{introspect, kpackage, shell + QStringList{"org.kde.tiled", image, "0"}};
        QTest::newRow("tiled before 6.6: the fill mode")
            << Placement::Tiled << "org.kde.image\norg.kde.tiledish\n"
            << QStringList{}
            << QList<QStringList>{introspect, kpackage,
                                  shell + QStringList{"org.kde.image", "FillMode=3 " + image, "0"}};
    }

    void plasma6()
    {
        QFETCH(Placement, placement);
        QFETCH(QString, plugins);
        QFETCH(QStringList, monitors);
        QFETCH(QList<QStringList>, expected);
        RecordingRunner runner;
        runner.reply = [&](const Command&) { return output(plugins); };
        runner.dbusReply = [](const DBusCall& call) {
            return output(call.method != "Introspect" ? QString() : R"(<node>
 <interface name="org.kde.PlasmaShell">
  <method name="evaluateScript"><arg name="script" type="s" direction="in"/></method>
  <method name="setWallpaper"><arg type="s" direction="in"/><arg type="a{sv}" direction="in"/>
   <arg type="u" direction="in"/></method>
 </interface>
</node>)");
        };
        adapterFor("kde", monitors)->apply("/b/a b.jpg", placement, runner);
        QCOMPARE(runner.ran, expected);
    }

    void hyprland_data()
    {
        QTest::addColumn<bool>("hyprpaperRuns");
        QTest::addColumn<QString>("answer"); // to the current syntax
        QTest::addColumn<QString>("path");
        QTest::addColumn<QList<QStringList>>("expected");
        QTest::addColumn<QString>("error");
        const QString path = "/b/a b.jpg";
        const QStringList hyprpaper = {"hyprctl", "hyprpaper"};
        const QStringList monitors = {"hyprctl", "-j", "monitors"};
        QTest::newRow("no hyprpaper: swaybg")
            << false << "" << path << QList<QStringList>{{"swaybg", "-i", path, "-m", "tile"}} << "";
        QTest::newRow("hyprpaper 0.8, every monitor")
            << true << "ok" << path
            << QList<QStringList>{monitors, hyprpaper + QStringList{"wallpaper", "DP-1," + path + ",tile"},
                                  hyprpaper + QStringList{"wallpaper", "HDMI-A-1," + path + ",tile"}}
            << "";
        QTest::newRow("older hyprpaper: loaded once, then shown")
            << true << "wallpaper failed (not preloaded)" << path
            << QList<QStringList>{monitors, hyprpaper + QStringList{"wallpaper", "DP-1," + path + ",tile"},
                                  hyprpaper + QStringList{"preload", path},
                                  hyprpaper + QStringList{"wallpaper", "DP-1,tile:" + path},
                                  hyprpaper + QStringList{"wallpaper", "HDMI-A-1,tile:" + path}}
            << "";
        const QString start = "Bakgrunden kunde inte bytas på skrivbordet Hyprland: ";
        QTest::newRow("hyprpaper refuses")
            << true << "invalid monitor" << path
            << QList<QStringList>{monitors, hyprpaper + QStringList{"wallpaper", "DP-1," + path + ",tile"}}
            << start + "hyprpaper svarade \"invalid monitor\".";
        QTest::newRow("a comma would split the path") << true << "ok"
                                                      << "/b/a,b.jpg" << QList<QStringList>{}
                                                      << start + "hyprpaper tar inte en bild vars sökväg har "
                                                                 "kommatecken eller radbrytningar.";
    }

    void hyprland()
    {
        QFETCH(bool, hyprpaperRuns);
        QFETCH(QString, answer);
        QFETCH(QString, path);
        QFETCH(QList<QStringList>, expected);
        QFETCH(QString, error);
        RecordingRunner runner;
        if (hyprpaperRuns)
            runner.runningPrograms << "hyprpaper";
        runner.reply = [&](const Command& command) {
            if (command.arguments.contains("monitors"))
                return output(R"([{"id": 0, "name": "DP-1"}, {"id": 1, "name": "HDMI-A-1"}])");
            if (command.arguments.value(2).count(',') == 2)
                return output(answer + "\n");
            return typicalReply(command).status == Result::Status::Running ? typicalReply(command) : output("ok");
        };
        QString message;
        try {
            adapterFor("hyprland")->apply(path, Placement::Tiled, runner);
        } catch (const AppError& e) {
            message = e.message();
        }
        QCOMPARE(message, error);
        QCOMPARE(runner.ran, expected);
    }

    void cosmic_data()
    {
        QTest::addColumn<Placement>("placement");
        QTest::addColumn<QString>("scaling");
        QTest::newRow("centred: fitted whole") << Placement::Centred << "scaling_mode: Fit((0.0, 0.0, 0.0)),";
        QTest::newRow("tiled: zoomed to cover") << Placement::Tiled << "scaling_mode: Zoom,";
        QTest::newRow("stretched") << Placement::Stretched << "scaling_mode: Stretch,";
    }

    // One entry for all outputs, and cosmic-bg told to use it on every one.
    void cosmic()
    {
        QFETCH(Placement, placement);
        QFETCH(QString, scaling);
        RecordingRunner runner;
        adapterFor("cosmic")->apply("/b/a.jpg", placement, runner);
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                               "/cosmic/com.system76.CosmicBackground/v1/";
        QCOMPARE(runner.ran.size(), 2);
        QCOMPARE(runner.ran[0].mid(0, 2), (QStringList{"write", folder + "all"}));
        QVERIFY(runner.ran[0][2].contains("output: \"all\","));
        QVERIFY2(runner.ran[0][2].contains(scaling), qPrintable(runner.ran[0][2]));
        QCOMPARE(runner.ran[1], (QStringList{"write", folder + "same-on-all", "true"}));
    }

    void hostileNames_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        const QStringList names = {"a b.jpg",        "it's.jpg",
                                   "say \"hi\".jpg", "$(touch pwned).jpg",
                                   "a;rm -rf x.jpg", "back\\slash\\.jpg",
                                   "new\nline.jpg",  "åäö ÅÄÖ.jpg",
                                   "-rf.jpg",        "--help",
                                   "%41%20.jpg",     "`id`&|<>*?.jpg",
                                   "tab\t.jpg",      "#hash?q.jpg",
                                   "100%1 %2%0.jpg"};
        for (const QString key :
             {"gnome", "cinnamon", "mate", "kde", "xfce", "lxqt", "lxde", "wlroots", "x11", "cosmic"}) {
            for (const QString& name : names)
                QTest::addRow("%s %s", qPrintable(key), qPrintable(QString(name).replace('\n', "\\n"))) << key << name;
        }
    }

    // Every adapter hands the desktop exactly this file, and nothing becomes an option or a command.
    void hostileNames()
    {
        QFETCH(QString, key);
        QFETCH(QString, name);
        const QString path = "/bilder/" + name;
        RecordingRunner plain;
        plain.reply = typicalReply;
        adapterFor(key)->apply("/bilder/plain.jpg", Placement::Stretched, plain);
        RecordingRunner hostile;
        hostile.reply = typicalReply;
        adapterFor(key)->apply(path, Placement::Stretched, hostile);

        QCOMPARE(pathReachedBy(key, hostile), path);
        QCOMPARE(hostile.ran.size(), plain.ran.size());
        for (qsizetype i = 0; i < plain.ran.size(); ++i) {
            QCOMPARE(hostile.ran[i].size(), plain.ran[i].size());
            QCOMPARE(hostile.ran[i].first(), plain.ran[i].first());
        }
    }

    void relativePathsBecomeAbsolute_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        const QString cwd = QDir::currentPath();
        QTest::newRow("absolute stays as it is") << "/b/../c/./d.jpg"
                                                 << "/b/../c/./d.jpg";
        QTest::newRow("leading dash") << "-rf.jpg" << cwd + "/-rf.jpg";
        QTest::newRow("double dash") << "--set=x" << cwd + "/--set=x";
        QTest::newRow("dots are kept") << "../x.jpg" << cwd + "/../x.jpg";
    }

    void relativePathsBecomeAbsolute()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(absolutePath(path), expected);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("failingProgram"); // a program name, "list" or "dbus"
        QTest::addColumn<Result>("failure");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("commandsRun");

        Result notStarted;
        notStarted.status = Result::Status::NotStarted;
        Result timedOut;
        timedOut.status = Result::Status::TimedOut;
        Result exited;
        exited.exitCode = 1;
        exited.errors = "No such schema \"org.gnome.desktop.background\"\n";
        Result refused;
        refused.exitCode = 1;
        refused.errors = "The key is not writable\nmore\n";
        Result memory;
        memory.errors = "GLib-GIO-Message: Using the 'memory' GSettings backend.  Your settings will not be saved";
        Result locked;
        locked.exitCode = 1;
        locked.errors = "Widgets are locked";
        Result endedAtOnce;
        endedAtOnce.exitCode = 2;
        Result crashed;
        crashed.status = Result::Status::Crashed;
        Result noDaemon;
        noDaemon.exitCode = 1;
        noDaemon.errors = "Failed to init libxfconf: Cannot autolaunch D-Bus";

        const QString gnome = "Bakgrunden kunde inte bytas på skrivbordet GNOME: ";
        QTest::newRow("gsettings missing")
            << "gnome"
            << "list" << notStarted << gnome + "programmet gsettings finns inte eller kunde inte startas." << 1;
        QTest::newRow("schema missing") << "gnome"
                                        << "list" << exited
                                        << gnome + "inställningsschemat org.gnome.desktop.background finns inte." << 1;
        QTest::newRow("value refused") << "gnome"
                                       << "gsettings" << refused
                                       << gnome + "gsettings avslutades med felkod 1 (The key is not writable)." << 2;
        QTest::newRow("settings kept in memory only")
            << "gnome"
            << "gsettings" << memory << gnome + "GSettings saknar lagring, så inställningen sparas inte." << 2;
        QTest::newRow("Plasma refuses") << "kde"
                                        << "dbus" << locked
                                        << "Bakgrunden kunde inte bytas på skrivbordet KDE Plasma: plasmashell svarade "
                                           "med felet \"Widgets are locked\"."
                                        << 1;
        QTest::newRow("Plasma does not answer")
            << "kde"
            << "dbus" << timedOut
            << "Bakgrunden kunde inte bytas på skrivbordet KDE Plasma: plasmashell svarade inte i tid." << 1;
        QTest::newRow("xfconf daemon unreachable")
            << "xfce"
            << "list" << noDaemon
            << "Bakgrunden kunde inte bytas på skrivbordet XFCE: xfconf-query avslutades med felkod 1 (Failed to "
               "init libxfconf: Cannot autolaunch D-Bus)."
            << 2;
        QTest::newRow("swaybg ends at once")
            << "wlroots"
            << "swaybg" << endedAtOnce
            << "Bakgrunden kunde inte bytas på skrivbordet Wayland (swaybg): swaybg avslutades genast (felkod 2)." << 1;
        QTest::newRow("feh hangs") << "x11"
                                   << "feh" << timedOut
                                   << "Bakgrunden kunde inte bytas på skrivbordet X11 (feh): feh svarade inte i tid."
                                   << 1;
        QTest::newRow("feh crashes") << "x11"
                                     << "feh" << crashed
                                     << "Bakgrunden kunde inte bytas på skrivbordet X11 (feh): feh avbröts oväntat."
                                     << 1;
        QTest::newRow("pcmanfm-qt missing")
            << "lxqt"
            << "pcmanfm-qt" << notStarted
            << "Bakgrunden kunde inte bytas på skrivbordet LXQt: programmet pcmanfm-qt finns inte eller kunde inte "
               "startas."
            << 1;
    }

    // A desktop that does not take the picture is an error naming it, and nothing more is tried.
    void refusals()
    {
        QFETCH(QString, key);
        QFETCH(QString, failingProgram);
        QFETCH(Result, failure);
        QFETCH(QString, message);
        QFETCH(int, commandsRun);
        RecordingRunner runner;
        runner.reply = [&](const Command& command) {
            const bool listing = command.arguments.contains("-l") || command.arguments.contains("list-keys");
            if ((failingProgram == "list" && listing) || (!listing && command.program == failingProgram))
                return failure;
            return typicalReply(command);
        };
        runner.dbusReply = [&](const DBusCall&) { return failure; };
        try {
            adapterFor(key)->apply("/b/a.jpg", Placement::Centred, runner);
            QFAIL("the refusal passed as success");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), message);
        }
        QCOMPARE(runner.ran.size(), commandsRun);
    }

    void detection_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("key");
        QTest::newRow("GNOME") << QStringList{"XDG_CURRENT_DESKTOP=GNOME", "DISPLAY=:0"} << "gnome";
        QTest::newRow("Ubuntu's GNOME") << QStringList{"XDG_CURRENT_DESKTOP=ubuntu:GNOME"} << "gnome";
        QTest::newRow("Budgie before its GNOME") << QStringList{"XDG_CURRENT_DESKTOP=Budgie:GNOME"} << "budgie";
        QTest::newRow("Unity") << QStringList{"XDG_CURRENT_DESKTOP=Unity"} << "unity";
        QTest::newRow("Cinnamon") << QStringList{"XDG_CURRENT_DESKTOP=X-Cinnamon"} << "cinnamon";
        QTest::newRow("MATE") << QStringList{"XDG_CURRENT_DESKTOP=MATE"} << "mate";
        QTest::newRow("KDE over the session")
            << QStringList{"XDG_CURRENT_DESKTOP=KDE", "DESKTOP_SESSION=gnome"} << "kde";
        QTest::newRow("XFCE") << QStringList{"XDG_CURRENT_DESKTOP=XFCE"} << "xfce";
        QTest::newRow("LXQt") << QStringList{"XDG_CURRENT_DESKTOP=LXQt"} << "lxqt";
        QTest::newRow("LXDE") << QStringList{"XDG_CURRENT_DESKTOP=LXDE"} << "lxde";
        QTest::newRow("sway") << QStringList{"XDG_CURRENT_DESKTOP=sway", "WAYLAND_DISPLAY=wayland-1"} << "wlroots";
        QTest::newRow("Hyprland") << QStringList{"XDG_CURRENT_DESKTOP=Hyprland"} << "hyprland";
        QTest::newRow("COSMIC") << QStringList{"XDG_CURRENT_DESKTOP=COSMIC", "WAYLAND_DISPLAY=wayland-1"} << "cosmic";
        QTest::newRow("niri") << QStringList{"XDG_CURRENT_DESKTOP=niri", "WAYLAND_DISPLAY=wayland-1"} << "wlroots";
        QTest::newRow("unknown first entry, known second") << QStringList{"XDG_CURRENT_DESKTOP=Foo:XFCE"} << "xfce";
        QTest::newRow("session plasma") << QStringList{"DESKTOP_SESSION=plasma"} << "kde";
        QTest::newRow("session xubuntu") << QStringList{"DESKTOP_SESSION=xubuntu"} << "xfce";
        QTest::newRow("session lubuntu") << QStringList{"DESKTOP_SESSION=lubuntu"} << "lxqt";
        QTest::newRow("session when the desktop name is unknown")
            << QStringList{"XDG_CURRENT_DESKTOP=Enlightenment", "DESKTOP_SESSION=mate", "DISPLAY=:0"} << "mate";
        QTest::newRow("KDE session version only") << QStringList{"KDE_SESSION_VERSION=6", "DISPLAY=:0"} << "kde";
        QTest::newRow("sway socket only") << QStringList{"SWAYSOCK=/run/user/1/sway.sock"} << "wlroots";
        QTest::newRow("Wayland display only") << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"} << "wlroots";
        QTest::newRow("a plain X11 window manager") << QStringList{"XDG_CURRENT_DESKTOP=i3", "DISPLAY=:0"} << "x11";
        QTest::newRow("nothing at all") << QStringList{"HOME=/home/u"} << "";
    }

    void detection()
    {
        QFETCH(QStringList, environment);
        QFETCH(QString, key);
        QProcessEnvironment env;
        for (const QString& entry : environment)
            env.insert(entry.section('=', 0, 0), entry.section('=', 1));
        QCOMPARE(detect(env), key);
        if (!key.isEmpty())
            QVERIFY(adapterFor(key));
    }

    void placementOfValueStrings_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("tile");
        QTest::addColumn<Placement>("placement");
        QTest::newRow("Centrerad 0 0") << "0"
                                       << "0" << Placement::Centred;
        QTest::newRow("Sida vid Sida 0 1") << "0"
                                           << "1" << Placement::Tiled;
        QTest::newRow("Anpassad 2 0") << "2"
                                      << "0" << Placement::Stretched;
        QTest::newRow("tiling wins over stretching") << "2"
                                                     << "1" << Placement::Tiled;
        QTest::newRow("unknown strings centre") << ""
                                                << "" << Placement::Centred;
    }

    void placementOfValueStrings()
    {
        QFETCH(QString, style);
        QFETCH(QString, tile);
        QFETCH(Placement, placement);
        QCOMPARE(Desktop::placementFor(style, tile), placement);
    }

    void activeDesktopText_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("length");
        QTest::newRow("short path whole") << "C:\\Bilder\\a.jpg" << 15;
        QTest::newRow("259 whole") << QString(259, 'x') << 259;
        QTest::newRow("300 cut to 259") << QString(300, 'x') << 259;
        QTest::newRow("surrogate pair not split") << QString(258, 'x') + QString::fromUcs4(U"\U0001F600") + "yy" << 258;
    }

    void activeDesktopText()
    {
        QFETCH(QString, path);
        QFETCH(int, length);
        const QString text = Desktop::activeDesktopText(path);
        QCOMPARE(text.size(), length);
        QVERIFY(path.startsWith(text));
    }
};

QTEST_APPLESS_MAIN(TestDesktopAdapters)
#include "tst_DesktopAdapters.moc"
