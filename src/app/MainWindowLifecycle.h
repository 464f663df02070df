#pragma once

#include "Steps.h"
#include "core/SettingsBinding.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class ColourOptions;
class Countdown;
class ListOperations;
class PictureList;
class Scheduler;
class SplashWindow;
class ThumbnailStrip;
class TrayIcon;
class WindowStateOptions;
struct MainWindowWidgets;
class QWidget;

// The main window's creation and close steps: dressing, the splash progress, every setting
// read into the controls in the store's order, the last list reloaded and a running rotation
// resumed; at close the close-time settings in one use of the store. Creation runs as steps
// from the event loop; a close stops it wherever it is.
class MainWindowLifecycle
{
public:
    // What the steps drive.
    struct Parts
    {
        QWidget* window;
        MainWindowWidgets* controls;
        QPointer<SplashWindow> splash;
        QString programFolder;
        PictureList* list;
        ThumbnailStrip* strip;
        ListOperations* listOperations;
        Scheduler* scheduler;
        Countdown* countdown;
        WindowStateOptions* windowState;
        ColourOptions* colours;
        TrayIcon* tray;
    };

    // The pauses of the two splash passes, per step (40 ms and 1 ms).
    static constexpr int ChildPauseMs = 40;
    static constexpr int ComponentPauseMs = 1;

    explicit MainWindowLifecycle(Parts parts);

    void setSplash(SplashWindow* splash) { m_p.splash = splash; }

    // Starts the creation steps; finished runs when they have ended. A failing step is reported
    // and skips the rest of the creation, as the window is still created.
    void FormCreate(std::function<void()> finished);
    // Writes the close-time values. Before creation has read the stored values the controls hold
    // only their designed states, and nothing is written over what is stored.
    void FormClose();
    // Stops the creation steps: the window is closing.
    void stop();
    // After the list editor has saved: the last list read again and its selection restored.
    // A running rotation goes on (a full creation run would stop it). reloaded runs when that is
    // done, or at once when there is no last list.
    void ReloadLastList(std::function<void()> reloaded = {});

private:
    void dress();
    void readSettings();
    // Opens "Senaste" and starts its load, whose end runs loaded; false when there is no list.
    bool openLastList(std::function<void(bool ended)> loaded);
    // Marks the stored choice, confirms it and resumes a pending rotation once the preview shows
    // it; ended(false) when the preview cannot show it (its error was reported).
    void afterListLoaded(bool resumeRotation, std::function<void(bool shown)> ended);
    SettingsBinding makeBinding();

    Parts m_p;
    SettingsBinding m_binding;
    std::unique_ptr<Steps> m_steps;
    bool m_valuesRead = false;
    bool m_listLoaded = false;
    bool m_listPending = false; // the last list is loading: its stored choice is not applied yet
};
