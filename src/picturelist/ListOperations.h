#pragma once

#include <QObject>
#include <QString>

class PictureList;
class PictureView;
class QAction;
class QLabel;
class QProgressBar;
class QScrollArea;
class SpeedButton;
class ThumbnailStrip;

// What the user does to a picture list as a whole: new list, add pictures, open, save, remove
// the marked picture, edit its path; and LoadPictureList, which rebuilds the strip from the list.
class ListOperations : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        SpeedButton* btNy;
        SpeedButton* btAdd;
        SpeedButton* btSpara;
        SpeedButton* btOpen;
        QScrollArea* sb1;
        PictureView* img;
        QLabel* lbLas;
        QLabel* lbNum;
        QProgressBar* progBar;
        QAction* abortBild1 = nullptr;
        QAction* redigeravaldbild1 = nullptr;
    };

    static const QString PictureFilter;
    static const QString ListFilter;

    ListOperations(Controls controls, PictureList& list, ThumbnailStrip& strip, QObject* parent = nullptr);

    // Connects the command buttons and the two PopDel items through the error guard.
    void bind();

    void BtNyClick();
    void BtAddClick();
    void BtOpenClick();
    void BtSparaClick();
    void abortBild1Click();
    void Redigeravaldbild1Click();
    void LoadPictureList();
    // While the rotation runs its locks on BtAdd and BtSpara hold, and a load keeps the preview
    // that the running countdown shows.
    void setRotationRunning(bool running) { m_rotationRunning = running; }

    // True while a load or an addition of pictures runs; the list commands are refused meanwhile.
    bool isLoading() const { return m_loading; }

    // The file name the save dialog proposes.
    QString saveFileName() const { return m_saveFileName; }

    // The text of the question asked when entry path is missing from the disk.
    static QString missingFileQuestion(const QString& path, const QString& listFile);

signals:
    // The list's count may have changed, or a load or an addition started or ended: the
    // commands' states are due.
    void listChanged();
    void loadingChanged(bool loading);
    // LoadPictureList reached picture position of maximum (for the start-up splash).
    void loadProgressed(int maximum, int position, const QString& label);
    // Requests (connectRequest): a failure of the receiver ends the operation that asked.
    // The user declined to repair a list with a missing picture: the list was dropped.
    void listDropped();
    // Open the list editor on the current list file with the missing path selected.
    void listEditorRequested(const QString& missingPath);
    // Show the path dialog with the marked picture's path.
    void pathDialogRequested(const QString& path);

private:
    // New list and add pictures: read the chosen files into the list and build their cards.
    void readPictures(bool singleBorder);
    void setButtonStates();

    Controls m_controls;
    PictureList& m_list;
    ThumbnailStrip& m_strip;
    QString m_saveFileName;
    bool m_loading = false;
    bool m_rotationRunning = false;
};
