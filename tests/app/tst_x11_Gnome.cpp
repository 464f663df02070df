// The program in a real GNOME session (a headless gnome-shell with Xwayland), started by this test
// on buses and a runtime folder of its own: once with the AppIndicator extension, which gives it a
// notification area, and once without, as stock GNOME has it.

#include "RealSession.h"

#include <QDBusReply>
#include <QProcess>
#include <sys/wait.h>
#include <unistd.h>

using RealSession::Check;

namespace {

bool s_withArea = false;

const char* const appIndicator = "ubuntu-appindicators@ubuntu.com";

// The shell hands screenshots to the caller that owns the name of GNOME's screenshot tool.
QImage screenshot()
{
    static const bool named = QDBusConnection::sessionBus().registerService(QStringLiteral("org.gnome.Screenshot"));
    if (!named)
        return {};
    const QString file = qEnvironmentVariable("HOME") + QStringLiteral("/shot.png");
    QFile::remove(file);
    QDBusInterface shell(QStringLiteral("org.gnome.Shell.Screenshot"), QStringLiteral("/org/gnome/Shell/Screenshot"),
                         QStringLiteral("org.gnome.Shell.Screenshot"));
    shell.setTimeout(10000);
    const QDBusMessage reply = shell.call(QStringLiteral("Screenshot"), false, false, file);
    const QImage shot(file);
    if (const QByteArray keep = qgetenv("TAVLIX_KEEP_SCREENSHOTS"); !keep.isEmpty() && !shot.isNull())
        shot.save(QString::fromLocal8Bit(keep) + QStringLiteral("/gnome-%1.png").arg(QTest::currentDataTag()));
    return shot;
}

} // namespace

class TestGnome : public QObject
{
    Q_OBJECT

    RealSession::Session m_session{screenshot, s_withArea};

private slots:
    void initTestCase()
    {
        // The shell opens in the overview; the desktop itself is what the checks look at.
        QDBusInterface shell(QStringLiteral("org.gnome.Shell"), QStringLiteral("/org/gnome/Shell"),
                             QStringLiteral("org.gnome.Shell"));
        shell.setProperty("OverviewActive", false);
        QVERIFY(m_session.startProgram(qEnvironmentVariable("HOME")));
    }

    void desktop_data() { RealSession::addRows(s_withArea); }

    void desktop()
    {
        QFETCH(Check, check);
        m_session.check(check);
    }
};

namespace {

// Runs this test again for each kind of session; each run starts and ends its own shell.
int runBothSessions(char** argv)
{
    int failed = 0;
    for (const char* area : {"1", "0"}) {
        const pid_t child = fork();
        if (child == 0) {
            setenv("TAVLIX_GNOME_AREA", area, 1);
            execv("/proc/self/exe", argv);
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        failed += WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    }
    return failed;
}

// Starts the shell; on success DISPLAY and XAUTHORITY lead to its Xwayland.
bool startShell(PrivateSession& session)
{
    // The extension is switched on in the settings the shell reads when it starts.
    const QString extensions = s_withArea ? QStringLiteral("['%1']").arg(QLatin1String(appIndicator)) : "[]";
    PrivateSession::output({"gsettings", "set", "org.gnome.shell", "enabled-extensions", extensions});
    const auto watcherUp = [] {
        return PrivateSession::output({"dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                                       "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                                       "string:org.kde.StatusNotifierWatcher"})
            .contains("true");
    };
    qputenv("LIBGL_ALWAYS_SOFTWARE", "1");
    qputenv("XDG_SESSION_TYPE", "wayland");
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    const pid_t shell = session.spawn(
        {"gnome-shell", "--headless", "--wayland", "--virtual-monitor", "1920x1080", "--wayland-display", "wayland-0"});
    const QString run = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QString display;
    QStringList auth;
    const bool up =
        shell && PrivateSession::waitFor(
                     [&] {
                         display = PrivateSession::xwaylandDisplay(shell);
                         auth = QDir(run).entryList({".mutter-Xwaylandauth.*"}, QDir::Hidden | QDir::Files);
                         return !display.isEmpty() && !auth.isEmpty() &&
                                PrivateSession::output({"gdbus", "introspect", "--session", "--dest", "org.gnome.Shell",
                                                        "--object-path", "/org/gnome/Shell/Screenshot"})
                                    .contains("Screenshot") &&
                                (!s_withArea || watcherUp());
                     },
                     30000);
    if (!up)
        return false;
    qputenv("DISPLAY", display.toLocal8Bit());
    qputenv("XAUTHORITY", QFile::encodeName(run + QLatin1Char('/') + auth.first()));
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("TAVLIX_GNOME_AREA"))
        return runBothSessions(argv);
    s_withArea = qgetenv("TAVLIX_GNOME_AREA") == "1";
    return RealSession::run<TestGnome>(argc, argv, "gnome", startShell);
}

#include "tst_x11_Gnome.moc"
