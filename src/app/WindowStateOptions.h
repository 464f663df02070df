#pragma once

#include <QObject>

struct MainControls;
class TrayIcon;
class HintSwitch;

// How the program shows itself: minimise into the notification area or not, the icon,
// starting with the session, hints and the tip line.
class WindowStateOptions : public QObject
{
    Q_OBJECT

public:
    WindowStateOptions(MainControls& controls, TrayIcon& tray, HintSwitch& hints, QObject* parent = nullptr);

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

    MainControls& m_c;
    TrayIcon& m_tray;
    HintSwitch& m_hints;
};
