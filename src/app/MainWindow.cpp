#include "MainWindow.h"

#include "ColourOptions.h"
#include "HintSwitch.h"
#include "ListEditorLink.h"
#include "MainWindowLifecycle.h"
#include "PathDialog.h"
#include "SplashWindow.h"
#include "WindowStateOptions.h"
#include "chrome/AboutWindow.h"
#include "chrome/CaptionButton.h"
#include "chrome/MainWindowLayout.h"
#include "chrome/WindowDragger.h"
#include "notify/ChangePopups.h"
#include "notify/TrayIcon.h"
#include "picturelist/ListOperations.h"
#include "picturelist/PictureList.h"
#include "picturelist/ThumbnailStrip.h"
#include "platform/Guard.h"
#include "platform/ProgramFolder.h"
#include "schedule/Countdown.h"
#include "schedule/Scheduler.h"
#include "toolkit/SpeedButton.h"
#include "wallpaper/WallpaperCommands.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QStatusTipEvent>

MainWindow::MainWindow(SplashWindow* splash, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint), m_programFolder(ProgramFolder::path()), m_splash(splash)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tavelvaxlaren"));
    m_c = MainWindowLayout::build(this);

    m_list = std::make_unique<PictureList>(m_c.lb1);
    m_tray = new TrayIcon(this);
    m_tray->setPopupMenu(m_c.popTray);
    m_tray->setHint(Countdown::creditText());
    m_hints = new HintSwitch(this);

    m_strip = new ThumbnailStrip(m_c, *m_list, this);
    m_listOps = new ListOperations(m_c, *m_list, *m_strip, this);
    m_listOps->setSplashGauge({[this] { return m_splash && m_splash->isVisible(); },
                               [this](int maximum, int position, const QString& label) {
                                   m_splash->setGauge(maximum, position);
                                   m_splash->setStatus(label);
                                   m_splash->repaintNow();
                               }});

    m_popups = new ChangePopups(m_c, {[this] { return m_splash && m_splash->isVisible(); }, {}}, this);
    m_wallpaper = new WallpaperCommands(
        m_c, {[this] { m_strip->LB1Click(); }, [this](const QString& path) { m_popups->VisaPopup(path); }}, this);

    Scheduler::Hooks hooks;
    hooks.lb1Click = [this] { m_strip->LB1Click(); };
    hooks.btVerkstallClick = [this] { m_wallpaper->BtVerkstallClick(); };
    hooks.applyWallpaper = [this](const QString& path, int placement) {
        if (const auto strings = WallpaperCommands::placementStrings(placement))
            m_wallpaper->ApplyWallpaper(path, strings->first, strings->second);
    };
    hooks.setTrayIcon = [this](const QIcon& icon) { m_tray->setIcon(icon); };
    hooks.setTrayHint = [this](const QString& hint) { m_tray->setHint(hint); };
    hooks.listCount = [this] { return m_list->count(); };
    hooks.markedIndex = [this] { return m_list->markedIndex(); };
    hooks.setMarkedIndex = [this](int k) { m_list->setMarkedIndex(k); };
    hooks.path = [this](int k) { return m_list->path(k); };
    m_scheduler = new Scheduler(m_c, hooks, m_programFolder, this);
    m_countdown = new Countdown(
        m_c, m_scheduler->state(), [this](const QString& hint) { m_tray->setHint(hint); }, this);

    m_windowState = new WindowStateOptions(m_c, *m_tray, *m_hints, this);
    m_colours = new ColourOptions(m_c, m_strip, m_programFolder, this);

    bind();
    m_lifecycle = std::make_unique<MainWindowLifecycle>(*this);
    m_listOps->setListEditorOpener(listEditorOpener(*this, [this] { m_lifecycle->ReloadLastList(); }));
    // A failure in the creation steps is reported; the window is created all the same.
    runGuarded([this] { m_lifecycle->FormCreate(); });

    // Created once, shown and hidden afterwards.
    m_about = std::make_unique<AboutWindow>(this);
    m_pathDialog = new PathDialog(this, *m_list, *m_listOps);
}

MainWindow::~MainWindow()
{
    m_lifecycle->FormDestroy();
}

void MainWindow::adoptSplash(std::unique_ptr<SplashWindow> splash)
{
    m_ownedSplash = std::move(splash);
    m_splash = m_ownedSplash.get();
    m_splash->setBalloonHandler([this](const QString& title, const QString& text) {
        m_tray->ShowBalloon(title, text, TrayIcon::BalloonKind::Information, 10);
    });
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
    m_about->showAbout();
}

void MainWindow::ShowTipLine(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    m_c.lbTips->setText(bar < 0 ? hint : hint.mid(bar + 1));
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        ShowTipLine(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QWidget::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A value that cannot be written keeps the window open and the program running.
    if (!runGuarded([this] { m_lifecycle->FormClose(); })) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}
