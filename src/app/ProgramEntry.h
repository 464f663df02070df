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
    bool start();
    // Shows the main window unless the start is minimised, runs the loop until it closes.
    int run();

    MainWindow* mainWindow() const { return m_mainWindow.get(); }
    bool startedMinimised() const { return m_minimised; }

private:
    std::unique_ptr<SplashWindow> m_splash; // until the main window takes it over
    std::unique_ptr<MainWindow> m_mainWindow;
    bool m_minimised = false;
};

int runProgram(int argc, char** argv);
