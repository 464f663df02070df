#pragma once

#include <memory>

class MainWindow;
class SplashWindow;

// The program's start-up sequence and message loop. No command line is read; a second
// start runs a second instance.
class ProgramEntry
{
public:
    ProgramEntry();
    ~ProgramEntry();

    // The steps up to the message loop. False when the program must end (the error was shown).
    // The steps after the main window's creation follow when its last list has loaded, at once
    // when there is none to load: started() tells when they have.
    bool start();
    bool started() const { return m_started; }
    // Shows the main window unless the start is minimised, runs the loop until it closes.
    int run();

    MainWindow* mainWindow() const { return m_mainWindow.get(); }
    bool startedMinimised() const { return m_minimised; }

private:
    void finishStart(SplashWindow* splash);

    std::unique_ptr<SplashWindow> m_splash; // until the main window takes it over
    std::unique_ptr<MainWindow> m_mainWindow;
    bool m_minimised = false;
    bool m_started = false;
    bool m_failed = false;
    bool m_running = false;
};

int runProgram(int argc, char** argv);
