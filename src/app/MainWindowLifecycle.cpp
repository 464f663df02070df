#include "MainWindowLifecycle.h"

#include "ColourOptions.h"
#include "MainWindow.h"
#include "SplashWindow.h"
#include "WindowStateOptions.h"
#include "chrome/MainWindowLayout.h"
#include "chrome/MenuSwatches.h"
#include "notify/TrayIcon.h"
#include "picturelist/ListOperations.h"
#include "picturelist/PictureList.h"
#include "picturelist/ThumbnailStrip.h"
#include "platform/ColourValue.h"
#include "platform/SettingsStore.h"
#include "schedule/Countdown.h"
#include "schedule/Scheduler.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QThread>
#include <QTimer>

void MainWindowLifecycle::FormCreate()
{
    MainControls& c = m_w.controls();

    // Skin first, so the window has its outline before anything else shows.
    MainWindowLayout::applySkin(c);

    // The date and clock labels.
    m_w.countdown().TimerTidTimer();

    // The icon of the last background, once the rotation has made one.
    const QString iconFile = m_w.programFolder() + QStringLiteral("MinIkon.ico");
    if (QFile::exists(iconFile))
        QApplication::setWindowIcon(QIcon(iconFile));
    m_w.tray().setIcon(QApplication::windowIcon());

    MainWindowLayout::dressControls(c);
    MainWindowLayout::fillCombos(c);

    c.timerStart->stop();
    c.timerMinSek->stop();

    splashPasses();
    readSettings();
    reloadLastList(true);
}

void MainWindowLifecycle::ReloadLastList()
{
    reloadLastList(!m_w.scheduler().isRunning());
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
        QThread::msleep(ChildPauseMs);
        if (splash)
            splash->repaintNow();
    }
    const QList<QObject*> components = m_w.findChildren<QObject*>();
    for (int i = 0; i < components.size(); ++i) {
        if (splash) {
            splash->setGauge(int(components.size()), i);
            splash->setStatus(QStringLiteral("Bygger gränssnitt . . ."));
        }
        QThread::msleep(ComponentPauseMs);
        if (splash)
            splash->repaintNow();
    }
}

// Each value by the reading rule, in the store's order. A value of the wrong type ends the
// whole creation step there: what follows keeps its designed state.
void MainWindowLifecycle::readSettings()
{
    MainControls& c = m_w.controls();
    ColourOptions& colours = m_w.colours();
    SettingsStore store;

    ColourOptions::setSwatch(c.pnlBg, store.integerOrDefault(QStringLiteral("Ramfarg")));
    ColourOptions::setSwatch(c.pnlMark, store.integerOrDefault(QStringLiteral("Markering")));

    // Check boxes run their handlers only when the stored state differs from the shown one.
    c.chkMin->setChecked(store.boolOrDefault(QStringLiteral("Minimerad")));
    c.chkTray->setChecked(store.boolOrDefault(QStringLiteral("IkonSynlig")));
    c.chkSysStart->setChecked(store.boolOrDefault(QStringLiteral("Autostart")));
    c.chkBlanda->setChecked(store.boolOrDefault(QStringLiteral("Blanda")));
    const bool tips = store.boolOrDefault(QStringLiteral("VisaTips"));
    c.chkTips->setChecked(tips);
    if (!tips)
        m_w.windowState().ChkTipsClick(); // a stored "off" is applied, not only shown

    m_w.move(store.integerOrDefault(QStringLiteral("Left")), m_w.y());

    colours.setWindowColour(ColourValue::toColour(store.integerOrDefault(QStringLiteral("BgFarge"))));
    MenuSwatches::repaintWindowColour(c);
    colours.setBottomColour(ColourValue::toColour(store.integerOrDefault(QStringLiteral("BgFargeBotten"))));
    MenuSwatches::repaintBottomColour(c);
    colours.setWindowTextColour(ColourValue::toColour(store.integerOrDefault(QStringLiteral("TextFarge"))));
    MenuSwatches::repaintWindowTextColour(c);
    colours.setBottomTextColour(ColourValue::toColour(store.integerOrDefault(QStringLiteral("TextFargeBotten"))));
    MenuSwatches::repaintBottomTextColour(c);

    m_w.move(m_w.x(), store.integerOrDefault(QStringLiteral("Top")));

    // Indices are applied as stored; one outside its list leaves the box without a selection.
    c.cmbTidTyp->setCurrentIndex(store.integerOrDefault(QStringLiteral("Typ")));
    c.cmbTyp->setCurrentIndex(store.integerOrDefault(QStringLiteral("Screenstyle")));

    c.spinEditTimeInterval->setValue(store.integerOrDefault(QStringLiteral("Mellan")));
    c.btStartStop->setText(store.stringOrDefault(QStringLiteral("Startknapp")));
}

void MainWindowLifecycle::reloadLastList(bool resumeRotation)
{
    MainControls& c = m_w.controls();
    PictureList& list = m_w.pictureList();
    QString lastList;
    bool present = false;
    {
        SettingsStore store;
        present = store.exists(QStringLiteral("Senaste"));
        if (present)
            lastList = store.readString(QStringLiteral("Senaste"));
    }
    // An empty name is no list: nothing to open, no error at every start.
    if (!present || lastList.isEmpty()) {
        list.setListFileName(QString());
        return;
    }

    list.setListFileName(lastList);
    list.readFile(lastList);
    m_w.listOperations().LoadPictureList();
    {
        SettingsStore store;
        list.setMarkedIndex(store.integerOrDefault(QStringLiteral("Vald")));
    }
    m_w.colours().setFolderLabelColour(m_w.colours().windowTextColour());
    c.starta1->setText(c.btStartStop->text());
    m_w.scheduler().SpinEditTimeIntervalChange();
    m_w.scheduler().CmbTidTypChange();
    m_w.strip().LB1Click();
    if (resumeRotation && c.btStartStop->text() == QLatin1String("&Stoppa"))
        m_w.scheduler().BtStartStopClick();
}

void MainWindowLifecycle::FormClose()
{
    MainControls& c = m_w.controls();
    m_w.tray().HideBalloon();
    SettingsStore store;
    store.writeBool(QStringLiteral("Minimerad"), c.chkMin->isChecked());
    store.writeBool(QStringLiteral("IkonSynlig"), c.chkTray->isChecked());
    store.writeBool(QStringLiteral("Autostart"), c.chkSysStart->isChecked());
    store.writeBool(QStringLiteral("VisaTips"), c.chkTips->isChecked());
    store.writeInteger(QStringLiteral("Left"), m_w.x());
    store.writeInteger(QStringLiteral("Top"), m_w.y());
    store.writeInteger(QStringLiteral("Typ"), c.cmbTidTyp->currentIndex());
    store.writeInteger(QStringLiteral("Screenstyle"), c.cmbTyp->currentIndex());
    store.writeString(QStringLiteral("Startknapp"), c.btStartStop->text());
    store.writeInteger(QStringLiteral("Vald"), std::max(0, c.lb1->currentRow()));
    store.writeBool(QStringLiteral("Blanda"), c.chkBlanda->isChecked());
}

void MainWindowLifecycle::FormDestroy()
{
    // The splash was only hidden when it closed; the main window frees it (its unique_ptr).
}
