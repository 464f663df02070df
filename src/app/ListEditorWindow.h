#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QToolButton;
class SpeedButton;
class TransparentImage;

// FmEdtLst, the list editor: shows a list file as text so the user can repair a path that names
// no file, and saves the text back to the list file. One window serves every opening; closing
// only hides it.
class ListEditorWindow : public QWidget
{
    Q_OBJECT

public:
    // What the editor needs of the main window.
    struct Hooks
    {
        std::function<QString()> listFileName; // the current list file (the list-open dialog's name)
        std::function<void()> saveMainList;    // BtSparaClick, when the editor has opened no list file
        std::function<void()> reload;          // settings read again, last list reloaded, selection restored
        std::function<int()> listCount;        // entries after the reload
        std::function<int()> cardCount;        // thumbnail cards after the reload
        std::function<void()> showAbout;       // the about window, not modal
    };

    static const QString LoadingText;

    // mainWindow gives the editor its colours when shown, and owns it.
    explicit ListEditorWindow(Hooks hooks, QWidget* mainWindow = nullptr);

    // Loads the list file into the memo (the file that its save writes), selects the first match of missingPath (letter
    // case ignored) and puts it into Edt1, and shows the editor on top. A file that cannot be read throws AppError and
    // leaves the editor as it was.
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

    // The pause after each step of the loading window, 100 ms by default.
    void setLoadingPauseMs(int ms) { m_loadingPauseMs = ms; }
    // The loading window's gauge (for tests and the integrator's checks).
    QProgressBar* loadingGauge() const { return m_gauge; }
    QWidget* loadingWindow() const { return m_loading; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bind();
    void FormShow();
    void setStaysOnTop(bool onTop);
    void showLoadingWindow();

    Hooks m_hooks;
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
    int m_loadingPauseMs = 100;
    QString m_openedFile;
};
