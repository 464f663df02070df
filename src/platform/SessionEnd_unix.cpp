#include "SessionEnd.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <iterator>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int EndSignals[] = {SIGTERM, SIGHUP, SIGINT};
constexpr int SignalCount = int(std::size(EndSignals));
int s_pipe[2] = {-1, -1};
// What each signal did before we took it over; restored when we let go.
struct sigaction s_previous[SignalCount];
bool s_taken[SignalCount] = {};

// Only a byte is written here, the one thing a signal handler may safely do; the event loop does the rest.
// errno is kept: the handler may run between a failed call and the code that reads its errno.
void onEndSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(s_pipe[1], &byte, 1);
    errno = savedErrno;
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
    for (int i = 0; i < SignalCount; ++i) {
        if (s_taken[i])
            continue;
        struct sigaction previous = {};
        if (sigaction(EndSignals[i], nullptr, &previous) != 0)
            continue;
        // A signal ignored by whoever started us (nohup, a launcher) stays ignored.
        if (!(previous.sa_flags & SA_SIGINFO) && previous.sa_handler == SIG_IGN)
            continue;
        if (sigaction(EndSignals[i], &action, nullptr) == 0) {
            s_previous[i] = previous;
            s_taken[i] = true;
        }
    }
}

SessionEnd::~SessionEnd()
{
    for (int i = 0; i < SignalCount; ++i) {
        if (s_taken[i])
            sigaction(EndSignals[i], &s_previous[i], nullptr);
        s_taken[i] = false;
    }
}
