#include "DesktopAdapters.h"

#include "SessionProcesses.h"
#include "SessionSetup.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace DesktopAdapters {

namespace {

// Output beyond this is dropped: the adapters read a few lines, never a flood.
constexpr qsizetype MaxOutput = 1 << 20;
// How long a background program must keep running to count as drawing.
constexpr int BackgroundSettleMs = 700;
// How often a wait looks whether the program is being stopped.
constexpr int StopPollMs = 50;

// The one background program this process started, replaced by the next one. It is left
// running when the program ends, because it is the background.
std::mutex s_backgroundLock;
SessionProcesses::Handle s_background;

void reap(qint64 pid)
{
    int status = 0;
    while (::waitpid(pid_t(pid), &status, 0) < 0 && errno == EINTR) {
    }
}

class Pipe
{
public:
    Pipe()
    {
        if (::pipe2(m_fds, O_CLOEXEC) != 0)
            m_fds[0] = m_fds[1] = -1;
    }
    ~Pipe()
    {
        closeRead();
        closeWrite();
    }
    bool isValid() const { return m_fds[0] >= 0; }
    int readEnd() const { return m_fds[0]; }
    int writeEnd() const { return m_fds[1]; }
    void closeRead() { closeFd(m_fds[0]); }
    void closeWrite() { closeFd(m_fds[1]); }

private:
    static void closeFd(int& fd)
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    int m_fds[2] = {-1, -1};
};

// Reads what is there; false at the end of the stream.
bool drain(int fd, QByteArray& into)
{
    char buffer[4096];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got > 0 && into.size() < MaxOutput)
        into.append(buffer, qsizetype(got));
    return got > 0 || (got < 0 && (errno == EINTR || errno == EAGAIN));
}

} // namespace

QProcessEnvironment childEnvironment(bool readsOutput)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& own : SessionSetup::ownVariables())
        env.remove(own);
    if (readsOutput)
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    return env;
}

Result ProcessRunner::run(const Command& command)
{
    Result result;
    result.status = Result::Status::NotStarted;
    if (stopped())
        return result;

    std::vector<QByteArray> arguments{QFile::encodeName(command.program)};
    for (const QString& argument : command.arguments)
        arguments.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> variables;
    for (const QString& variable : childEnvironment(command.readsOutput).toStringList())
        variables.push_back(variable.toLocal8Bit());
    std::vector<char*> envp;
    for (QByteArray& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    Pipe out;
    Pipe err;
    if (!command.keepsRunning && (!out.isValid() || !err.isValid()))
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (command.keepsRunning) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
    } else {
        posix_spawn_file_actions_adddup2(&actions, out.writeEnd(), 1);
        posix_spawn_file_actions_adddup2(&actions, err.writeEnd(), 2);
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    // The background outlives the program and does not go with its terminal's Ctrl+C.
    posix_spawnattr_setflags(&attributes,
                             short(POSIX_SPAWN_SETSIGMASK | (command.keepsRunning ? POSIX_SPAWN_SETSID : 0)));
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0)
        return result;
    out.closeWrite();
    err.closeWrite();
    // Not reaped yet, so the id is still this child's.
    const SessionProcesses::Handle child = SessionProcesses::ofChild(pid);
    const auto finish = [&](int status) {
        result.status = WIFSIGNALED(status) ? Result::Status::Crashed : Result::Status::Finished;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
    };

    if (command.keepsRunning) {
        QDeadlineTimer settled(BackgroundSettleMs);
        while (!settled.hasExpired() && !child.waitForEnd(int(qMin<qint64>(StopPollMs, settled.remainingTime())))) {
        }
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            finish(status);
            return result;
        }
        const std::lock_guard lock(s_backgroundLock);
        const qint64 previous = s_background.pid();
        // An older background of this session (say the one the compositor's configuration
        // started) would stay drawn over the new one.
        for (const SessionProcesses::Handle& other : SessionProcesses::find(QFileInfo(command.program).fileName())) {
            if (other.pid() != pid)
                other.terminate();
        }
        if (s_background.isValid()) {
            s_background.waitForEnd(1000);
            if (::waitpid(pid_t(previous), &status, WNOHANG) == 0) {
                s_background.kill();
                reap(previous);
            }
        }
        s_background = SessionProcesses::ofChild(pid);
        result.status = Result::Status::Running;
        return result;
    }

    QByteArray output;
    QByteArray errors;
    bool outOpen = true;
    bool errOpen = true;
    bool ended = false;
    const QDeadlineTimer deadline(m_timeoutMs);
    // A program that ended may have left a child holding its output open: read on briefly only.
    QDeadlineTimer lastOutput;
    while (outOpen || errOpen || !ended) {
        if (!ended && (deadline.hasExpired() || stopped())) {
            // Without a pidfd (an old kernel) the id is still safe: the child is not reaped yet.
            if (!child.kill())
                ::kill(pid, SIGKILL);
            reap(pid);
            result.status = Result::Status::TimedOut;
            return result;
        }
        const QDeadlineTimer& until = ended ? lastOutput : deadline;
        if (ended && until.hasExpired())
            break;
        std::vector<pollfd> fds;
        if (outOpen)
            fds.push_back({out.readEnd(), POLLIN, 0});
        if (errOpen)
            fds.push_back({err.readEnd(), POLLIN, 0});
        if (!ended)
            fds.push_back({child.fd(), POLLIN, 0});
        if (::poll(fds.data(), nfds_t(fds.size()), int(qMin<qint64>(StopPollMs, until.remainingTime()))) < 0 &&
            errno != EINTR)
            break;
        siginfo_t info = {};
        if (!child.isValid() && !ended && ::waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid == pid) {
            ended = true;
            lastOutput = QDeadlineTimer(200);
        }
        for (const pollfd& fd : fds) {
            if (!(fd.revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            if (fd.fd == out.readEnd()) {
                outOpen = drain(fd.fd, output);
            } else if (fd.fd == err.readEnd()) {
                errOpen = drain(fd.fd, errors);
            } else {
                ended = true;
                lastOutput = QDeadlineTimer(200);
            }
        }
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return result;
    finish(status);
    result.output = QString::fromLocal8Bit(output);
    result.errors = QString::fromLocal8Bit(errors);
    return result;
}

Result ProcessRunner::call(const DBusCall& call)
{
    Result result;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        result.status = Result::Status::NotStarted;
        result.errors = bus.lastError().message();
        return result;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(call.service, call.path, call.interface, call.method);
    message.setArguments(call.arguments);
    // Waited for in steps, so that a shell that does not answer cannot hold up the program's end.
    QDBusPendingCall pending = bus.asyncCall(message, m_timeoutMs);
    while (!pending.isFinished()) {
        if (stopped()) {
            result.status = Result::Status::TimedOut;
            return result;
        }
        QThread::msleep(10);
    }
    const QDBusMessage reply = pending.reply();
    if (reply.type() == QDBusMessage::ErrorMessage) {
        result.status = reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
                                reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.Timeout")
                            ? Result::Status::TimedOut
                            : Result::Status::Finished;
        result.exitCode = 1;
        result.errors = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
        return result;
    }
    if (!reply.arguments().isEmpty())
        result.output = reply.arguments().first().toString();
    return result;
}

bool ProcessRunner::isRunning(const QString& program)
{
    return !SessionProcesses::find(program).empty();
}

bool ProcessRunner::writeFile(const QString& path, const QByteArray& content, QString* reason)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *reason = QStringLiteral("mappen för %1 kunde inte skapas").arg(path);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        *reason = QStringLiteral("%1 kunde inte skrivas (%2)").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace DesktopAdapters
