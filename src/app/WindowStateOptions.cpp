#include "WindowStateOptions.h"

#include "HintSwitch.h"
#include "notify/TrayIcon.h"
#include "platform/Autostart.h"
#include "platform/Guard.h"
#include "platform/ProgramFolder.h"
#include "platform/SettingsStore.h"
#include "toolkit/SpeedButton.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>

WindowStateOptions::WindowStateOptions(Controls controls, TrayIcon& tray, HintSwitch& hints, QObject* parent)
    : QObject(parent), m_c(controls), m_tray(tray), m_hints(hints)
{
}

void WindowStateOptions::bind()
{
    connectGuarded(m_c.minimera1, &QAction::triggered, this, &WindowStateOptions::Minimera1Click);
    connectGuarded(m_c.restoreForm1, &QAction::triggered, this, &WindowStateOptions::RestoreForm1Click);
    connectGuarded(m_c.btMin, &SpeedButton::clicked, this, &WindowStateOptions::BtMinClick);
    connectGuarded(m_c.chkMin, &QCheckBox::toggled, this, &WindowStateOptions::ChkMinClick);
    connectGuarded(m_c.chkTray, &QCheckBox::toggled, this, &WindowStateOptions::ChkTrayClick);
    connectGuarded(m_c.chkSysStart, &QCheckBox::toggled, this, &WindowStateOptions::ChkSysStartClick);
    connectGuarded(m_c.chkTips, &QCheckBox::toggled, this, &WindowStateOptions::ChkTipsClick);
    // The window was hidden into an area that has gone: nothing else could bring it back.
    connectGuarded(&m_tray, &TrayIcon::areaLost, this, &WindowStateOptions::RestoreForm1Click);
}

// Exactly one of the two items is enabled and the default: the one that changes the window's state.
void WindowStateOptions::setMenuShown(bool shown)
{
    m_c.minimera1->setEnabled(shown);
    m_c.restoreForm1->setEnabled(!shown);
    m_c.popTray->setDefaultAction(shown ? m_c.minimera1 : m_c.restoreForm1);
}

void WindowStateOptions::Minimera1Click()
{
    setMenuShown(false);
    // Hidden only while the program's own icon in a notification area can lead back to it;
    // otherwise the task bar does.
    if (m_c.chkMin->isChecked() && TrayIcon::areaAvailable() && m_tray.iconVisible())
        m_tray.HideMainWindow();
    else
        minimiseAll();
}

void WindowStateOptions::minimiseAll()
{
    m_minimisedWindows.clear();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        // The list editor and the path dialog; the popup, the splash and the about card are tools.
        const bool program = window->windowType() == Qt::Window || window->windowType() == Qt::Dialog;
        if (window != m_c.form && program && window->isVisible() && !window->isMinimized()) {
            m_minimisedWindows << window;
            window->showMinimized();
        }
    }
    m_c.form->showMinimized();
}

void WindowStateOptions::restoreAll()
{
    for (QWidget* window : std::as_const(m_minimisedWindows) + QList<QPointer<QWidget>>{m_c.form}) {
        if (!window)
            continue;
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
    }
    m_minimisedWindows.clear();
}

void WindowStateOptions::BtMinClick()
{
    setMenuShown(false);
    Minimera1Click();
}

void WindowStateOptions::RestoreForm1Click()
{
    setMenuShown(true);
    // A window hidden into the area comes back through the icon; minimised ones come back together.
    if (m_c.chkMin->isChecked() && !m_c.form->isMinimized())
        m_tray.ShowMainWindow();
    else
        restoreAll();
    m_tray.ShowAppWindow();
}

void WindowStateOptions::ChkMinClick()
{
    if (m_c.chkTray->isChecked()) {
        {
            SettingsStore store;
            store.writeBool(Setting::Minimerad, m_c.chkMin->isChecked());
        }
        m_tray.setIconVisible(true);
    } else {
        m_tray.setIconVisible(false);
    }
    m_tray.ShowAppWindow();
}

void WindowStateOptions::ChkTrayClick()
{
    m_tray.setIconVisible(m_c.chkTray->isChecked());
}

void WindowStateOptions::ChkSysStartClick()
{
    if (m_c.chkSysStart->isChecked())
        Autostart::enable(ProgramFolder::executablePath());
    else
        Autostart::disable();
}

void WindowStateOptions::ChkTipsClick()
{
    const bool on = m_c.chkTips->isChecked();
    m_hints.setEnabled(on);
    m_c.lbTips->setVisible(on);
}
