#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

class QMenu;
class QWidget;

// The notification-area icon: picture, tip, balloon, popup menu, and hiding and restoring the
// main window. An activation (a click on hosts that send only that, a double-click on trays
// that send double-clicks) runs the menu's default item once.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    enum class BalloonKind
    {
        None = 0,
        Information = 1,
        Warning = 2,
        Error = 3
    };

    explicit TrayIcon(QWidget* mainWindow);
    ~TrayIcon() override;

    void setIconVisible(bool visible);
    bool iconVisible() const { return m_visible; }
    void setIcon(const QIcon& icon);
    QIcon icon() const { return m_icon; }
    // The tip shows the first 127 characters.
    void setHint(const QString& hint);
    QString hint() const { return m_hint; }
    // Only the tip actually shown: empty when hints are off.
    QString shownTip() const;
    void setShowHint(bool show);
    void setPopupMenu(QMenu* menu);

    // Title cut to 63, text to 255 characters. Shown only while the icon is in the notification area.
    bool ShowBalloon(const QString& title, const QString& text, BalloonKind kind, int seconds);
    void HideBalloon();
    QString lastBalloonText() const { return m_balloonText; }

    // Whether the session has a notification area to hide into.
    static bool areaAvailable();
    // Hides the main window; while it is hidden the area is watched, and areaLost() reports
    // when it goes away, leaving nothing that leads back to the window.
    void HideMainWindow();
    void ShowMainWindow();
    // There is no separate application window to hide on this toolkit: the main window is it.
    void HideAppWindow() {}
    void ShowAppWindow() {}

    // Runs the default item of the popup menu, as a double-click on the icon does.
    void runDefaultItem();
    // What the notification area reported. A click waits one double-click time: a double-click
    // arriving then takes its place, and a second click then belongs to the same activation.
    void activate(QSystemTrayIcon::ActivationReason reason);

signals:
    void areaLost();

private:
    void updateIcon();
    void watchArea();

    QPointer<QWidget> m_mainWindow;
    QSystemTrayIcon* m_tray;
    QTimer m_clickWait;
    QTimer m_areaWatch;
    bool m_doubleClicks = false; // the tray has sent a double-click: clicks alone do nothing
    QPointer<QMenu> m_menu;
    QIcon m_icon;
    QString m_hint;
    QString m_balloonText;
    bool m_visible = false;
    bool m_showHint = true;
};
