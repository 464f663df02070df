#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <sys/types.h>

// Window systems a test starts for itself, before its application object exists, so that no
// test touches the desktop of whoever runs it. Every process started here ends with the object.
class PrivateSession
{
public:
    PrivateSession() = default;
    ~PrivateSession();
    PrivateSession(const PrivateSession&) = delete;
    PrivateSession& operator=(const PrivateSession&) = delete;

    // Starts a program (found on PATH) with the current environment; 0 when it could not start.
    pid_t spawn(const QStringList& argv);
    // Programs started from now on append their output to this file instead of the test's.
    void setLog(const QString& path) { m_log = path; }
    // Ends one started program and waits for it.
    void stop(pid_t pid);
    // An Xvfb on a free display (-displayfd); sets DISPLAY. False when it did not come up.
    bool startXvfb(const QString& screen = QStringLiteral("1280x1024x24"), const QStringList& options = {});

    // A home of its own under dir (0700 runtime, config, data and cache folders): sets HOME and the
    // XDG folders, and clears what would lead a program to the caller's desktop or buses.
    static void usePrivateHome(const QString& dir);
    // A private session bus and a stand-in system bus (for programs that ask logind), both in the
    // runtime folder; sets their addresses. False when one did not come up.
    bool startBuses();
    // The display of the Xwayland that the compositor `compositor` started. Empty until there is one.
    static QString xwaylandDisplay(pid_t compositor);
    // Xwayland's socket folder must be shared and sticky, as a booted system has it.
    static bool prepareX11SocketFolder();

    // Runs a program to its end and returns its standard output (empty on failure).
    static QByteArray output(const QStringList& argv, int timeoutMs = 10000);
    // Polls until ready() is true or timeoutMs passes.
    template <typename F> static bool waitFor(F ready, int timeoutMs = 10000)
    {
        for (int waited = 0; waited < timeoutMs; waited += 50) {
            if (ready())
                return true;
            pause(50);
        }
        return ready();
    }

private:
    static void pause(int ms);
    QList<pid_t> m_started;
    QString m_log;
};
