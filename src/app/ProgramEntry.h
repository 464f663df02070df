#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

class MainWindow;
class SessionEnd;
class SplashWindow;
class Steps;

// The program's start-up sequence and message loop. No command line is read; a second
// start runs a second instance. Start-up runs as steps from the event loop, so the splash is
// drawn, and an end signal is handled, between any two of them.
class ProgramEntry : public QObject
{
    Q_OBJECT

public:
    ProgramEntry();
    ~ProgramEntry() override;

    // Opens the settings key and reads the splash's text colour, then starts the start-up steps.
    // False when the program must end at once (the error was shown).
    bool start();
    // Runs the loop (and the start-up steps in it) until the main window closes.
    int run();

    // Null until its start-up step has created it.
    MainWindow* mainWindow() const { return m_mainWindow.get(); }
    bool startedMinimised() const { return m_minimised; }
    bool started() const { return m_started; }

signals:
    // The start-up steps have ended: the main window is shown, or hidden for a minimised start.
    // ok is false when a step failed; the failure was shown and the program ends.
    void startupEnded(bool ok);

private:
    void endRequested();
    void stop();

    std::unique_ptr<SplashWindow> m_splash; // until the main window takes it over
    SplashWindow* m_splashWindow = nullptr;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<SessionEnd> m_end;
    std::unique_ptr<Steps> m_steps;
    QStringList m_valueNames;
    bool m_minimised = false;
    bool m_started = false;
};

int runProgram(int argc, char** argv);
