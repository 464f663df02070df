#pragma once

#include <functional>

class MainWindow;

// The main window's creation and close steps: dressing, the splash progress, every
// setting read into the controls in its fixed order, the last list reloaded and a running
// rotation resumed; at close the close-time settings in one use of the store.
class MainWindowLifecycle
{
public:
    explicit MainWindowLifecycle(MainWindow& window) : m_w(window) {}

    // created runs when the creation steps have ended, the last list's load included, whether or
    // not one of them failed.
    void FormCreate(std::function<void()> created = {});
    void FormClose();
    // After the list editor has saved: the last list read again and its selection restored.
    // A running rotation goes on (a full creation run would stop it). reloaded runs when the list
    // is loaded and its selection restored, or at once when there is no last list.
    void ReloadLastList(std::function<void()> reloaded = {});

    // The pauses of the two splash passes, per step (40 ms and 1 ms).
    static constexpr int ChildPauseMs = 40;
    static constexpr int ComponentPauseMs = 1;

private:
    void splashPasses();
    void readSettings();
    // reloaded(ok) runs when the load and the steps after it have ended; ok is false when one
    // failed (and was reported).
    void reloadLastList(bool resumeRotation, std::function<void(bool ok)> reloaded);

    MainWindow& m_w;
};
