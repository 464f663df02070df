#pragma once

#include "Desktop.h"

#include <QProcessEnvironment>
#include <QStringList>
#include <QVariantList>
#include <atomic>
#include <memory>

// One adapter per desktop environment makes a picture the background of the running desktop.
// Adapters only decide which programs to run (or which D-Bus call to make) with which argument
// lists; a Runner carries them out, so the lists can be checked without touching a desktop.
namespace DesktopAdapters {

// An external program and its argument list; never given to a shell.
struct Command
{
    QString program;
    QStringList arguments;
    bool keepsRunning = false; // draws the background for as long as it runs (swaybg)
    bool readsOutput = false;  // its output decides: run in the C locale, so it reads the same everywhere

    friend bool operator==(const Command&, const Command&) = default;
};

struct DBusCall
{
    QString service;
    QString path;
    QString interface;
    QString method;
    QVariantList arguments;
};

struct Result
{
    enum class Status
    {
        Finished,
        NotStarted,
        TimedOut,
        Crashed,
        Running
    };
    Status status = Status::Finished;
    int exitCode = 0;
    QString output; // standard output, or the reply of a D-Bus call
    QString errors; // standard error, or the D-Bus error message

    bool ok() const { return status == Status::Finished && exitCode == 0; }
};

class Runner
{
public:
    virtual ~Runner() = default;
    // A keepsRunning command that is still running after a short while comes back as Running.
    virtual Result run(const Command& command) = 0;
    virtual Result call(const DBusCall& call) = 0;
    // Whether a program of this user runs in this session (hyprpaper, say).
    virtual bool isRunning(const QString& program) = 0;
    // Replaces a file of the user's configuration whole. False with a reason when it cannot.
    virtual bool writeFile(const QString& path, const QByteArray& content, QString* reason) = 0;
};

// Runs programs without a shell in the session's own environment and calls the session bus;
// times out after timeoutMs. Once *stop is set, what runs is killed and every step fails at once.
class ProcessRunner : public Runner
{
public:
    explicit ProcessRunner(int timeoutMs = 5000, const std::atomic<bool>* stop = nullptr)
        : m_timeoutMs(timeoutMs), m_stop(stop)
    {
    }
    Result run(const Command& command) override;
    Result call(const DBusCall& call) override;
    bool isRunning(const QString& program) override;
    bool writeFile(const QString& path, const QByteArray& content, QString* reason) override;

private:
    bool stopped() const { return m_stop && m_stop->load(); }
    int m_timeoutMs;
    const std::atomic<bool>* m_stop;
};

// The environment children get: the session's, without what this program set for itself
// (QT_QPA_PLATFORM), and with LC_ALL=C when their output is read.
QProcessEnvironment childEnvironment(bool readsOutput);

class Adapter
{
public:
    virtual ~Adapter() = default;
    // The desktop's name as the user knows it, for error messages.
    virtual QString name() const = 0;
    // path is absolute. Throws AppError (Swedish, naming the desktop and the reason) when the
    // desktop did not take the picture.
    virtual void apply(const QString& path, Desktop::Placement placement, Runner& runner) const = 0;
};

// The adapter key for an environment: XDG_CURRENT_DESKTOP, then DESKTOP_SESSION,
// KDE_SESSION_VERSION, SWAYSOCK, WAYLAND_DISPLAY, DISPLAY. Empty when nothing fits.
QString detect(const QProcessEnvironment& env);

// "gnome", "unity", "budgie", "cinnamon", "mate", "kde", "xfce", "lxqt", "lxde", "hyprland", "cosmic",
// "wlroots", "x11" (and the aliases "plasma", "sway", "niri", "feh"), case-insensitive; nullptr for
// any other name. monitors names the session's monitors (their RandR names), primary first: XFCE
// gets a backdrop on each one that has none, Plasma 6 one call per screen.
std::unique_ptr<Adapter> adapterFor(const QString& key, const QStringList& monitors = {});

// Errors for when no adapter can be used.
AppError noDesktopFound(const QProcessEnvironment& env);
AppError unknownDesktop(const QString& name);

// A relative path made absolute against the working folder without any other change, so that
// no path can be read as an option and every program reaches the same file.
QString absolutePath(const QString& path);
// A GVariant text literal of a string, for "gsettings set".
QString gvariantString(const QString& text);
// A JSON (and JavaScript) string literal.
QString jsonString(const QString& text);
// The Plasma desktop script that sets every desktop's picture and fill mode.
QString plasmaScript(const QString& path, Desktop::Placement placement);
// cosmic-bg's entry for every output: the picture with the nearest scaling it offers.
QByteArray cosmicEntry(const QString& path, Desktop::Placement placement);

} // namespace DesktopAdapters
