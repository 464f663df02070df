#pragma once

#include "chrome/MainWindowWidgets.h"

#include <QWidget>
#include <functional>
#include <memory>

class AboutWindow;
class ChangePopups;
class ColourOptions;
class CommandStates;
class Countdown;
class HintSwitch;
class ListEditorWindow;
class ListOperations;
class MainWindowLifecycle;
class PathDialog;
class PictureList;
class Rotation;
class Scheduler;
class SplashWindow;
class ThumbnailStrip;
class TrayIcon;
class WallpaperCommands;
class WindowStateOptions;

// Form1, the program's main window. It composes: the layout builds the controls, each subsystem
// gets its own of them, wire() connects their announcements; its creation and close steps are
// MainWindowLifecycle's.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(SplashWindow* splash, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The splash is the main window's to free when it is destroyed.
    void adoptSplash(std::unique_ptr<SplashWindow> splash);
    SplashWindow* splash() const { return m_splash; }

    // Runs the creation steps from the event loop (skin, splash progress, settings, last list),
    // then creates the about window and the path dialog; finished runs when all that is done.
    void create(std::function<void()> finished);

    // Writes what a close writes, and stays open: the session is being saved. False when a value
    // could not be written (the error was shown).
    bool saveCloseValues();

    bool startsMinimised() const;
    void Minimera1Click();
    void setTrayIconVisible(bool visible);

    void BtCloseClick();
    void LbOmClick();
    // The tip line shows the long part of the hint under the pointer (after "|", or all of it).
    void ShowTipLine(const QString& hint);

signals:
    // The window has closed: the program ends.
    void closed();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The pause after each picture the splash counts while the last list loads.
    static constexpr int SplashStepPauseMs = 1;

    void bind();
    void wire();
    // The window has closed: whatever still runs stops, so nothing acts or writes after the close.
    void stopAll();
    ListEditorWindow* listEditor();

    MainWindowWidgets m_c;
    QString m_programFolder;
    SplashWindow* m_splash;
    std::unique_ptr<SplashWindow> m_ownedSplash;
    std::unique_ptr<PictureList> m_list;
    TrayIcon* m_tray;
    HintSwitch* m_hints;
    ThumbnailStrip* m_strip;
    ListOperations* m_listOps;
    ChangePopups* m_popups;
    Rotation* m_rotation;
    CommandStates* m_commands;
    WallpaperCommands* m_wallpaper;
    Scheduler* m_scheduler;
    Countdown* m_countdown;
    WindowStateOptions* m_windowState;
    ColourOptions* m_colours;
    std::unique_ptr<MainWindowLifecycle> m_lifecycle;
    std::unique_ptr<AboutWindow> m_about;
    PathDialog* m_pathDialog = nullptr;
    ListEditorWindow* m_editor = nullptr;
    QString m_failureNote; // the last failed change's note, until a change succeeds
};
