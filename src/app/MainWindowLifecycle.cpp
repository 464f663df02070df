#include "MainWindowLifecycle.h"

#include "ColourOptions.h"
#include "MainWindow.h"
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
#include "platform/Pause.h"
#include "platform/SettingsStore.h"
#include "schedule/Countdown.h"
#include "schedule/Scheduler.h"
#include "toolkit/BevelPanel.h"
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
#include <QThread>
#include <QTimer>

void MainWindowLifecycle::FormCreate(std::function<void()> created)
{
    MainWindowWidgets& c = m_w.controls();

    // Skin first, so the window has its outline before anything else shows.
    MainWindowLayout::applySkin(c);

    // The date and clock labels.
    m_w.countdown().TimerTidTimer();

    // The icon of the last background, once the rotation has made one.
    const QString iconFile = m_w.programFolder() + QStringLiteral("MinIkon.ico");
    const IconFile::Result icon = IconFile::read(iconFile);
    if (!icon.image.isNull())
        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon.image)));
    else if (!icon.problem.isEmpty())
        Dialogs::instance().showMessage(icon.problem);
    m_w.tray().setIcon(QApplication::windowIcon());

    MainWindowLayout::dressControls(c);
    MainWindowLayout::fillCombos(c);

    c.timerStart->stop();
    c.timerMinSek->stop();

    splashPasses();
    readSettings();
    reloadLastList(true, [created](bool) {
        if (created)
            created();
    });
}

void MainWindowLifecycle::ReloadLastList(std::function<void()> reloaded)
{
    reloadLastList(!m_w.scheduler().isRunning(), [reloaded](bool ok) {
        if (ok && reloaded)
            reloaded();
    });
}

void MainWindowLifecycle::splashPasses()
{
    SplashWindow* splash = m_w.splash();
    const QList<QWidget*> children = m_w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (int i = 0; i < children.size(); ++i) {
        if (splash) {
            splash->setPercentVisible(true);
            splash->setGauge(int(children.size()), i);
            splash->setStatus(QStringLiteral("Lägger till byggmaterial . . ."));
        }
        Pause::ms(ChildPauseMs);
        if (splash)
            splash->repaintNow();
    }
    const QList<QObject*> components = m_w.findChildren<QObject*>();
    for (int i = 0; i < components.size(); ++i) {
        if (splash) {
            splash->setGauge(int(components.size()), i);
            splash->setStatus(QStringLiteral("Bygger gränssnitt . . ."));
        }
        Pause::ms(ComponentPauseMs);
        if (splash)
            splash->repaintNow();
    }
}

// Each value by the reading rule, in the store's order. A value of the wrong type ends the
// whole creation step there: what follows keeps its designed state.
void MainWindowLifecycle::readSettings()
{
    MainWindowWidgets& c = m_w.controls();
    ColourOptions& colours = m_w.colours();
    SettingsStore store;

    ColourOptions::setSwatch(c.pnlBg, store.integerOrDefault(Setting::Ramfarg));
    ColourOptions::setSwatch(c.pnlMark, store.integerOrDefault(Setting::Markering));

    // Check boxes run their handlers only when the stored state differs from the shown one.
    c.chkMin->setChecked(store.boolOrDefault(Setting::Minimerad));
    c.chkTray->setChecked(store.boolOrDefault(Setting::IkonSynlig));
    c.chkSysStart->setChecked(store.boolOrDefault(Setting::Autostart));
    c.chkBlanda->setChecked(store.boolOrDefault(Setting::Blanda));
    const bool tips = store.boolOrDefault(Setting::VisaTips);
    c.chkTips->setChecked(tips);
    if (!tips)
        m_w.windowState().ChkTipsClick(); // a stored "off" is applied, not only shown

    m_w.move(store.integerOrDefault(Setting::Left), m_w.y());

    const MenuSwatches::Items swatches = MainWindowLayout::swatchItems(c);
    colours.setWindowColour(ColourValue::toColour(store.integerOrDefault(Setting::BgFarge)));
    MenuSwatches::repaintWindowColour(swatches);
    colours.setBottomColour(ColourValue::toColour(store.integerOrDefault(Setting::BgFargeBotten)));
    MenuSwatches::repaintBottomColour(swatches);
    colours.setWindowTextColour(ColourValue::toColour(store.integerOrDefault(Setting::TextFarge)));
    MenuSwatches::repaintWindowTextColour(swatches);
    colours.setBottomTextColour(ColourValue::toColour(store.integerOrDefault(Setting::TextFargeBotten)));
    MenuSwatches::repaintBottomTextColour(swatches);

    m_w.move(m_w.x(), store.integerOrDefault(Setting::Top));
    ScreenFit::keepOnScreen(&m_w);

    // Indices are applied as stored; one outside its list leaves the box without a selection.
    c.cmbTidTyp->setCurrentIndex(store.integerOrDefault(Setting::Typ));
    c.cmbTyp->setCurrentIndex(store.integerOrDefault(Setting::Screenstyle));

    c.spinEditTimeInterval->setValue(store.integerOrDefault(Setting::Mellan));
    m_w.scheduler().restoreCaption(store.stringOrDefault(Setting::Startknapp));
}

void MainWindowLifecycle::reloadLastList(bool resumeRotation, std::function<void(bool ok)> reloaded)
{
    PictureList& list = m_w.pictureList();
    QString lastList;
    bool present = false;
    {
        SettingsStore store;
        present = store.exists(Setting::Senaste);
        if (present)
            lastList = store.readString(Setting::Senaste);
    }
    // An empty name is no list: nothing to open, no error at every start.
    if (!present || lastList.isEmpty()) {
        list.setListFileName(QString());
        reloaded(true);
        return;
    }

    list.setListFileName(lastList);
    list.readFile(lastList);
    // The steps after the load wait for its end; an error in it ends them.
    m_w.listOperations().LoadPictureList([this, resumeRotation, reloaded](bool ended) {
        const bool ok = ended && runGuarded([this, resumeRotation] {
                            {
                                SettingsStore store;
                                m_w.pictureList().setMarkedIndex(store.integerOrDefault(Setting::Vald));
                            }
                            m_w.colours().setFolderLabelColour(m_w.colours().windowTextColour());
                            // A running countdown goes on from where it stands: its interval is locked and
                            // unchanged.
                            if (!m_w.scheduler().isRunning()) {
                                m_w.scheduler().SpinEditTimeIntervalChange();
                                m_w.scheduler().CmbTidTypChange();
                            }
                            m_w.strip().LB1Click();
                            if (resumeRotation && m_w.scheduler().resumePending())
                                m_w.scheduler().BtStartStopClick();
                        });
        reloaded(ok);
    });
}

void MainWindowLifecycle::FormClose()
{
    MainWindowWidgets& c = m_w.controls();
    m_w.tray().HideBalloon();
    SettingsStore store;
    store.writeBool(Setting::Minimerad, c.chkMin->isChecked());
    store.writeBool(Setting::IkonSynlig, c.chkTray->isChecked());
    store.writeBool(Setting::Autostart, c.chkSysStart->isChecked());
    store.writeBool(Setting::VisaTips, c.chkTips->isChecked());
    store.writeInteger(Setting::Left, m_w.x());
    store.writeInteger(Setting::Top, m_w.y());
    store.writeInteger(Setting::Typ, c.cmbTidTyp->currentIndex());
    store.writeInteger(Setting::Screenstyle, c.cmbTyp->currentIndex());
    store.writeString(Setting::Startknapp, m_w.scheduler().storedCaption());
    store.writeInteger(Setting::Vald, std::max(0, m_w.pictureList().markedIndex()));
    store.writeBool(Setting::Blanda, c.chkBlanda->isChecked());
}
