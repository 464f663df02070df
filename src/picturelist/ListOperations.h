#pragma once

#include <QObject>
#include <QString>
#include <functional>

class PictureList;
class ThumbnailStrip;
struct MainControls;

// What the user does to a picture list as a whole: new list, add pictures, open, save, remove
// the marked picture, edit its path; and LoadPictureList, which rebuilds the strip from the list.
class ListOperations : public QObject
{
    Q_OBJECT

public:
    // The start-up splash's gauge, driven by LoadPictureList while the splash is visible.
    struct SplashGauge
    {
        std::function<bool()> visible;
        // Sets maximum, position and status label and repaints at once.
        std::function<void(int maximum, int position, const QString& label)> show;
    };

    static const QString PictureFilter;
    static const QString ListFilter;

    ListOperations(MainControls& controls, PictureList& list, ThumbnailStrip& strip, QObject* parent = nullptr);

    // Connects the command buttons and the two PopDel items through the error guard.
    void bind();

    void BtNyClick();
    void BtAddClick();
    void BtOpenClick();
    void BtSparaClick();
    void abortBild1Click();
    void Redigeravaldbild1Click();
    void LoadPictureList();

    void setSplashGauge(SplashGauge gauge) { m_splash = std::move(gauge); }
    // The pause after each splash step, 1 ms by default.
    void setSplashPauseMs(int ms) { m_splashPauseMs = ms; }
    // Opens the list editor on the current list file with the missing path selected.
    void setListEditorOpener(std::function<void(const QString& missingPath)> opener)
    {
        m_openEditor = std::move(opener);
    }
    // Shows the path dialog with the marked picture's path.
    void setPathDialogOpener(std::function<void(const QString& path)> opener) { m_openPathDialog = std::move(opener); }

    // True while a load or an addition of pictures runs; the list commands are refused meanwhile.
    bool isLoading() const { return m_loading; }

    // The file name the save dialog proposes.
    QString saveFileName() const { return m_saveFileName; }

    // The text of the question asked when entry path is missing from the disk.
    static QString missingFileQuestion(const QString& path, const QString& listFile);

private:
    // New list and add pictures: read the chosen files into the list and build their cards.
    void readPictures(bool singleBorder);
    void setButtonStates();

    MainControls& m_controls;
    PictureList& m_list;
    ThumbnailStrip& m_strip;
    SplashGauge m_splash;
    int m_splashPauseMs = 1;
    std::function<void(const QString&)> m_openEditor;
    std::function<void(const QString&)> m_openPathDialog;
    QString m_saveFileName;
    bool m_loading = false;
};
