#include "SessionEnd.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int EndSignals[] = {SIGTERM, SIGHUP, SIGINT};
int s_pipe[2] = {-1, -1};

// Only a byte is written here, the one thing a signal handler may safely do; the event loop does the rest.
void onEndSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(s_pipe[1], &byte, 1);
}

} // namespace

SessionEnd::SessionEnd(QObject* parent) : QObject(parent)
{
    if (s_pipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, s_pipe) != 0)
        return; // the signals keep their default: the process ends as before
    auto* notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(s_pipe[0], bytes, sizeof bytes) > 0) {
        }
        emit requested();
    });
    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : EndSignals)
        sigaction(signal, &action, nullptr);
}

SessionEnd::~SessionEnd()
{
    for (const int signal : EndSignals)
        std::signal(signal, SIG_DFL);
}
