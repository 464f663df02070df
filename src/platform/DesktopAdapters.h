#pragma once

#include "Desktop.h"

#include <QProcessEnvironment>
#include <QStringList>
#include <QVariantList>
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
};

// Runs programs with QProcess (no shell) and calls the session bus; times out after timeoutMs.
class ProcessRunner : public Runner
{
public:
    explicit ProcessRunner(int timeoutMs = 5000) : m_timeoutMs(timeoutMs) {}
    Result run(const Command& command) override;
    Result call(const DBusCall& call) override;

private:
    int m_timeoutMs;
};

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

// "gnome", "unity", "budgie", "cinnamon", "mate", "kde", "xfce", "lxqt", "lxde", "wlroots", "x11"
// (and the aliases "plasma", "sway", "feh"), case-insensitive; nullptr for any other name.
// xfceMonitors names the monitors for which XFCE properties are created when it has none.
std::unique_ptr<Adapter> adapterFor(const QString& key, const QStringList& xfceMonitors = {});

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

} // namespace DesktopAdapters
