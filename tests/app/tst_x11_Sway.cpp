// The program in a headless sway with Xwayland and swaybar, started by this test: it runs
// through XWayland, finds swaybar's tray, its popup rests at its place, and a change made
// through the sway route shows the picture on both outputs although sway's configuration
// started a swaybg.
// sway refuses to run as root: started as root, the test runs itself again as nobody.

#include "PrivateSession.h"
#include "ScriptedDialogs.h"
#include "TestPictures.h"
#include "app/MainWindow.h"
#include "app/ProgramEntry.h"
#include "notify/TrayIcon.h"
#include "picturelist/ListFile.h"
#include "platform/SessionSetup.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <filesystem>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString s_home;

const QColor Picture(200, 40, 160);
const QColor SwayBackground(0x20, 0x30, 0x40);
const QColor PopupWindow(0xA6, 0xCA, 0xF0); // the designed background colour

bool near(const QColor& a, const QColor& b)
{
    return TestPictures::near(a.rgb(), b.rgb(), 11);
}

QString home(const QString& name)
{
    return s_home + QLatin1Char('/') + name;
}

QImage screenshot(const QString& name)
{
    const QString file = home(name);
    PrivateSession::output({"grim", file});
    const QImage shot(file);
    // Kept for a look by whoever runs the test, when asked to.
    if (const QByteArray keep = qgetenv("TAVLIX_KEEP_SCREENSHOTS"); !keep.isEmpty())
        shot.save(QString::fromLocal8Bit(keep) + QLatin1Char('/') + name);
    return shot;
}

} // namespace

class TestSway : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // wlroots and swaybg share their pictures through POSIX shared memory.
        if (access("/dev/shm", W_OK) != 0)
            QSKIP("/dev/shm is not writable for this user: swaybg cannot draw (a chroot without its own /dev/shm)");
        // swaybar hosts the tray; Qt decides once whether there is one.
        QVERIFY(PrivateSession::waitFor([] {
            return QDBusConnection::sessionBus().interface()->isServiceRegistered(
                QStringLiteral("org.kde.StatusNotifierWatcher"));
        }));
    }

    void startsThroughXWayland()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY(TrayIcon::areaAvailable());
        // swaybar is a StatusNotifierItem host: one click is one activation.
        QCOMPARE(TrayIcon::detectedAreaKind(), TrayIcon::AreaKind::SingleActivation);
    }

    void changeThroughSwayShowsThePictureAndThePopupRests()
    {
        ScopedScriptedDialogs dialogs;
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Picture);
        // A name that a shell or sway's command parser would take for commands.
        const QString picture = home(QStringLiteral("a;b $(touch pwned) 'x' \"y\", output * bg x.bmp"));
        QVERIFY(image.save(picture));
        const QString list = home(QStringLiteral("bilder.lst"));
        ListFile::write(list, {QFile::encodeName(picture)});
        {
            SettingsStore store;
            store.writeString(Setting::Senaste, list);
            store.writeInteger(Setting::Vald, 0);
            store.writeString(Setting::Startknapp, QStringLiteral("&Stoppa"));
        }
        ProgramEntry entry;
        QVERIFY(entry.start()); // the resumed rotation applies the picture; the popup slides in
        QTRY_VERIFY(entry.started());
        QVERIFY2(dialogs->errors().isEmpty(), qPrintable(dialogs->errors().join(QLatin1Char('\n'))));
        // sway tiles the main window over the whole first output; the background is looked at here.
        entry.mainWindow()->hide();

        // The icon is in swaybar's tray.
        QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
                               QStringLiteral("/StatusNotifierWatcher"),
                               QStringLiteral("org.kde.StatusNotifierWatcher"));
        QTRY_VERIFY(!watcher.property("RegisteredStatusNotifierItems").toStringList().isEmpty());

        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const int left = screen.width() - 155;
        const int top = screen.height() - 207;
        QImage shot;
        QTRY_VERIFY(near((shot = screenshot(QStringLiteral("sway.png"))).pixelColor(20, screen.height() / 2), Picture));
        QVERIFY(!near(shot.pixelColor(20, screen.height() / 2), SwayBackground));
        // Every output shows it, the second one too.
        QCOMPARE(QGuiApplication::screens().size(), 2);
        for (const QScreen* output : QGuiApplication::screens()) {
            const QPoint inside = output->geometry().topLeft() + QPoint(output->geometry().width() / 3, 100);
            QVERIFY2(near(shot.pixelColor(inside), Picture), qPrintable(output->name()));
        }
        QVERIFY(!QFile::exists(home(QStringLiteral("pwned"))));
        QVERIFY(!QFile::exists(QDir::current().filePath(QStringLiteral("pwned"))));
        // The popup's strip in the window's colour begins exactly at its resting line, once its
        // slide has ended (a loaded machine may still show it on the way).
        QTRY_VERIFY(near((shot = screenshot(QStringLiteral("sway.png"))).pixelColor(left + 77, top + 2), PopupWindow) &&
                    near(shot.pixelColor(left + 77, top - 2), Picture));
        QVERIFY(near(shot.pixelColor(left - 2, top + 100), Picture));
        QVERIFY(near(shot.pixelColor(left + 2, screen.height() - 2), PopupWindow) ||
                !near(shot.pixelColor(left + 2, screen.height() - 2), Picture));
    }
};

namespace {

QString firstMatch(const QString& dir, const QString& pattern)
{
    const QStringList found = QDir(dir).entryList({pattern}, QDir::System | QDir::Files);
    return found.isEmpty() ? QString() : dir + QLatin1Char('/') + found.first();
}

// Runs this test again as nobody in a home of its own, and removes that home afterwards.
int runAsNobody(char** argv)
{
    char dir[] = "/tmp/tavlix-sway-XXXXXX";
    if (!mkdtemp(dir) || chown(dir, 65534, 65534) != 0 || chmod(dir, 0700) != 0)
        qFatal("cannot make a home for nobody");
    setenv("TAVLIX_SWAY_HOME", dir, 1);
    // Read before any new mount namespace: in one, a chroot's program is named by its outer path.
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        qFatal("cannot find this test's program");
    // A chroot's /dev may lack the shared-memory folder that sway and swaybg need: give the test
    // one of its own, in a mount namespace of its own. Private first, so that the new mount cannot
    // spread back to the machine's /dev.
    if (access("/dev/shm", W_OK | X_OK) == 0 &&
        !(QFileInfo(QStringLiteral("/dev/shm")).permissions() & QFile::WriteOther)) {
        const auto makePrivate = [](const char* at) {
            return mount(nullptr, at, nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        };
        if (unshare(CLONE_NEWNS) != 0 || !(makePrivate("/dev") || makePrivate("/")) ||
            mount("tmpfs", "/dev/shm", "tmpfs", MS_NOSUID | MS_NODEV, "mode=1777") != 0)
            qWarning("no shared-memory folder of the test's own");
    }
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> args{const_cast<char*>("setpriv"), const_cast<char*>("--reuid=65534"),
                                const_cast<char*>("--regid=65534"), const_cast<char*>("--clear-groups"), self};
        for (char** a = argv + 1; *a; ++a)
            args.push_back(*a);
        args.push_back(nullptr);
        execvp("setpriv", args.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (getuid() == 0)
        return runAsNobody(argv);

    s_home = QString::fromLocal8Bit(qgetenv("TAVLIX_SWAY_HOME"));
    if (s_home.isEmpty()) {
        char dir[] = "/tmp/tavlix-sway-XXXXXX";
        s_home = QString::fromLocal8Bit(mkdtemp(dir));
    }
    PrivateSession::usePrivateHome(s_home);
    PrivateSession session;
    if (!session.startBuses())
        qFatal("the private buses did not come up");
    const QString run = qEnvironmentVariable("XDG_RUNTIME_DIR");

    // As sway's own configuration does: a background drawn by a swaybg that sway starts.
    const QString display = run + QStringLiteral("/display");
    QFile config(home(QStringLiteral("sway.conf")));
    if (!config.open(QIODevice::WriteOnly))
        qFatal("cannot write sway's configuration");
    config.write(QStringLiteral("output * bg #203040 solid_color\n"
                                "xwayland enable\n"
                                "exec printenv DISPLAY > %1\n"
                                "bar {\n    position top\n    tray_output *\n}\n")
                     .arg(display)
                     .toLocal8Bit());
    config.close();
    qputenv("WLR_BACKENDS", "headless");
    qputenv("WLR_RENDERER", "pixman");
    qputenv("WLR_LIBINPUT_NO_DEVICES", "1");
    if (!session.spawn({"sway", "-c", config.fileName()}))
        qFatal("sway did not start");
    const bool up = PrivateSession::waitFor([&] {
        return !firstMatch(run, QStringLiteral("sway-ipc.*.sock")).isEmpty() &&
               !firstMatch(run, QStringLiteral("wayland-?")).isEmpty() && QFileInfo(display).size() > 0;
    });
    if (!up)
        qFatal("sway did not come up");
    qputenv("SWAYSOCK", firstMatch(run, QStringLiteral("sway-ipc.*.sock")).toLocal8Bit());
    // A second monitor beside the first.
    PrivateSession::output({"swaymsg", "create_output"});
    if (!PrivateSession::waitFor([] {
            return PrivateSession::output({"swaymsg", "-t", "get_outputs"}).count("\"name\"") >= 2;
        }))
        qFatal("sway did not make a second output");
    qputenv("WAYLAND_DISPLAY", QFileInfo(firstMatch(run, QStringLiteral("wayland-?"))).fileName().toLocal8Bit());
    QFile displayFile(display);
    displayFile.open(QIODevice::ReadOnly);
    qputenv("DISPLAY", displayFile.readAll().trimmed());
    qputenv("XDG_CURRENT_DESKTOP", "sway");
    qputenv("XDG_SESSION_TYPE", "wayland");

    SessionSetup::chooseWindowSystem();
    QApplication app(argc, argv);
    TestSway test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_x11_Sway.moc"
