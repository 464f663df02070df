#include "MainWindowLifecycle.h"

#include "ColourOptions.h"
#include "SplashWindow.h"
#include "WindowStateOptions.h"
#include "chrome/MainWindowLayout.h"
#include "chrome/MenuSwatches.h"
#include "notify/TrayIcon.h"
#include "picture/IconFile.h"
#include "picturelist/ListOperations.h"
#include "picturelist/PictureList.h"
#include "picturelist/ThumbnailStrip.h"
#include "platform/ColourValue.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/SettingsStore.h"
#include "schedule/Countdown.h"
#include "schedule/Scheduler.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/PictureView.h"
#include "toolkit/ScreenFit.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QTimer>

MainWindowLifecycle::MainWindowLifecycle(Parts parts) : m_p(std::move(parts)), m_binding(makeBinding()) {}

void MainWindowLifecycle::FormCreate(std::function<void()> finished)
{
    QWidget* window = m_p.window;
    auto children = std::make_shared<int>(0);
    auto components = std::make_shared<int>(0);
    m_steps = std::make_unique<Steps>();
    m_steps
        ->then([this] { dress(); })
        // Both passes only drive the splash: one step per child control, then per component.
        .loop([=] { return *children = int(window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size()); },
              [this, children](int i) {
                  if (SplashWindow* s = m_p.splash) {
                      s->setPercentVisible(true);
                      s->setGauge(*children, i);
                      s->setStatus(QStringLiteral("Lägger till byggmaterial . . ."));
                  }
              },
              ChildPauseMs,
              [this](int) {
                  if (SplashWindow* s = m_p.splash)
                      s->repaintNow();
              })
        .loop([=] { return *components = int(window->findChildren<QObject*>().size()); },
              [this, components](int i) {
                  if (SplashWindow* s = m_p.splash) {
                      s->setGauge(*components, i);
                      s->setStatus(QStringLiteral("Bygger gränssnitt . . ."));
                  }
              },
              ComponentPauseMs,
              [this](int) {
                  if (SplashWindow* s = m_p.splash)
                      s->repaintNow();
              })
        .then([this] { readSettings(); })
        // The load runs from the event loop too; the steps after it wait for its end.
        .thenWait([this](Steps::Done done) {
            m_listLoaded = false;
            const bool opened = openLastList([this, done](bool ended) {
                m_listLoaded = ended;
                done();
            });
            if (!opened)
                done();
        })
        .thenWait([this](Steps::Done done) {
            if (m_listLoaded)
                afterListLoaded(true, [done](bool) { done(); });
            else
                done();
        });
    m_steps->start([finished](std::exception_ptr failure) {
        if (failure)
            runGuarded([&] { std::rethrow_exception(failure); });
        if (finished)
            finished();
    });
}

void MainWindowLifecycle::stop()
{
    if (m_steps)
        m_steps->cancel();
}

void MainWindowLifecycle::ReloadLastList(std::function<void()> reloaded)
{
    const bool resume = !m_p.scheduler->isRunning();
    const bool opened = openLastList([this, resume, reloaded](bool ended) {
        if (ended)
            runGuarded([&] {
                afterListLoaded(resume, [reloaded](bool shown) {
                    if (shown && reloaded)
                        reloaded();
                });
            });
    });
    if (!opened && reloaded)
        reloaded();
}

void MainWindowLifecycle::dress()
{
    MainWindowWidgets& c = *m_p.controls;
    // Skin first, so the window has its outline before anything else shows.
    MainWindowLayout::applySkin(c);

    // The date and clock labels.
    m_p.countdown->TimerTidTimer();

    // The icon of the last background, once the rotation has made one.
    const QString iconFile = m_p.programFolder + QStringLiteral("MinIkon.ico");
    const IconFile::Result icon = IconFile::read(iconFile);
    if (!icon.image.isNull())
        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon.image)));
    else if (!icon.problem.isEmpty())
        Dialogs::instance().showMessage(icon.problem);
    m_p.tray->setIcon(QApplication::windowIcon());

    MainWindowLayout::dressControls(c);
    MainWindowLayout::fillCombos(c);

    c.timerStart->stop();
    c.timerMinSek->stop();
}

// Every stored value and the control that shows it, in one list: read at creation, written at close.
SettingsBinding MainWindowLifecycle::makeBinding()
{
    MainWindowWidgets& c = *m_p.controls;
    QWidget* w = m_p.window;
    ColourOptions* colours = m_p.colours;
    const MenuSwatches::Items swatches = MainWindowLayout::swatchItems(c);
    const auto integer = [](const QVariant& v) { return v.value<qint32>(); };
    const auto colour = [](const QVariant& v) { return ColourValue::toColour(v.value<qint32>()); };
    // Check boxes run their handlers only when the stored state differs from the shown one.
    const auto box = [](QCheckBox* b) {
        return std::pair{[b](const QVariant& v) { b->setChecked(v.toBool()); },
                         [b] { return QVariant(b->isChecked()); }};
    };
    const auto [minApply, minCollect] = box(c.chkMin);
    const auto [trayApply, trayCollect] = box(c.chkTray);
    const auto [autoApply, autoCollect] = box(c.chkSysStart);
    const auto [blandaApply, blandaCollect] = box(c.chkBlanda);
    return SettingsBinding({
        {Setting::Ramfarg, [=, p = c.pnlBg](const QVariant& v) { ColourOptions::setSwatch(p, integer(v)); }, {}},
        {Setting::Markering, [=, p = c.pnlMark](const QVariant& v) { ColourOptions::setSwatch(p, integer(v)); }, {}},
        {Setting::Minimerad, minApply, minCollect},
        {Setting::IkonSynlig, trayApply, trayCollect},
        {Setting::Autostart, autoApply, autoCollect},
        {Setting::Blanda, blandaApply, blandaCollect},
        {Setting::VisaTips,
         [chk = c.chkTips, ws = m_p.windowState](const QVariant& v) {
             chk->setChecked(v.toBool());
             if (!v.toBool())
                 ws->ChkTipsClick(); // a stored "off" is applied, not only shown
         },
         [chk = c.chkTips] { return QVariant(chk->isChecked()); }},
        {Setting::Left, [=](const QVariant& v) { w->move(integer(v), w->y()); }, [w] { return QVariant(w->x()); }},
        {Setting::BgFarge,
         [=](const QVariant& v) {
             colours->setWindowColour(colour(v));
             MenuSwatches::repaintWindowColour(swatches);
         },
         {}},
        {Setting::BgFargeBotten,
         [=](const QVariant& v) {
             colours->setBottomColour(colour(v));
             MenuSwatches::repaintBottomColour(swatches);
         },
         {}},
        {Setting::TextFarge,
         [=](const QVariant& v) {
             colours->setWindowTextColour(colour(v));
             MenuSwatches::repaintWindowTextColour(swatches);
         },
         {}},
        {Setting::TextFargeBotten,
         [=](const QVariant& v) {
             colours->setBottomTextColour(colour(v));
             MenuSwatches::repaintBottomTextColour(swatches);
         },
         {}},
        {Setting::Top,
         [=](const QVariant& v) {
             w->move(w->x(), integer(v));
             ScreenFit::keepOnScreen(w);
         },
         [w] { return QVariant(w->y()); }},
        // Indices are applied as read; setting one runs no change handler.
        {Setting::Typ, [=, b = c.cmbTidTyp](const QVariant& v) { b->setCurrentIndex(integer(v)); },
         [b = c.cmbTidTyp] { return QVariant(b->currentIndex()); }},
        {Setting::Screenstyle, [=, b = c.cmbTyp](const QVariant& v) { b->setCurrentIndex(integer(v)); },
         [b = c.cmbTyp] { return QVariant(b->currentIndex()); }},
        {Setting::Mellan, [=, s = c.spinEditTimeInterval](const QVariant& v) { s->setValue(integer(v)); }, {}},
        {Setting::Startknapp, [s = m_p.scheduler](const QVariant& v) { s->restoreCaption(v.toString()); },
         [s = m_p.scheduler] { return QVariant(s->storedCaption()); }},
        // "Senaste" and "Vald" are read by the list's reload; "Vald" is written at close.
        // Not while the last list is still loading: the stored choice is not applied yet.
        {Setting::Vald,
         {},
         [this] { return m_listPending ? QVariant() : QVariant(std::max(0, m_p.list->markedIndex())); }},
    });
}

// A value of the wrong type ends the whole creation step there: what follows keeps its designed state.
void MainWindowLifecycle::readSettings()
{
    m_valuesRead = true;
    SettingsStore store;
    m_binding.applyAll(store);
}

bool MainWindowLifecycle::openLastList(std::function<void(bool ended)> loaded)
{
    PictureList& list = *m_p.list;
    QString lastList;
    {
        SettingsStore store;
        lastList = store.stringOrDefault(Setting::Senaste);
    }
    // An empty name is no list: nothing to open, no error at every start.
    if (lastList.isEmpty()) {
        list.setListFileName(QString());
        return false;
    }
    m_listPending = true;
    list.setListFileName(lastList);
    list.readFile(lastList);
    m_p.listOperations->LoadPictureList(std::move(loaded));
    return true;
}

void MainWindowLifecycle::afterListLoaded(bool resumeRotation, std::function<void(bool shown)> ended)
{
    Scheduler& scheduler = *m_p.scheduler;
    {
        SettingsStore store;
        m_p.list->setMarkedIndex(store.integerOrDefault(Setting::Vald));
    }
    m_listPending = false;
    m_p.colours->setFolderLabelColour(m_p.colours->windowTextColour());
    // A running countdown goes on from where it stands: its interval is locked and unchanged.
    if (!scheduler.isRunning()) {
        scheduler.SpinEditTimeIntervalChange();
        scheduler.CmbTidTypChange();
    }
    m_p.strip->LB1Click();
    // The confirmed picture is decoded off this thread; what followed its load waits for it.
    m_p.controls->img->whenLoaded(m_p.window, [this, resumeRotation, ended](const PictureView::Failure& failure) {
        if (failure) {
            Dialogs::instance().reportError(*failure);
        } else if (resumeRotation && m_p.scheduler->resumePending()) {
            runGuarded([this] { m_p.scheduler->BtStartStopClick(); });
        }
        ended(!failure);
    });
}

void MainWindowLifecycle::FormClose()
{
    m_p.tray->HideBalloon();
    if (!m_valuesRead)
        return;
    SettingsStore store;
    m_binding.collectAll(store);
}
