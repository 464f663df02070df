#include "MainWindow.h"

#include "ColourOptions.h"
#include "HintSwitch.h"
#include "MainWindowLifecycle.h"
#include "SplashWindow.h"
#include "WindowStateOptions.h"
#include "chrome/AboutWindow.h"
#include "chrome/MainWindowLayout.h"
#include "core/CommandStates.h"
#include "core/Rotation.h"
#include "notify/ChangePopups.h"
#include "notify/TrayIcon.h"
#include "picturelist/ListEditorWindow.h"
#include "picturelist/ListOperations.h"
#include "picturelist/PathDialog.h"
#include "picturelist/PictureList.h"
#include "picturelist/ThumbnailStrip.h"
#include "platform/Guard.h"
#include "platform/ProgramFolder.h"
#include "schedule/CommandButtons.h"
#include "schedule/Countdown.h"
#include "schedule/Scheduler.h"
#include "toolkit/CaptionButton.h"
#include "toolkit/Hint.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/WindowDragger.h"
#include "wallpaper/WallpaperCommands.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QStatusTipEvent>
#include <QTimer>

MainWindow::MainWindow(SplashWindow* splash, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_programFolder(ProgramFolder::path()), m_splash(splash)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tavelvaxlaren"));
    const MainWindowWidgets& c = m_c = MainWindowLayout::build(this);

    // Each subsystem gets the controls it works on and nothing else of the window.
    m_list = std::make_unique<PictureList>(c.lb1);
    m_tray = new TrayIcon(this);
    m_tray->setPopupMenu(c.popTray);
    m_tray->setHint(Countdown::creditText());
    m_hints = new HintSwitch(this);
    m_strip = new ThumbnailStrip({.form = c.form,
                                  .sb1 = c.sb1,
                                  .img = c.img,
                                  .lbNamn = c.lbNamn,
                                  .lbPath = c.lbPath,
                                  .lbSel = c.lbSel,
                                  .pnlBg = c.pnlBg,
                                  .pnlMark = c.pnlMark,
                                  .ram = c.ram,
                                  .abortBild1 = c.abortBild1,
                                  .redigeravaldbild1 = c.redigeravaldbild1},
                                 *m_list, this);
    m_listOps = new ListOperations({.btNy = c.btNy,
                                    .btAdd = c.btAdd,
                                    .btSpara = c.btSpara,
                                    .btOpen = c.btOpen,
                                    .sb1 = c.sb1,
                                    .img = c.img,
                                    .lbLas = c.lbLas,
                                    .lbNum = c.lbNum,
                                    .progBar = c.progBar,
                                    .abortBild1 = c.abortBild1,
                                    .redigeravaldbild1 = c.redigeravaldbild1},
                                   {.showPathDialog =
                                        [this](int index) {
                                            if (m_pathDialog)
                                                m_pathDialog->showEntry(index);
                                        },
                                    .listDropped = [this] { m_c.chkMin->setChecked(false); },
                                    .openListEditor =
                                        [this](const QString& missingPath) {
                                            m_tray->ShowMainWindow();
                                            listEditor()->openList(m_list->listFileName(), missingPath);
                                        }},
                                   *m_list, *m_strip, this);
    m_popups = new ChangePopups(
        {.form = c.form, .pnlBg = c.pnlBg, .pnlMark = c.pnlMark, .ram = c.ram, .timerPop = c.timerPop}, this);
    m_popups->setSplash(m_splash);
    m_rotation = new Rotation({}, {}, this);
    m_commands = new CommandStates(this);
    m_wallpaper = new WallpaperCommands(
        {.btVerkstall = c.btVerkstall, .cmbTyp = c.cmbTyp},
        {.confirmMarked = [this] { m_strip->LB1Click(); },
         .showPopup = [this](const QString& path) { m_popups->VisaPopup(path); },
         .whenPopupShown = [this](ChangePopups::Shown shown) { m_popups->whenShown(std::move(shown)); }},
        *m_list, this);
    m_scheduler =
        new Scheduler({.btStartStop = c.btStartStop,
                       .spinEditTimeInterval = c.spinEditTimeInterval,
                       .cmbTidTyp = c.cmbTidTyp,
                       .chkBlanda = c.chkBlanda,
                       .img = c.img,
                       .timerStart = c.timerStart,
                       .timeLeft = c.timeLeft,
                       .timerMinSek = c.timerMinSek,
                       .starta1 = c.starta1},
                      {.confirmMarked = [this] { m_strip->LB1Click(); },
                       .applyMarked = [this] { m_wallpaper->BtVerkstallClick(); },
                       .apply = [this](const QString& path,
                                       Scheduler::Done done) { m_wallpaper->applyChosen(path, std::move(done)); }},
                      *m_rotation, *m_list, m_programFolder, this);
    m_countdown = new Countdown({.cmbTidTyp = c.cmbTidTyp,
                                 .lbTimeLeft = c.lbTimeLeft,
                                 .lbMinut = c.lbMinut,
                                 .lbSek = c.lbSek,
                                 .lbSek1 = c.lbSek1,
                                 .lbTid = c.lbTid,
                                 .lbDate = c.lbDate,
                                 .timeLeft = c.timeLeft,
                                 .timerMinSek = c.timerMinSek,
                                 .timerTid = c.timerTid},
                                *m_rotation, this);
    new CommandButtons({.btVerkstall = c.btVerkstall,
                        .btAdd = c.btAdd,
                        .btSpara = c.btSpara,
                        .btOpen = c.btOpen,
                        .btNy = c.btNy,
                        .btStartStop = c.btStartStop,
                        .chkBlanda = c.chkBlanda,
                        .cmbTyp = c.cmbTyp,
                        .spinEditTimeInterval = c.spinEditTimeInterval,
                        .cmbTidTyp = c.cmbTidTyp,
                        .abortBild1 = c.abortBild1,
                        .redigeravaldbild1 = c.redigeravaldbild1},
                       *m_commands, this);
    m_windowState = new WindowStateOptions({.form = c.form,
                                            .btMin = c.btMin,
                                            .chkMin = c.chkMin,
                                            .chkTray = c.chkTray,
                                            .chkSysStart = c.chkSysStart,
                                            .chkTips = c.chkTips,
                                            .lbTips = c.lbTips,
                                            .popTray = c.popTray,
                                            .minimera1 = c.minimera1,
                                            .restoreForm1 = c.restoreForm1},
                                           *m_tray, *m_hints, this);
    m_colours = new ColourOptions({.menu = MainWindowLayout::swatchItems(c),
                                   .panel1 = c.panel1,
                                   .panel3 = c.panel3,
                                   .panel4 = c.panel4,
                                   .panel5 = c.panel5,
                                   .pnlBg = c.pnlBg,
                                   .pnlMark = c.pnlMark,
                                   .ram = c.ram,
                                   .lbPath = c.lbPath,
                                   .standardBakgrundsfrg1 = c.standardBakgrundsfrg1,
                                   .standardTextfrg1 = c.standardTextfrg1,
                                   .standardBakgrundsfrg2 = c.standardBakgrundsfrg2,
                                   .standardTextfrg2 = c.standardTextfrg2,
                                   .standardBakgrundsfrg3 = c.standardBakgrundsfrg3,
                                   .standardTextfrg3 = c.standardTextfrg3},
                                  *m_list, m_strip, m_programFolder, this);
    m_lifecycle = std::make_unique<MainWindowLifecycle>(MainWindowLifecycle::Parts{.window = this,
                                                                                   .controls = &m_c,
                                                                                   .splash = m_splash,
                                                                                   .programFolder = m_programFolder,
                                                                                   .list = m_list.get(),
                                                                                   .strip = m_strip,
                                                                                   .listOperations = m_listOps,
                                                                                   .scheduler = m_scheduler,
                                                                                   .countdown = m_countdown,
                                                                                   .windowState = m_windowState,
                                                                                   .colours = m_colours,
                                                                                   .tray = m_tray});

    bind();
    wire();
}

MainWindow::~MainWindow() = default;

void MainWindow::create(std::function<void()> finished)
{
    // A failure in the creation steps is reported; the window is created all the same.
    m_lifecycle->FormCreate([this, finished] {
        // Created once, shown and hidden afterwards; they are not the main window's components.
        m_about = std::make_unique<AboutWindow>(this);
        m_pathDialog = new PathDialog(this, *m_list, *m_listOps);
        if (finished)
            finished();
    });
}

void MainWindow::adoptSplash(std::unique_ptr<SplashWindow> splash)
{
    m_ownedSplash = std::move(splash);
    m_splash = m_ownedSplash.get();
    m_popups->setSplash(m_splash);
    m_lifecycle->setSplash(m_splash);
    connectGuarded(m_splash, &SplashWindow::welcomed, this, [this](const QString& title, const QString& text) {
        m_tray->ShowBalloon(title, text, TrayIcon::BalloonKind::Information, 10);
    });
}

// The one place where one subsystem's announcement reaches another.
void MainWindow::wire()
{
    // Announcements.
    connectGuarded(m_hints, &HintSwitch::windowTip, this, [this](QWidget* window, const QString& tip) {
        if (window != this) // the window's own tips come through event()
            ShowTipLine(tip);
    });
    connectGuarded(m_scheduler, &Scheduler::iconChanged, m_tray, &TrayIcon::setIcon);
    connectGuarded(m_rotation, &Rotation::runningChanged, m_listOps, &ListOperations::setRotationRunning);

    // The state the shared commands' enabled state is worked out from.
    const auto listState = [this] {
        m_commands->setList(m_list->count(), m_list->markedIndex(), m_list->currentIndex());
    };
    connect(m_rotation, &Rotation::runningChanged, m_commands, [this](bool running) {
        m_commands->setRunning(running);
        if (!running)
            m_commands->setApplyAgain(true);
    });
    connect(m_strip, &ThumbnailStrip::selectionChanged, m_commands, listState);
    connect(m_listOps, &ListOperations::listChanged, m_commands, listState);
    connect(m_listOps, &ListOperations::loadingChanged, m_commands, listState);
    connect(m_wallpaper, &WallpaperCommands::placementEdited, m_commands, [this] { m_commands->setApplyAgain(true); });
    connect(m_wallpaper, &WallpaperCommands::applied, m_commands, [this] {
        m_commands->setApplyAgain(false);
        m_commands->setList(m_list->count(), m_list->markedIndex(), m_list->markedIndex());
    });
    connectGuarded(m_scheduler, &Scheduler::hintDue, m_countdown, &Countdown::renewHint);
    // A failed change stays in the tray hint, over the countdown, until a change succeeds or the
    // rotation stops.
    connectGuarded(m_scheduler, &Scheduler::tickFailed, this, [this](const QString& note) {
        m_failureNote = note;
        m_c.lbTips->setText(note);
        m_tray->setHint(note);
    });
    connectGuarded(m_countdown, &Countdown::hintChanged, this, [this](const QString& hint) {
        if (m_failureNote.isEmpty())
            m_tray->setHint(hint);
    });
    connectGuarded(m_scheduler, &Scheduler::iconChanged, this, [this] { m_failureNote.clear(); });
    connectGuarded(m_rotation, &Rotation::runningChanged, this, [this](bool running) {
        if (!running && !m_failureNote.isEmpty()) {
            m_failureNote.clear();
            m_countdown->renewHint();
        }
    });
    connectGuarded(m_listOps, &ListOperations::loadProgressed, this,
                   [this](int maximum, int position, const QString& label) {
                       if (!m_splash || !m_splash->isVisible() || !SplashWindow::showsStep(maximum, position))
                           return;
                       m_splash->setGauge(maximum, position);
                       m_splash->setStatus(label);
                       m_splash->repaintNow();
                       m_listOps->pauseBeforeNextStep(SplashStepPauseMs);
                   });
}

// One editor serves every opening; it is made on first use.
ListEditorWindow* MainWindow::listEditor()
{
    if (!m_editor) {
        m_editor = new ListEditorWindow(
            *m_list, *m_strip,
            {.saveMainList = [this] { m_listOps->BtSparaClick(); },
             .reload = [this](std::function<void()> reloaded) { m_lifecycle->ReloadLastList(std::move(reloaded)); }},
            this);
        connectGuarded(m_editor, &ListEditorWindow::aboutRequested, this, &MainWindow::LbOmClick);
    }
    return m_editor;
}

void MainWindow::bind()
{
    m_popups->bind();
    m_strip->bind();
    m_listOps->bind();
    m_wallpaper->bind();
    m_scheduler->bind();
    m_countdown->bind();
    m_windowState->bind();
    m_colours->bind();

    connectGuarded(m_c.btClose, &SpeedButton::clicked, this, &MainWindow::BtCloseClick);
    connectGuarded(m_c.avsluta1, &QAction::triggered, this, &MainWindow::BtCloseClick);

    // Caption buttons on the skin, and the four areas that drag the frameless window.
    auto* close = new CaptionButton(m_c.imgClose, m_c.lbClose, CaptionButton::closeImages, this);
    auto* minimise = new CaptionButton(m_c.imgMin, m_c.lbMin, CaptionButton::minimiseImages, this);
    auto* about = new CaptionButton(m_c.imgOm, m_c.lbOm, CaptionButton::aboutImages, this);
    connectGuarded(close, &CaptionButton::clicked, this, &MainWindow::BtCloseClick);
    connectGuarded(minimise, &CaptionButton::clicked, this, &MainWindow::Minimera1Click);
    connectGuarded(about, &CaptionButton::clicked, this, &MainWindow::LbOmClick);
    new WindowDragger(this, {m_c.shape1, m_c.shape2, m_c.shape3, m_c.shape4}, this);
}

bool MainWindow::startsMinimised() const
{
    return m_c.chkMin->isChecked();
}

void MainWindow::Minimera1Click()
{
    m_windowState->Minimera1Click();
}

void MainWindow::setTrayIconVisible(bool visible)
{
    m_tray->setIconVisible(visible);
}

void MainWindow::BtCloseClick()
{
    close();
}

void MainWindow::LbOmClick()
{
    if (m_about)
        m_about->showAbout();
}

void MainWindow::ShowTipLine(const QString& hint)
{
    m_c.lbTips->setText(longHint(hint));
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        ShowTipLine(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QWidget::event(event);
}

bool MainWindow::saveCloseValues()
{
    return runGuarded([this] { m_lifecycle->FormClose(); });
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A value that cannot be written keeps the window open and the program running.
    if (!saveCloseValues()) {
        event->ignore();
        return;
    }
    event->accept();
    stopAll();
    emit closed();
}

void MainWindow::stopAll()
{
    m_lifecycle->stop();
    m_listOps->stop();
    m_popups->stopAll();
    for (QTimer* timer : findChildren<QTimer*>())
        timer->stop();
}
