#pragma once

// The controls of the main window, as its layout builds them. Only the main window and its layout
// see them all: each subsystem is handed the small set of controls it works on. Every pointer is
// owned by the main window's widget tree.

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QScrollArea;
class QTimer;
class QWidget;

class BevelPanel;
class DragShape;
class PictureView;
class SpeedButton;
class SpinEdit;
class TransparentImage;

struct MainWindowWidgets
{
    QWidget* form = nullptr; // Form1

    // Skin and caption cluster
    QLabel* imgBg = nullptr;
    TransparentImage* imgClose = nullptr;
    QLabel* lbClose = nullptr;
    TransparentImage* imgOm = nullptr;
    QLabel* lbOm = nullptr;
    TransparentImage* imgMin = nullptr;
    QLabel* lbMin = nullptr;
    DragShape* shape1 = nullptr;
    DragShape* shape2 = nullptr;
    DragShape* shape3 = nullptr;
    DragShape* shape4 = nullptr;

    // The picture list: invisible list box whose items are the paths (PictureList works on it)
    QListWidget* lb1 = nullptr;

    // Panel1, the command bar
    BevelPanel* panel1 = nullptr;
    SpeedButton* btNy = nullptr;
    SpeedButton* btAdd = nullptr;
    SpeedButton* btSpara = nullptr;
    SpeedButton* btOpen = nullptr;
    QLabel* label1 = nullptr;
    BevelPanel* pnlBg = nullptr;
    QLabel* label2 = nullptr;
    BevelPanel* pnlMark = nullptr;
    QLabel* label6 = nullptr;
    SpinEdit* spinEditTimeInterval = nullptr;
    QComboBox* cmbTidTyp = nullptr;
    QLabel* label4 = nullptr;
    QComboBox* cmbTyp = nullptr;
    QCheckBox* chkBlanda = nullptr;
    QLabel* label8 = nullptr;
    SpinEdit* ram = nullptr;
    SpeedButton* btStartStop = nullptr;
    SpeedButton* btVerkstall = nullptr;
    SpeedButton* btMin = nullptr;
    SpeedButton* btClose = nullptr;

    // Panel4, the thumbnail area
    BevelPanel* panel4 = nullptr;
    QScrollArea* sb1 = nullptr;

    // Panel3, the preview
    BevelPanel* panel3 = nullptr;
    QLabel* label5 = nullptr;
    BevelPanel* panel6 = nullptr;
    PictureView* img = nullptr;
    BevelPanel* panel5 = nullptr;
    QLabel* lbNamn = nullptr;
    QLabel* label7 = nullptr;
    QLabel* lbPath = nullptr;
    QCheckBox* chkTray = nullptr;
    QCheckBox* chkTips = nullptr;

    // Panel2, the bottom field
    BevelPanel* panel2 = nullptr;
    QLabel* label3 = nullptr;
    QLabel* lbTimeLeft = nullptr;
    QLabel* lbMinut = nullptr;
    QLabel* lbSek = nullptr;
    QLabel* lbSek1 = nullptr;
    QLabel* lbLas = nullptr;
    QProgressBar* progBar = nullptr;
    QLabel* lbNum = nullptr;
    QLabel* lbSel = nullptr;
    QCheckBox* chkSysStart = nullptr;
    QCheckBox* chkMin = nullptr;
    QLabel* lbTid = nullptr;
    QLabel* lbDate = nullptr;
    QLabel* lbTips = nullptr;

    // Timers
    QTimer* timerTid = nullptr;
    QTimer* timeLeft = nullptr;
    QTimer* timerStart = nullptr;
    QTimer* timerMinSek = nullptr;
    QTimer* timerPop = nullptr;

    // Popup menus and their items
    QMenu* popTray = nullptr;
    QAction* byt1 = nullptr;
    QAction* textfarg1 = nullptr;
    QAction* standardBakgrundsfrg1 = nullptr;
    QAction* standardTextfrg1 = nullptr;
    QAction* starta1 = nullptr;
    QAction* minimera1 = nullptr;
    QAction* restoreForm1 = nullptr;
    QAction* avsluta1 = nullptr;

    QMenu* popProg = nullptr;
    QAction* bytBakgrundsfrg1 = nullptr;
    QAction* bytTextFrg1 = nullptr;
    QAction* standardBakgrundsfrg2 = nullptr;
    QAction* standardTextfrg2 = nullptr;

    QMenu* popInfo = nullptr;
    QAction* bytBakgrundsfrg2 = nullptr;
    QAction* bytTextFrg2 = nullptr;
    QAction* standardBakgrundsfrg3 = nullptr;
    QAction* standardTextfrg3 = nullptr;

    QMenu* popDel = nullptr;
    QAction* abortBild1 = nullptr;
    QAction* redigeravaldbild1 = nullptr;
};
