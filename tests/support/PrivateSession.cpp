#include "PrivateSession.h"

#include <QProcess>
#include <csignal>
#include <cstdlib>
#include <spawn.h>
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
    QList<QByteArray> bytes;
    for (const QString& a : argv)
        bytes << a.toLocal8Bit();
    std::vector<char*> args;
    for (QByteArray& b : bytes)
        args.push_back(b.data());
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0)
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

bool PrivateSession::startXvfb(const QString& screen)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const QByteArray fd = QByteArray::number(fds[1]);
    const QByteArray screenArg = screen.toLatin1();
    const char* argv[] = {"Xvfb",      "-displayfd", fd.constData(), "-screen", "0", screenArg.constData(),
                          "-nolisten", "tcp",        nullptr};
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ);
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
