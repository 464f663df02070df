#pragma once

#include <QList>
#include <QTimer>
#include <QWidget>

#include <functional>

class PictureList;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QToolButton;
class SpeedButton;
class ThumbnailStrip;
class TransparentImage;

// FmEdtLst, the list editor: shows a list file as text so the user can repair a path that names
// no file, and saves the text back to the list file. One window serves every opening; closing
// only hides it.
class ListEditorWindow : public QWidget
{
    Q_OBJECT

public:
    static const QString LoadingText;
    static const QString DiscardQuestion;

    // What the editor needs of the main window: calls that return or throw, so that a failure
    // ends the save there.
    struct Calls
    {
        // BtSparaClick, when there is no current list file.
        std::function<void()> saveMainList;
        // Settings read again, the last list reloaded and its selection restored; reloaded runs
        // when the reload has ended.
        std::function<void(std::function<void()> reloaded)> reload;
    };

    // The loading window steps every 100 ms and takes at most this many steps: a long list is
    // counted in bigger steps.
    static constexpr int LoadingPauseMs = 100;
    static constexpr int MaxLoadingSteps = 20;

    // Saves go to the file openList() read; after the reload the loading window counts the list's entries
    // and the strip's cards. mainWindow gives the editor its colours when shown, and owns it.
    ListEditorWindow(const PictureList& list, const ThumbnailStrip& strip, Calls calls, QWidget* mainWindow = nullptr);

    // Loads the list file into the memo (the file that its save writes), selects the first match
    // of missingPath (letter case ignored) and puts it into Edt1, and shows the editor on top. A
    // file that cannot be read throws AppError and leaves the editor as it was. When the editor
    // holds unsaved edits, shown or hidden, the user is asked first; No keeps them and only brings
    // the editor to the front.
    void openList(const QString& listFile, const QString& missingPath);

    void FormCreate();
    void FilEdtClick();
    void Edt1CustomButtons0Click();
    void Edt1Modified();
    void FilEdtModified();
    void BtChangeClick();
    void BtSaveClick();
    void LbCloseClick();
    void LbOmClick();

    // The loading window's gauge (for tests and the integrator's checks).
    QProgressBar* loadingGauge() const { return m_gauge; }
    QWidget* loadingWindow() const { return m_loading; }

signals:
    // The about window, not modal.
    void aboutRequested();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bind();
    void FormShow();
    void setStaysOnTop(bool onTop);
    void showLoadingWindow();
    void loadingStep();

    const PictureList& m_list;
    const ThumbnailStrip& m_strip;
    QWidget* m_mainWindow;
    QLabel* m_imgBg;
    QLabel* m_label1;
    QLabel* m_label3;
    QPlainTextEdit* m_filEdt;
    QLineEdit* m_edt1;
    QToolButton* m_edt1Button;
    SpeedButton* m_btChange;
    SpeedButton* m_btSave;
    TransparentImage* m_imgClose;
    QLabel* m_lbClose;
    TransparentImage* m_imgOm;
    QLabel* m_lbOm;
    QWidget* m_loading = nullptr;
    QLabel* m_loadingLabel = nullptr;
    QProgressBar* m_gauge = nullptr;
    QTimer m_loadingTimer;
    QList<int> m_loadingValues; // the gauge's values still to come
    Calls m_calls;
    QString m_openedFile;
};
