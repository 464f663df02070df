#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class HintSwitch;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QWidget;
class SpeedButton;
class TrayIcon;

// How the program shows itself: minimise into the notification area or not, the icon,
// starting with the session, hints and the tip line.
class WindowStateOptions : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        QWidget* form;
        SpeedButton* btMin;
        QCheckBox* chkMin;
        QCheckBox* chkTray;
        QCheckBox* chkSysStart;
        QCheckBox* chkTips;
        QLabel* lbTips;
        QMenu* popTray;
        QAction* minimera1;
        QAction* restoreForm1;
    };

    WindowStateOptions(Controls controls, TrayIcon& tray, HintSwitch& hints, QObject* parent = nullptr);

    void bind();

    void Minimera1Click();
    void BtMinClick();
    void RestoreForm1Click();
    void ChkMinClick();
    void ChkTrayClick();
    void ChkSysStartClick();
    void ChkTipsClick();

private:
    void setMenuShown(bool shown);
    // Without the notification area every window of the program goes to the task bar together,
    // and those that went come back together.
    void minimiseAll();
    void restoreAll();

    Controls m_c;
    TrayIcon& m_tray;
    HintSwitch& m_hints;
    QList<QPointer<QWidget>> m_minimisedWindows;
};
