#pragma once

// What the program must show in every real desktop session, the same checks for each desktop: the
// test of a desktop starts the session, provides its screenshot route and runs the rows.

#include "PrivateSession.h"
#include "ScriptedDialogs.h"
#include "TestPictures.h"
#include "app/MainWindow.h"
#include "app/ProgramEntry.h"
#include "notify/ChangePopup.h"
#include "notify/TrayIcon.h"
#include "picturelist/ListFile.h"
#include "platform/Desktop.h"
#include "platform/SessionSetup.h"
#include "platform/SettingsStore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

namespace RealSession {

enum class Check
{
    ThroughXwayland,
    CutAwayCorner,
    Centred,
    Tiled,
    Stretched,
    PopupAtRest,
    IconInTheArea,
    MinimiseWithoutArea,
};

// The rows every real desktop shares; desktops without a notification area only minimise.
inline void addRows(bool withArea)
{
    QTest::addColumn<Check>("check");
    QTest::newRow("runs through Xwayland") << Check::ThroughXwayland;
    if (!withArea) {
        QTest::newRow("minimising minimises") << Check::MinimiseWithoutArea;
        return;
    }
    QTest::newRow("icon registered in the notification area") << Check::IconInTheArea;
    QTest::newRow("cut-away corner shows the background") << Check::CutAwayCorner;
    QTest::newRow("centred") << Check::Centred;
    QTest::newRow("tiled") << Check::Tiled;
    QTest::newRow("stretched") << Check::Stretched;
    QTest::newRow("popup rests at its place") << Check::PopupAtRest;
}

constexpr int side = 256;

inline bool near(const QColor& a, const QColor& b)
{
    return TestPictures::near(a.rgb(), b.rgb()); // scaling, and the fade of a new background
}

// A picture whose left half and right half differ, so that a tiled, centred and stretched picture
// differ across the middle of the screen.
inline QString twoHalves(const QString& path, const QColor& left, const QColor& right)
{
    TestPictures::halves(side, side, left, right).save(path);
    return path;
}

// What a line across the middle of the screen shows, left to right, each run once: L and R for the
// picture's halves, a space for anything else (the desktop's colour). The blur of a scaled edge
// between the halves is no run of its own.
inline QString acrossTheMiddle(const QImage& shot, const QColor& left, const QColor& right)
{
    QList<std::pair<QChar, int>> runs;
    for (int x = 8; x < shot.width() - 8; x += 4) {
        const QColor colour = shot.pixelColor(x, shot.height() / 2);
        const QChar seen = near(colour, left) ? 'L' : near(colour, right) ? 'R' : ' ';
        if (runs.isEmpty() || runs.last().first != seen)
            runs.append({seen, 0});
        ++runs.last().second;
    }
    QString shown;
    for (const auto& [seen, length] : runs) {
        if ((seen != ' ' || length >= 8) && !shown.endsWith(seen))
            shown += seen;
    }
    return shown;
}

// A tiled picture begins again after its right half; a centred one has the desktop's colour on
// both sides; a stretched one reaches from edge to edge.
inline bool drawnAs(Desktop::Placement placement, const QString& runs)
{
    switch (placement) {
    case Desktop::Placement::Centred:
        return runs == QLatin1String(" LR ");
    case Desktop::Placement::Tiled:
        return runs.contains(QLatin1String("RL")) && !runs.contains(QLatin1Char(' '));
    case Desktop::Placement::Stretched:
        break;
    }
    return runs == QLatin1String("LR");
}

// The program and the desktop it runs in. screenshot() returns the whole screen as the desktop
// shows it; hasArea tells whether the session has a notification area.
class Session
{
public:
    Session(std::function<QImage()> screenshot, bool hasArea) : m_screenshot(std::move(screenshot)), m_hasArea(hasArea)
    {
    }

    // Starts the program with one picture in its list; false when it did not start.
    bool startProgram(const QString& folder)
    {
        m_folder = folder;
        const QString picture = twoHalves(file(QStringLiteral("program.png")), QColor(230, 200, 30), Qt::blue);
        const QString list = file(QStringLiteral("bilder.lst"));
        ListFile::write(list, {QFile::encodeName(picture)});
        {
            SettingsStore store;
            store.writeString(Setting::Senaste, list);
            store.writeInteger(Setting::Vald, 0);
        }
        m_dialogs = std::make_unique<ScopedScriptedDialogs>();
        m_entry = std::make_unique<ProgramEntry>();
        if (!m_entry->start() || !QTest::qWaitFor([this] { return m_entry->started(); }, 60000))
            return false;
        m_entry->mainWindow()->show();
        return QTest::qWaitForWindowExposed(m_entry->mainWindow());
    }

    void check(Check check)
    {
        QVERIFY2((*m_dialogs)->errors().isEmpty(), qPrintable((*m_dialogs)->errors().join(QLatin1Char('\n'))));
        MainWindow* form = m_entry->mainWindow();
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        switch (check) {
        case Check::ThroughXwayland:
            QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
            QCOMPARE(screen, QSize(1920, 1080));
            QCOMPARE(TrayIcon::areaAvailable(), m_hasArea);
            return;
        case Check::CutAwayCorner: {
            const QColor background(40, 160, 60);
            setBackground(twoHalves(file(QStringLiteral("corner.png")), background, background), "2", "0");
            form->showNormal();
            form->raise();
            QVERIFY(QTest::qWaitForWindowExposed(form));
            const QPoint origin = form->geometry().topLeft();
            QImage shot;
            // The background fades in; the top-left corner and the lower right are cut away.
            const auto cut = [&] {
                shot = screenshot();
                return near(shot.pixelColor(origin + QPoint(1, 1)), background) &&
                       near(shot.pixelColor(origin + QPoint(986, 606)), background);
            };
            QVERIFY2(
                QTest::qWaitFor(cut, 10000),
                qPrintable(QStringLiteral("the corner shows %1").arg(shot.pixelColor(origin + QPoint(1, 1)).name())));
            QVERIFY(!near(shot.pixelColor(origin + QPoint(494, 40)), background)); // the arch is there
            QVERIFY(!near(shot.pixelColor(origin + QPoint(40, 300)), background)); // and the body
            return;
        }
        case Check::Centred:
        case Check::Tiled:
        case Check::Stretched:
            form->hide();
            placement(check == Check::Centred ? Desktop::Placement::Centred
                      : check == Check::Tiled ? Desktop::Placement::Tiled
                                              : Desktop::Placement::Stretched);
            return;
        case Check::PopupAtRest: {
            const QColor popupWindow(0xA6, 0xCA, 0xF0); // the designed background colour
            // Starting the rotation applies the marked picture and announces it.
            auto* start = form->findChild<QAbstractButton*>(QStringLiteral("BtStartStop"));
            QVERIFY(start);
            start->click();
            // It rests in the corner of the work area, above a panel at the bottom (Plasma's).
            const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
            const int left = area.x() + area.width() - 155;
            const int top = area.y() + area.height() - 207;
            QImage shot;
            // The strip in the window's colour begins at the resting line, once the slide has ended.
            const auto resting = [&] {
                shot = screenshot();
                return near(shot.pixelColor(left + 77, top + 2), popupWindow) &&
                       !near(shot.pixelColor(left + 77, top - 2), popupWindow);
            };
            // The slide runs from the event loop; a screenshot blocks it, so the slide ends first.
            const auto slid = [&] {
                for (QWidget* window : QApplication::topLevelWidgets())
                    if (qobject_cast<ChangePopup*>(window) && window->isVisible() && window->y() <= top)
                        return true;
                return false;
            };
            QVERIFY(QTest::qWaitFor(slid, 10000));
            QVERIFY(QTest::qWaitFor(resting, 10000));
            QVERIFY(!near(shot.pixelColor(left - 2, top + 100), popupWindow));
            return;
        }
        case Check::IconInTheArea: {
            QVERIFY(TrayIcon::areaAvailable());
            QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
                                   QStringLiteral("/StatusNotifierWatcher"),
                                   QStringLiteral("org.kde.StatusNotifierWatcher"));
            // An item is named by its program's bus connection ("name@/path" or "name/path"); Qt
            // registers through a connection of its own, so the owner's process tells whose it is.
            QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
            QStringList items;
            const auto registered = [&] {
                items = watcher.property("RegisteredStatusNotifierItems").toStringList();
                for (const QString& item : items) {
                    const QString name = item.section(QRegularExpression(QStringLiteral("[@/]")), 0, 0);
                    if (bus->servicePid(name).value() == uint(QCoreApplication::applicationPid()))
                        return true;
                }
                return false;
            };
            QVERIFY2(QTest::qWaitFor(registered, 10000), qPrintable(QStringLiteral("registered: ") + items.join(' ')));
            return;
        }
        case Check::MinimiseWithoutArea: {
            QVERIFY(!TrayIcon::areaAvailable());
            form->showNormal();
            QVERIFY(QTest::qWaitForWindowExposed(form));
            form->Minimera1Click();
            // The window manager iconifies it: it stays reachable from the desktop's window list.
            QTRY_VERIFY_WITH_TIMEOUT(wmState(form->winId()).contains(QLatin1String("Iconic")), 10000);
            QVERIFY(!form->isHidden());
            return;
        }
        }
    }

    QImage screenshot() const { return m_screenshot(); }

private:
    QString file(const QString& name) const { return m_folder + QLatin1Char('/') + name; }

    static QString wmState(WId id)
    {
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"), {"-id", QString::number(id), "WM_STATE"});
        xprop.waitForFinished(5000);
        return QString::fromLocal8Bit(xprop.readAllStandardOutput());
    }

    static void setBackground(const QString& path, const char* style, const char* tile)
    {
        const auto refusal = Desktop::create()->setActiveDesktopWallpaper(path, style, tile);
        QVERIFY2(!refusal, refusal ? qPrintable(refusal->message()) : "");
    }

    void placement(Desktop::Placement placement)
    {
        static int row = 0;
        ++row;
        // New colours each row, so a background left from an earlier row can never pass.
        const QColor left = QColor::fromHsv((row * 67) % 360, 255, 220);
        const QColor right = QColor::fromHsv((row * 67 + 180) % 360, 255, 160);
        const QString path = twoHalves(file(QStringLiteral("bild %1.png").arg(row)), left, right);
        setBackground(path, placement == Desktop::Placement::Stretched ? "2" : "0",
                      placement == Desktop::Placement::Tiled ? "1" : "0");
        if (QTest::currentTestFailed())
            return;
        QString runs;
        const auto shown = [&] { return drawnAs(placement, runs = acrossTheMiddle(screenshot(), left, right)); };
        QVERIFY2(
            QTest::qWaitFor(shown, 10000),
            qPrintable(
                QStringLiteral("left %1, right %2, across the middle \"%3\"").arg(left.name(), right.name(), runs)));
    }

    std::function<QImage()> m_screenshot;
    bool m_hasArea;
    QString m_folder;
    std::unique_ptr<ScopedScriptedDialogs> m_dialogs;
    std::unique_ptr<ProgramEntry> m_entry;
};

// Runs the test object Test in a desktop session of its own: a new home (HOME) and buses, and
// the desktop's programs, which start() starts. Their output is kept in the home when they fail.
template <typename Test>
int run(int argc, char** argv, const char* name, const std::function<bool(PrivateSession&)>& start)
{
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/tavlix-%1-XXXXXX").arg(QLatin1String(name)));
    if (!home.isValid())
        return 1;
    PrivateSession::usePrivateHome(home.path());
    PrivateSession session;
    session.setLog(home.filePath(QStringLiteral("session.log")));
    if (!PrivateSession::prepareX11SocketFolder()) {
        qCritical("/tmp/.X11-unix must be mode 1777 for Xwayland");
        return 1;
    }
    if (!session.startBuses() || !start(session)) {
        qCritical("the %s session did not come up (its output: %s/session.log)", name, qPrintable(home.path()));
        home.setAutoRemove(false);
        return 1;
    }
    SessionSetup::chooseWindowSystem();
    QApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace RealSession
