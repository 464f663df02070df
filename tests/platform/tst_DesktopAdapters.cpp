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
using Answers = QMap<QString, QString>;

namespace {

// Records what an adapter would run; answers from a script instead of running anything.
class RecordingRunner : public Runner
{
public:
    std::function<Result(const Command&)> reply = [](const Command&) { return Result{}; };
    std::function<Result(const DBusCall&)> dbusReply = [](const DBusCall&) { return Result{}; };
    QStringList runningPrograms;
    // Program and arguments; "dbus", the address and the short arguments; "write", file and content.
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
            QStringList map; // a{sv} as key=value, sorted
            for (const auto& [key, value] : argument.toMap().asKeyValueRange())
                map << key + "=" + value.toString();
            if (argument.toString().size() < 100)
                record << (map.isEmpty() ? argument.toString() : map.join(' '));
        }
        ran << record;
        scripts << call.arguments.value(0).toString();
        return dbusReply(call);
    }
    bool isRunning(const QString& program) override { return runningPrograms.contains(program); }
    bool writeFile(const QString& path, const QByteArray& content, QString*) override
    {
        ran << QStringList{"write", path, QString::fromUtf8(content).simplified()};
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

QStringList lines(const RecordingRunner& runner)
{
    QStringList lines;
    for (const QStringList& command : runner.ran)
        lines << command.join('|');
    return lines;
}

} // namespace

class TestDesktopAdapters : public QObject
{
    Q_OBJECT

private slots:
    // The adapters whose programs no other test runs; the others meet the real programs.
    void commandLists_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<Placement>("placement");
        QTest::addColumn<QStringList>("expected"); // one command a line, arguments split by '|'
        const QString uri = "'file:///b/a%20b.jpg'";
        const QString gnome = "gsettings|set|org.gnome.desktop.background|";
        // The placement before the picture, so that the new picture is never drawn the old way.
        QTest::newRow("Unity: GNOME's keys, the dark one too")
            << "unity" << Placement::Stretched
            << QStringList{"gsettings|list-keys|org.gnome.desktop.background", gnome + "picture-options|'stretched'",
                           gnome + "picture-uri|" + uri, gnome + "picture-uri-dark|" + uri};
        const QString m0 = "xfconf-query|-c|xfce4-desktop|-p|/backdrop/screen0/monitor0/workspace0/";
        const QString hdmi = "xfconf-query|-c|xfce4-desktop|-p|/backdrop/screen0/monitorHDMI-1/workspace0/";
        QTest::newRow("XFCE: every monitor, a missing style created")
            << "xfce" << Placement::Centred
            << QStringList{"xfconf-query|-c|xfce4-desktop|-l", m0 + "image-style|-s|1", m0 + "last-image|-s|/b/a b.jpg",
                           hdmi + "image-style|-n|-t|int|-s|1", hdmi + "last-image|-s|/b/a b.jpg"};
        QTest::newRow("Plasma 5, no setWallpaper: a script")
            << "kde" << Placement::Centred
            << QStringList{"dbus|org.kde.plasmashell|/PlasmaShell|org.freedesktop.DBus.Introspectable|Introspect",
                           "dbus|org.kde.plasmashell|/PlasmaShell|org.kde.PlasmaShell|evaluateScript"};
        QTest::newRow("sway tiled") << "sway" << Placement::Tiled << QStringList{"swaybg|-i|/b/a b.jpg|-m|tile"};
        QTest::newRow("wlroots stretched")
            << "wlroots" << Placement::Stretched << QStringList{"swaybg|-i|/b/a b.jpg|-m|stretch"};
        QTest::newRow("niri") << "niri" << Placement::Centred << QStringList{"swaybg|-i|/b/a b.jpg|-m|center"};
        QTest::newRow("Hyprland without hyprpaper")
            << "hyprland" << Placement::Tiled << QStringList{"swaybg|-i|/b/a b.jpg|-m|tile"};
    }

    void commandLists()
    {
        QFETCH(QString, key);
        QFETCH(Placement, placement);
        QFETCH(QStringList, expected);
        RecordingRunner runner;
        runner.reply = typicalReply;
        const auto adapter = adapterFor(key);
        QVERIFY(adapter);
        adapter->apply("/b/a b.jpg", placement, runner);
        QCOMPARE(lines(runner), expected);
    }

    // Stretched, not cropped: on the screen a square picture looks the same either way.
    void plasmaStretches()
    {
        QVERIFY(DesktopAdapters::plasmaScript("/b/a b.jpg", Placement::Stretched).contains("var fillMode = 0;\n"));
    }

    void routes_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("monitors");
        QTest::addColumn<QString>("path");
        QTest::addColumn<Placement>("placement");
        // What programs answer, by the start of their command line ("dbus Method" for calls,
        // "running" for a program of the session); "!" marks a failure with its message.
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("error");
        const QString p = "/b/a b.jpg";
        const QString shell = "dbus|org.kde.plasmashell|/PlasmaShell|org.kde.PlasmaShell|setWallpaper|";
        const QString introspect =
            "dbus|org.kde.plasmashell|/PlasmaShell|org.freedesktop.DBus.Introspectable|Introspect";
        const QString plasma6 = R"(<node><interface name="org.kde.PlasmaShell"><method name="evaluateScript"/>
            <method name="setWallpaper"><arg type="s"/><arg type="a{sv}"/><arg type="u"/></method></interface></node>)";
        const QString image = "Image=file:///b/a%20b.jpg";
        QTest::newRow("Plasma 6: one call per screen")
            << "kde" << QStringList{"DP-1", "HDMI-1"} << p << Placement::Centred
            << Answers{{"dbus Introspect", plasma6}}
            << QStringList{introspect, shell + "org.kde.image|FillMode=6 " + image + "|0",
                           shell + "org.kde.image|FillMode=6 " + image + "|1"}
            << "";
        QTest::newRow("Plasma 6.6 tiles through its own plugin")
            << "kde" << QStringList{} << p << Placement::Tiled
            << Answers{{"dbus Introspect", plasma6}, {"kpackagetool6", "org.kde.image\norg.kde.tiled\n"}}
            << QStringList{introspect, "kpackagetool6|--type|Plasma/Wallpaper|--list",
                           shell + "org.kde.tiled|" + image + "|0"}
            << "";

        // A noncharacter beyond the first plane: QUrl's own encoder would name another file.
        const QString odd = QString::fromUcs4(U"/b/a\U0007FFFF%.jpg");
        QTest::newRow("Plasma 6 reads URIs with QUrl: a noncharacter stays as it is")
            << "kde" << QStringList{} << odd << Placement::Centred << Answers{{"dbus Introspect", plasma6}}
            << QStringList{introspect, shell + "org.kde.image|FillMode=6 Image=file:///b/a" +
                                           QString::fromUcs4(U"\U0007FFFF") + "%25.jpg|0"}
            << "";
        const QString gsettings = "gsettings|set|org.gnome.desktop.background|";
        QTest::newRow("GNOME reads URIs with GLib: its UTF-8 bytes")
            << "unity" << QStringList{} << odd << Placement::Centred
            << Answers{{"gsettings list-keys", "picture-uri\npicture-options\n"}}
            << QStringList{"gsettings|list-keys|org.gnome.desktop.background", gsettings + "picture-options|'centered'",
                           gsettings + "picture-uri|'file:///b/a%F1%BF%BF%BF%25.jpg'"}
            << "";

        const QString hyprpaper = "hyprctl|hyprpaper|wallpaper|";
        const Answers hyprland{{"running", "hyprpaper"},
                               {"hyprctl -j monitors", R"([{"name": "DP-1"}, {"name": "HDMI-A-1"}])"}};
        auto current = hyprland;
        current.insert("hyprctl hyprpaper", "ok\n");
        QTest::newRow("hyprpaper 0.8 on every monitor")
            << "hyprland" << QStringList{} << p << Placement::Stretched << current
            << QStringList{"hyprctl|-j|monitors", hyprpaper + "DP-1," + p + ",fill",
                           hyprpaper + "HDMI-A-1," + p + ",fill"}
            << "";
        auto older = hyprland;
        older.insert({{"hyprctl hyprpaper", "ok"}, {"hyprctl hyprpaper wallpaper DP-1,/b/a b.jpg,", "not preloaded"}});
        QTest::newRow("an older hyprpaper: loaded once, then shown")
            << "hyprland" << QStringList{} << p << Placement::Tiled << older
            << QStringList{"hyprctl|-j|monitors", hyprpaper + "DP-1," + p + ",tile", "hyprctl|hyprpaper|preload|" + p,
                           hyprpaper + "DP-1,tile:" + p, hyprpaper + "HDMI-A-1,tile:" + p}
            << "";
        QTest::newRow("a comma would split hyprpaper's line")
            << "hyprland" << QStringList{} << "/b/a,b.jpg" << Placement::Centred << hyprland << QStringList{}
            << "Bakgrunden kunde inte bytas på skrivbordet Hyprland: hyprpaper tar inte en bild vars sökväg har "
               "kommatecken eller radbrytningar.";

        const QString cosmic = "write|" + QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                               "/cosmic/com.system76.CosmicBackground/v1/";
        QTest::newRow("COSMIC: one entry for every output")
            << "cosmic" << QStringList{} << "/b/say \"hi\"\\.jpg" << Placement::Centred << Answers{}
            << QStringList{cosmic + "all|( output: \"all\", source: Path(\"/b/say \\\"hi\\\"\\\\.jpg\"), "
                                    "filter_by_theme: false, rotation_frequency: 300, filter_method: Lanczos, "
                                    "scaling_mode: Fit((0.0, 0.0, 0.0)), sampling_method: Alphanumeric, )",
                           cosmic + "same-on-all|true"}
            << "";

        const QString xfconf = "xfconf-query|-c|xfce4-desktop|-p|/backdrop/screen0/monitor";
        QTest::newRow("XFCE, a monitor plugged in later gets one too")
            << "xfce" << QStringList{"HDMI-1", "DP-2"} << p << Placement::Tiled
            << Answers{{"xfconf-query -c xfce4-desktop -l", "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"}}
            << QStringList{"xfconf-query|-c|xfce4-desktop|-l", xfconf + "HDMI-1/workspace0/image-style|-n|-t|int|-s|2",
                           xfconf + "HDMI-1/workspace0/last-image|-s|" + p,
                           xfconf + "DP-2/workspace0/image-style|-n|-t|int|-s|2",
                           xfconf + "DP-2/workspace0/last-image|-n|-t|string|-s|" + p}
            << "";
    }

    // The routes that cannot run here, through the command seam.
    void routes()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, monitors);
        QFETCH(QString, path);
        QFETCH(Placement, placement);
        QFETCH(Answers, answers);
        QFETCH(QStringList, expected);
        QFETCH(QString, error);
        const auto answer = [&](const QString& line) {
            QString best;
            for (const QString& start : answers.keys())
                best = line.startsWith(start) && start.size() > best.size() ? start : best;
            Result result = output(answers.value(best));
            if (result.output.startsWith('!')) {
                result.exitCode = 1;
                result.errors = result.output.mid(1);
            }
            return result;
        };
        RecordingRunner runner;
        runner.runningPrograms = QStringList{answers.value("running")};
        runner.reply = [&](const Command& command) {
            return answer((QStringList{command.program} + command.arguments).join(' '));
        };
        runner.dbusReply = [&](const DBusCall& call) { return answer("dbus " + call.method); };
        QCOMPARE(errorOf([&] { adapterFor(key, monitors)->apply(path, placement, runner); }), error);
        QCOMPARE(lines(runner), expected);
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
        for (const QString key : {"gnome", "cinnamon", "mate", "kde", "xfce", "lxqt", "lxde", "wlroots", "x11"}) {
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
        QTest::addColumn<QString>("where"); // the desktop, then what fails: a program, "list" or "dbus"
        QTest::addColumn<Result>("failure");
        QTest::addColumn<QString>("message"); // after "Bakgrunden kunde inte bytas på skrivbordet "
        QTest::addColumn<int>("commandsRun");
        const auto failed = [](Result::Status status, int exitCode = 0, const QString& errors = {}) {
            Result result;
            result.status = status;
            result.exitCode = exitCode;
            result.errors = errors;
            return result;
        };
        const Result notStarted = failed(Result::Status::NotStarted);
        const Result timedOut = failed(Result::Status::TimedOut);
        const auto exited = [&](int code, const QString& errors) {
            return failed(Result::Status::Finished, code, errors);
        };
        QTest::newRow("gsettings missing")
            << "gnome list" << notStarted << "GNOME: programmet gsettings finns inte eller kunde inte startas." << 1;
        QTest::newRow("schema missing") << "gnome list"
                                        << exited(1, "No such schema \"org.gnome.desktop.background\"\n")
                                        << "GNOME: inställningsschemat org.gnome.desktop.background finns inte." << 1;
        QTest::newRow("value refused") << "gnome gsettings" << exited(1, "The key is not writable\nmore\n")
                                       << "GNOME: gsettings avslutades med felkod 1 (The key is not writable)." << 2;
        QTest::newRow("settings kept in memory only")
            << "gnome gsettings"
            << exited(0, "GLib-GIO-Message: Using the 'memory' GSettings backend.  Your settings will not be saved")
            << "GNOME: GSettings saknar lagring, så inställningen sparas inte." << 2;
        QTest::newRow("Plasma refuses") << "kde dbus" << exited(1, "Widgets are locked")
                                        << "KDE Plasma: plasmashell svarade med felet \"Widgets are locked\"." << 1;
        QTest::newRow("Plasma does not answer")
            << "kde dbus" << timedOut << "KDE Plasma: plasmashell svarade inte i tid." << 1;
        QTest::newRow("xfconf daemon unreachable")
            << "xfce list" << exited(1, "Failed to init libxfconf: Cannot autolaunch D-Bus")
            << "XFCE: xfconf-query avslutades med felkod 1 (Failed to init libxfconf: Cannot autolaunch D-Bus)." << 2;
        QTest::newRow("swaybg ends at once")
            << "wlroots swaybg" << exited(2, {}) << "Wayland (swaybg): swaybg avslutades genast (felkod 2)." << 1;
        QTest::newRow("feh hangs") << "x11 feh" << timedOut << "X11 (feh): feh svarade inte i tid." << 1;
        QTest::newRow("feh crashes") << "x11 feh" << failed(Result::Status::Crashed)
                                     << "X11 (feh): feh avbröts oväntat." << 1;
        QTest::newRow("pcmanfm-qt missing") << "lxqt pcmanfm-qt" << notStarted
                                            << "LXQt: programmet pcmanfm-qt finns inte eller kunde inte startas." << 1;
    }

    // A desktop that does not take the picture is an error naming it, and nothing more is tried.
    void refusals()
    {
        QFETCH(QString, where);
        QFETCH(Result, failure);
        const QString key = where.section(' ', 0, 0);
        const QString failingProgram = where.section(' ', 1);
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
        QCOMPARE(errorOf([&] { adapterFor(key)->apply("/b/a.jpg", Placement::Centred, runner); }),
                 "Bakgrunden kunde inte bytas på skrivbordet " + message);
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
