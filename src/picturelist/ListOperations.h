#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

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

    // What the operations need of the rest of the window: calls that return or throw, so that a
    // failure ends the operation that asked.
    struct Calls
    {
        // Show the path dialog for entry index.
        std::function<void(int index)> showPathDialog;
        // The user declined to repair a list with a missing picture: the list was dropped.
        std::function<void()> listDropped;
        // Open the list editor on the current list file with the missing path selected.
        std::function<void(const QString& missingPath)> openListEditor;
    };

    // Runs when the cards are built: ended is true when the load ran to its end or stopped at a
    // missing file, false after an error (which the error report has shown).
    using Loaded = std::function<void(bool ended)>;

    static const QString PictureFilter;
    static const QString ListFilter;

    ListOperations(Controls controls, Calls calls, PictureList& list, ThumbnailStrip& strip, QObject* parent = nullptr);

    // Connects the command buttons and the two PopDel items through the error guard.
    void bind();

    void BtNyClick();
    void BtAddClick();
    void BtOpenClick();
    void BtSparaClick();
    void abortBild1Click();
    void Redigeravaldbild1Click();
    // Rebuilds the strip from the list one entry a step, the event loop running between steps. A
    // load or reading of pictures that still runs is superseded: it stops, and what waited for it
    // waits for this load instead.
    void LoadPictureList(Loaded loaded = {});
    // Stops a load or reading of pictures at once (the program is closing): nothing waits for it
    // any more, and the cards built so far stay as they are.
    void stop();
    // The next step of the running load comes this much later (the splash's pause per picture).
    void pauseBeforeNextStep(int milliseconds) { m_nextPause = milliseconds; }
    // While the rotation runs its locks on BtAdd and BtSpara hold, and a load keeps the preview
    // that the running countdown shows.
    void setRotationRunning(bool running) { m_rotationRunning = running; }

    // True while a load or a reading of pictures builds cards.
    bool isLoading() const { return m_job.has_value(); }

    // The file name the save dialog proposes.
    QString saveFileName() const { return m_saveFileName; }

    // The text of the question asked when entry path is missing from the disk.
    static QString missingFileQuestion(const QString& path, const QString& listFile);

signals:
    // LoadPictureList reached picture position of maximum (for the start-up splash).
    void loadProgressed(int maximum, int position, const QString& label);
    void loadingChanged(bool loading);
    // The list's count may have changed: the commands' states are due.
    void listChanged();

private:
    enum class Kind
    {
        Load, // LoadPictureList: asks about missing files, ends with the list's count
        Read  // new list and added pictures
    };
    struct Job
    {
        Kind kind;
        int from; // the first entry whose card it builds; it builds them up to the list's end
        bool singleBorder;
        int next;
        bool announced = false; // the texts of step next are shown and its file checked
        bool waiting = false;   // for the thumbnail of entry next
        bool showing = false;   // every card is built; the strip is being shown
    };

    // New list and add pictures: read the chosen files into the list and build their cards.
    void readPictures(bool singleBorder);
    void setButtonStates();
    void startJob(Kind kind, int from, bool singleBorder);
    void scheduleStep();
    void prefetchNearView(int from, bool singleBorder);
    void runStep();
    // One entry of the job; true when the next one may follow at once.
    bool step();
    void askAboutMissing(const QString& path);
    void finishJob();
    // The job is over: what waited for it runs.
    void endJob(bool ended);
    // Stops the job in its tracks; what waited for it waits for the next one.
    void dropJob();

    Controls m_controls;
    Calls m_calls;
    PictureList& m_list;
    ThumbnailStrip& m_strip;
    QString m_saveFileName;
    bool m_rotationRunning = false;
    std::optional<Job> m_job;
    // Counts jobs: a step that let the event loop run sees by it whether its job still runs.
    quint64 m_serial = 0;
    QTimer m_stepTimer;
    // Longest a turn of the event loop builds cards before it lets the window answer again.
    static constexpr int StepBatchMs = 8;
    int m_nextPause = 0;
    QElapsedTimer m_stepClock; // since the start of the last step
    std::vector<Loaded> m_loaded;
};
