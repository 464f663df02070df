// The program in a real Plasma 5 session (kwin_wayland with Xwayland, plasmashell and kded5's
// notification area), started by this test on buses and a runtime folder of its own.

#include "RealSession.h"

#include <QDBusUnixFileDescriptor>
#include <fcntl.h>
#include <unistd.h>

using RealSession::Check;

namespace {

// KWin hands the workspace's pixels to programs that a desktop entry allows, through a pipe.
QImage screenshot()
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return {};
    QDBusInterface kwin(QStringLiteral("org.kde.KWin"), QStringLiteral("/org/kde/KWin/ScreenShot2"),
                        QStringLiteral("org.kde.KWin.ScreenShot2"));
    QDBusPendingCall call = [&] {
        const QDBusUnixFileDescriptor writeEnd(fds[1]);
        ::close(fds[1]);
        return kwin.asyncCall(QStringLiteral("CaptureWorkspace"), QVariantMap{}, QVariant::fromValue(writeEnd));
    }();
    // The events go on meanwhile: KWin may wait for the program's windows before it draws a frame.
    // The reply tells the size; the pipe does not end while the call holds its copy of the write end.
    QByteArray pixels;
    QVariantMap info;
    const auto expected = [&] {
        return qsizetype(info.value(QStringLiteral("stride")).toInt()) * info.value(QStringLiteral("height")).toInt();
    };
    const bool done = QTest::qWaitFor(
        [&] {
            char buffer[65536];
            ssize_t got = 0;
            while ((got = ::read(fds[0], buffer, sizeof buffer)) > 0)
                pixels.append(buffer, got);
            if (call.isFinished() && !call.isError() && info.isEmpty())
                info = qdbus_cast<QVariantMap>(call.reply().arguments().value(0));
            return (call.isFinished() && call.isError()) || (!info.isEmpty() && pixels.size() >= expected());
        },
        5000);
    ::close(fds[0]);
    const int width = info.value(QStringLiteral("width")).toInt();
    const int height = info.value(QStringLiteral("height")).toInt();
    const int stride = info.value(QStringLiteral("stride")).toInt();
    const auto format = QImage::Format(info.value(QStringLiteral("format")).toInt());
    if (!done || call.isError() || width <= 0 || height <= 0 || pixels.size() < expected()) {
        qWarning("no screenshot: %s", qPrintable(call.error().message()));
        return {};
    }
    const QImage shot =
        QImage(reinterpret_cast<const uchar*>(pixels.constData()), width, height, stride, format).copy();
    if (const QByteArray keep = qgetenv("TAVLIX_KEEP_SCREENSHOTS"); !keep.isEmpty())
        shot.save(QString::fromLocal8Bit(keep) + QStringLiteral("/plasma-%1.png").arg(QTest::currentDataTag()));
    return shot;
}

bool nameOwned(const QString& name)
{
    return PrivateSession::output({"dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                                   "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:" + name})
        .contains("true");
}

} // namespace

class TestPlasma : public QObject
{
    Q_OBJECT

    RealSession::Session m_session{screenshot, true};

private slots:
    void initTestCase() { QVERIFY(m_session.startProgram(qEnvironmentVariable("HOME"))); }

    void desktop_data() { RealSession::addRows(true); }

    void desktop()
    {
        QFETCH(Check, check);
        m_session.check(check);
    }
};

namespace {

// Starts KWin, the activity manager, kded5 and plasmashell; on success DISPLAY leads to KWin's
// Xwayland.
bool startPlasma(PrivateSession& session)
{
    const QString run = qEnvironmentVariable("XDG_RUNTIME_DIR");
    // KWin lets a program take screenshots when a desktop entry names it with the interface.
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        return false;
    const QString applications = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications");
    QDir().mkpath(applications);
    QFile entry(applications + QStringLiteral("/tavlix-plasma-test.desktop"));
    if (!entry.open(QIODevice::WriteOnly))
        return false;
    entry.write("[Desktop Entry]\nType=Application\nName=Tavlix Plasma test\nNoDisplay=true\nExec=" + QByteArray(self) +
                "\nX-KDE-DBUS-Restricted-Interfaces=org.kde.kwin.Screenshot,org.kde.KWin.ScreenShot2\n");
    entry.close();
    PrivateSession::output({"kbuildsycoca5"}, 60000);

    // A copy of KWin without the file capability of the installed one, which a container refuses.
    const QString kwin = run + QStringLiteral("/kwin_wayland");
    QFile::copy(QStringLiteral("/usr/bin/kwin_wayland"), kwin);
    qputenv("LIBGL_ALWAYS_SOFTWARE", "1");
    qputenv("XDG_SESSION_TYPE", "wayland");
    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    qputenv("KDE_SESSION_VERSION", "5");
    qputenv("KDE_FULL_SESSION", "true");
    const pid_t compositor = session.spawn({kwin, "--virtual", "--width", "1920", "--height", "1080", "--xwayland",
                                            "--no-lockscreen", "--socket", "wayland-0"});
    QString display;
    if (!compositor || !PrivateSession::waitFor([&] {
            display = PrivateSession::xwaylandDisplay(compositor);
            return !display.isEmpty() && QFile::exists(run + QStringLiteral("/wayland-0"));
        })) {
        qCritical("kwin_wayland did not come up");
        return false;
    }
    qputenv("DISPLAY", display.toLocal8Bit());
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    qputenv("QT_QPA_PLATFORM", "wayland"); // for the desktop's programs; the program runs through Xwayland
    // The activity manager lives in the multiarch libexec folder, which is not on PATH.
    QString activityManager = QStringLiteral("/usr/libexec/kactivitymanagerd");
    for (const QFileInfo& lib : QDir(QStringLiteral("/usr/lib")).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (QFile::exists(lib.filePath() + QStringLiteral("/libexec/kactivitymanagerd")))
            activityManager = lib.filePath() + QStringLiteral("/libexec/kactivitymanagerd");
    }
    const pid_t activities = session.spawn({activityManager});
    const pid_t kded = session.spawn({"kded5"});
    const pid_t shell = session.spawn({"plasmashell", "--no-respawn"});
    qunsetenv("QT_QPA_PLATFORM");
    const bool up = activities && kded && shell &&
                    PrivateSession::waitFor(
                        [&] {
                            return nameOwned(QStringLiteral("org.kde.plasmashell")) &&
                                   nameOwned(QStringLiteral("org.kde.StatusNotifierHost-%1").arg(shell)) &&
                                   nameOwned(QStringLiteral("org.kde.StatusNotifierWatcher"));
                        },
                        60000);
    return up;
}

} // namespace

int main(int argc, char** argv)
{
    return RealSession::run<TestPlasma>(argc, argv, "plasma", startPlasma);
}

#include "tst_x11_Plasma.moc"
