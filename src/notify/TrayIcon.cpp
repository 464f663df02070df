#include "TrayIcon.h"

#include "platform/Guard.h"

#include <QAction>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

TrayIcon::TrayIcon(QWidget* mainWindow, AreaKind areaKind)
    : QObject(mainWindow), m_mainWindow(mainWindow), m_tray(new QSystemTrayIcon(this)), m_areaKind(areaKind)
{
    setObjectName(QStringLiteral("Tray"));
    connect(m_tray, &QSystemTrayIcon::activated, this, &TrayIcon::activate);
    // Qt tells no one when the area goes away; asking every two seconds costs nothing noticeable.
    m_areaWatch.setInterval(2000);
    connect(&m_areaWatch, &QTimer::timeout, this, &TrayIcon::watchArea);
}

TrayIcon::AreaKind TrayIcon::detectedAreaKind()
{
    // Qt's icon is a StatusNotifierItem when a host has registered with the session bus's watcher
    // at the first use of a tray icon, and otherwise an XEmbed icon; Qt keeps that choice for the
    // process, and so does this.
    static const AreaKind kind = [] {
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("windows") || platform == QLatin1String("direct2d"))
            return AreaKind::DoubleClicks;
        const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcher))
            return AreaKind::DoubleClicks;
        QDBusMessage get =
            QDBusMessage::createMethodCall(watcher, QStringLiteral("/StatusNotifierWatcher"),
                                           QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
        const QDBusReply<QDBusVariant> registered = bus.call(get, QDBus::Block, 2000);
        return registered.isValid() && registered.value().variant().toBool() ? AreaKind::SingleActivation
                                                                             : AreaKind::DoubleClicks;
    }();
    return kind;
}

bool TrayIcon::areaAvailable()
{
    detectedAreaKind(); // at the moment Qt decides too
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::watchArea()
{
    if (!m_mainWindow || m_mainWindow->isVisible()) {
        m_areaWatch.stop();
        return;
    }
    if (!areaAvailable()) {
        m_areaWatch.stop();
        emit areaLost();
    }
}

void TrayIcon::activate(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::DoubleClick)
        return;
    if (m_areaKind == AreaKind::DoubleClicks) {
        // The click before a double-click arrives as an activation of its own: only the double-click counts.
        if (reason == QSystemTrayIcon::DoubleClick)
            runDefaultItem();
        return;
    }
    // Some hosts send an activation for each click of a double-click.
    if (m_lastActivation.isValid() && !m_lastActivation.hasExpired(QApplication::doubleClickInterval()))
        return;
    m_lastActivation.start();
    runDefaultItem();
}

TrayIcon::~TrayIcon()
{
    m_tray->hide();
}

void TrayIcon::setIconVisible(bool visible)
{
    m_visible = visible;
    updateIcon();
    m_tray->setVisible(visible);
}

void TrayIcon::setIcon(const QIcon& icon)
{
    m_icon = icon;
    updateIcon();
}

void TrayIcon::setHint(const QString& hint)
{
    m_hint = hint;
    updateIcon();
}

void TrayIcon::setShowHint(bool show)
{
    m_showHint = show;
    updateIcon();
}

QString TrayIcon::shownTip() const
{
    return (m_showHint && !m_hint.isEmpty()) ? m_hint.left(127) : QString();
}

void TrayIcon::setPopupMenu(QMenu* menu)
{
    m_menu = menu;
    m_tray->setContextMenu(menu);
}

void TrayIcon::updateIcon()
{
    m_tray->setIcon(m_icon);
    m_tray->setToolTip(shownTip());
}

bool TrayIcon::ShowBalloon(const QString& title, const QString& text, BalloonKind kind, int seconds)
{
    HideBalloon();
    if (!m_visible)
        return false;
    m_balloonText = text.left(255);
    QSystemTrayIcon::MessageIcon icon = QSystemTrayIcon::NoIcon;
    if (kind == BalloonKind::Information)
        icon = QSystemTrayIcon::Information;
    else if (kind == BalloonKind::Warning)
        icon = QSystemTrayIcon::Warning;
    else if (kind == BalloonKind::Error)
        icon = QSystemTrayIcon::Critical;
    m_tray->showMessage(title.left(63), m_balloonText, icon, seconds * 1000);
    return true;
}

void TrayIcon::HideBalloon()
{
    const bool shown = !m_balloonText.isEmpty();
    m_balloonText.clear();
    // Qt has no call that withdraws a message, but removing the icon takes its balloon along
    // (on Windows and where Qt draws the balloon itself); the icon returns at once.
    if (shown && m_tray->isVisible()) {
        m_tray->hide();
        m_tray->show();
    }
}

void TrayIcon::HideMainWindow()
{
    if (!m_mainWindow)
        return;
    m_mainWindow->hide();
    m_areaWatch.start();
}

void TrayIcon::ShowMainWindow()
{
    if (!m_mainWindow)
        return;
    if (m_mainWindow->isMinimized())
        m_mainWindow->setWindowState(m_mainWindow->windowState() & ~Qt::WindowMinimized);
    m_mainWindow->show();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

void TrayIcon::runDefaultItem()
{
    if (!m_menu)
        return;
    if (QAction* item = m_menu->defaultAction(); item && item->isEnabled())
        item->trigger();
}
