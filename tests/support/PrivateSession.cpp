#include "PrivateSession.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

PrivateSession::~PrivateSession()
{
    // The last started first: a window manager before its X server.
    while (!m_started.isEmpty())
        stop(m_started.last());
}

pid_t PrivateSession::spawn(const QStringList& argv)
{
    // A program outlives no test, even one that is killed: it gets SIGTERM when the test ends.
    QList<QByteArray> bytes{"setpriv", "--pdeathsig", "TERM"};
    for (const QString& a : argv)
        bytes << a.toLocal8Bit();
    std::vector<char*> args;
    for (QByteArray& b : bytes)
        args.push_back(b.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray log = QFile::encodeName(m_log);
    if (!log.isEmpty()) {
        posix_spawn_file_actions_addopen(&actions, 1, log.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
    }
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return 0;
    m_started << pid;
    return pid;
}

void PrivateSession::stop(pid_t pid)
{
    if (!m_started.removeOne(pid))
        return;
    ::kill(pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 40; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return;
        pause(50);
    }
    ::kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
}

bool PrivateSession::startXvfb(const QString& screen, const QStringList& options)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    QList<QByteArray> bytes{"Xvfb",      "-displayfd", QByteArray::number(fds[1]), "-screen", "0", screen.toLatin1(),
                            "-nolisten", "tcp"};
    for (const QString& option : options)
        bytes << option.toLatin1();
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, "Xvfb", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (rc != 0) {
        ::close(fds[0]);
        return false;
    }
    m_started << pid;
    QByteArray number;
    char c = 0;
    while (::read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(fds[0]);
    if (number.isEmpty())
        return false;
    qputenv("DISPLAY", ":" + number);
    return true;
}

void PrivateSession::usePrivateHome(const QString& dir)
{
    qputenv("HOME", QFile::encodeName(dir));
    for (const char* name : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        const QString folder = dir + QLatin1Char('/') + QString::fromLatin1(name).toLower();
        QDir().mkpath(folder);
        ::chmod(QFile::encodeName(folder).constData(), 0700);
        qputenv(name, QFile::encodeName(folder));
    }
    for (const char* name :
         {"TAVELVAXLAREN_DESKTOP", "QT_QPA_PLATFORM", "DISPLAY", "XAUTHORITY", "WAYLAND_DISPLAY", "SWAYSOCK",
          "DESKTOP_SESSION", "SESSION_MANAGER", "KDE_SESSION_VERSION", "KDE_FULL_SESSION", "XDG_CURRENT_DESKTOP",
          "XDG_SESSION_TYPE", "DBUS_SESSION_BUS_ADDRESS", "DBUS_SYSTEM_BUS_ADDRESS"})
        qunsetenv(name);
}

bool PrivateSession::startBuses()
{
    const QString run = qEnvironmentVariable("XDG_RUNTIME_DIR");
    for (const auto& [variable, name] :
         {std::pair{"DBUS_SESSION_BUS_ADDRESS", "bus"}, std::pair{"DBUS_SYSTEM_BUS_ADDRESS", "system_bus"}}) {
        const QString socket = run + QLatin1Char('/') + QLatin1String(name);
        // A session daemon's policy lets the test own any name, which a system bus would not.
        if (!spawn({"dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=unix:path=" + socket}))
            return false;
        if (!waitFor([&] { return QFile::exists(socket); }))
            return false;
        qputenv(variable, QFile::encodeName("unix:path=" + socket));
    }
    return true;
}

QString PrivateSession::xwaylandDisplay(pid_t compositor)
{
    const auto parentOf = [](const QString& pid) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return qint64(0);
        const QByteArray line = stat.readAll();
        // "pid (name) state ppid …": the name may hold spaces, so read after its closing bracket.
        return line.mid(line.lastIndexOf(')') + 2).split(' ').value(1).toLongLong();
    };
    // The compositor's Xwayland child names its display, or was handed a socket whose lock it holds
    // (a compositor may lock more displays than it serves).
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        if (parentOf(pid) != compositor)
            continue;
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> args = cmdline.readAll().split('\0');
        if (!args.value(0).endsWith("Xwayland"))
            continue;
        for (const QByteArray& arg : args) {
            if (arg.startsWith(':'))
                return QString::fromLatin1(arg);
        }
        for (const QString& socket : QDir(QStringLiteral("/tmp/.X11-unix")).entryList({"X*"}, QDir::System)) {
            QFile lock(QStringLiteral("/tmp/.X%1-lock").arg(socket.mid(1)));
            if (lock.open(QIODevice::ReadOnly) && lock.readAll().trimmed() == pid.toLatin1())
                return QLatin1Char(':') + socket.mid(1);
        }
    }
    return {};
}

bool PrivateSession::prepareX11SocketFolder()
{
    const char* folder = "/tmp/.X11-unix";
    ::mkdir(folder, 01777);
    struct stat info = {};
    if (::stat(folder, &info) != 0)
        return false;
    if ((info.st_mode & 07777) == 01777)
        return true;
    // Only a folder this user owns is changed; anyone else's is left as it is.
    return info.st_uid == ::getuid() && ::chmod(folder, 01777) == 0;
}

QByteArray PrivateSession::output(const QStringList& argv, int timeoutMs)
{
    QProcess process;
    process.start(argv.first(), argv.mid(1));
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return process.readAllStandardOutput();
}

void PrivateSession::pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
