#pragma once

#include "chrome/MainWindowWidgets.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

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

// Form1, the program's main window. It holds the controls its layout builds and composes the
// subsystems that work on them; its creation, close and destroy steps are MainWindowLifecycle's.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(SplashWindow* splash, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The splash is the main window's to free when it is destroyed.
    void adoptSplash(std::unique_ptr<SplashWindow> splash);
    SplashWindow* splash() const { return m_splash; }

    // Runs then when the window's creation steps have ended (at once when they have): the last
    // list loads with the event loop running.
    void whenCreated(std::function<void()> then);

    // Writes what a close writes, and stays open: the session is being saved. False when a value
    // could not be written (the error was shown).
    bool saveCloseValues();

    // The window's own controls; each subsystem is handed only its set of them.
    MainWindowWidgets& controls() { return m_c; }
    PictureList& pictureList() { return *m_list; }
    ThumbnailStrip& strip() { return *m_strip; }
    ListOperations& listOperations() { return *m_listOps; }
    WallpaperCommands& wallpaper() { return *m_wallpaper; }
    Scheduler& scheduler() { return *m_scheduler; }
    Countdown& countdown() { return *m_countdown; }
    WindowStateOptions& windowState() { return *m_windowState; }
    ColourOptions& colours() { return *m_colours; }
    TrayIcon& tray() { return *m_tray; }
    HintSwitch& hints() { return *m_hints; }
    const QString& programFolder() const { return m_programFolder; }

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
    ListEditorWindow* listEditor();
    void creationEnded();

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
    bool m_created = false;
    std::vector<std::function<void()>> m_whenCreated;
};
