// Two monitors on one X screen, as RandR 1.5 lists them, and no window manager: every place
// seen is the one the program chose, at start and when a monitor goes while it runs.

#include "PrivateSession.h"
#include "ScriptedDialogs.h"
#include "TestPictures.h"
#include "app/MainWindow.h"
#include "app/ProgramEntry.h"
#include "app/SplashWindow.h"
#include "chrome/AboutWindow.h"
#include "notify/ChangePopup.h"
#include "notify/ChangePopups.h"
#include "picturelist/ListEditorWindow.h"
#include "picturelist/ListFile.h"
#include "picturelist/PathDialog.h"
#include "platform/SettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The root is this large; the monitors are parts of it, as after an unplugged one.
const QRect kRoot(0, 0, 2560, 1600);
// A 32-pixel panel along the root's top: it shortens the work area of a monitor there.
constexpr int kPanel = 32;

QRect placeOnX(const QWidget* window)
{
    const QString info =
        QString::fromLocal8Bit(PrivateSession::output({"xwininfo", "-id", QString::number(window->winId())}));
    const auto value = [&](const char* label) {
        return QRegularExpression(QLatin1String(label) + QStringLiteral(":\\s*(-?\\d+)"))
            .match(info)
            .captured(1)
            .toInt();
    };
    return {value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"), value("Height")};
}

// Replaces the monitors and returns their names. The first holds the X screen's only output,
// which keeps the server from adding a monitor of the whole root beside them. Qt keeps the
// geometry it knows for a name, so each layout has names of its own.
QStringList setMonitors(const QList<QRect>& monitors, int primary = 0)
{
    static QStringList names;
    static int made = 0;
    for (const QString& name : std::exchange(names, {}))
        PrivateSession::output({"xrandr", "--delmonitor", name});
    for (qsizetype i = 0; i < monitors.size(); ++i) {
        const QRect& m = monitors[i];
        names << QStringLiteral("M%1").arg(++made);
        PrivateSession::output(
            {"xrandr", "--setmonitor", (i == primary ? QStringLiteral("*") : QString()) + names.last(),
             QStringLiteral("%1/300x%2/200+%3+%4").arg(m.width()).arg(m.height()).arg(m.x()).arg(m.y()),
             i ? QStringLiteral("none") : QStringLiteral("screen")});
    }
    const bool ready = QTest::qWaitFor([&] {
        const QList<QScreen*> screens = QGuiApplication::screens();
        if (screens.size() != monitors.size() || QGuiApplication::primaryScreen()->geometry() != monitors[primary])
            return false;
        return std::all_of(screens.begin(), screens.end(), [&](QScreen* s) {
            return monitors.contains(s->geometry()) &&
                   s->availableGeometry() == (s->geometry() & kRoot.adjusted(0, kPanel, 0, 0));
        });
    });
    return ready ? names : QStringList();
}

} // namespace

Q_DECLARE_METATYPE(QList<QRect>)

class TestTwoScreens : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    QString m_picture;

    // A list of a picture and a missing one (whose question opens the list editor), with the
    // main window stored at `stored`.
    void seed(QPoint stored)
    {
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", m_home->filePath(QStringLiteral("config")).toUtf8());
        qputenv("TAVELVAXLAREN_DESKTOP", ("log:" + m_home->filePath(QStringLiteral("log"))).toUtf8());
        m_picture = TestPictures::writePicture(m_home->filePath(QStringLiteral("a.bmp")));
        const QString list = m_home->filePath(QStringLiteral("bilder.lst"));
        ListFile::write(
            list, {QFile::encodeName(m_picture), QFile::encodeName(m_home->filePath(QStringLiteral("borta.bmp")))});
        SettingsStore store;
        store.writeString(Setting::Senaste, list);
        store.writeInteger(Setting::Vald, 0);
        store.writeInteger(Setting::Left, stored.x());
        store.writeInteger(Setting::Top, stored.y());
    }

private slots:
    void placesAtStart_data()
    {
        QTest::addColumn<QList<QRect>>("monitors");
        QTest::addColumn<QPoint>("stored");
        QTest::addColumn<QPoint>("main");
        QTest::addColumn<QPoint>("splash");
        const QRect left(0, 0, 1280, 1024);
        const QRect right(1280, 0, 1280, 1024);
        // The splash (312 x 124) ignores the work area's offset: (width / 2 - 156, height / 2 - 124).
        QTest::newRow("on the second monitor: kept")
            << QList{left, right} << QPoint(1500, 100) << QPoint(1500, 100) << QPoint(484, 372);
        QTest::newRow("the left monitor unplugged: both on the right one")
            << QList{right} << QPoint(100, 100) << QPoint(1280, 100) << QPoint(1280, 372);
        QTest::newRow("below the primary, nearer the lower second one")
            << QList{left, QRect(1280, 576, 1280, 1024)} << QPoint(100, 1300) << QPoint(1280, 992) << QPoint(484, 372);
    }

    void placesAtStart()
    {
        QFETCH(QList<QRect>, monitors);
        QFETCH(QPoint, stored);
        QFETCH(QPoint, main);
        QFETCH(QPoint, splash);
        QVERIFY(!setMonitors(monitors).isEmpty());
        seed(stored);
        ScopedScriptedDialogs dialogs;
        ProgramEntry entry;
        QVERIFY(entry.start());
        QTRY_VERIFY(entry.started());
        // An unmapped window keeps its place on the X server.
        QCOMPARE(placeOnX(entry.mainWindow()->splash()).topLeft(), splash);
        QTRY_COMPARE(placeOnX(entry.mainWindow()).topLeft(), main);
    }

    void windowsFollowWhenAMonitorGoes_data()
    {
        QTest::addColumn<int>("primary");
        QTest::newRow("the second monitor goes") << 0;
        QTest::newRow("the primary monitor goes") << 1;
    }

    // Every window is on the right monitor when it goes; each comes back whole onto the left
    // one, and the popup rests in the corner of whichever monitor is primary.
    void windowsFollowWhenAMonitorGoes()
    {
        QFETCH(int, primary);
        const QRect left(0, 0, 1280, 1024);
        const QStringList names = setMonitors({left, QRect(1280, 0, 1280, 1024)}, primary);
        QVERIFY(!names.isEmpty());
        seed({1400, 150});
        ScopedScriptedDialogs dialogs;
        dialogs->setNextAnswer(Dialogs::Yes); // the missing picture: open the list editor
        ProgramEntry entry;
        QVERIFY(entry.start());
        QTRY_VERIFY(entry.started());
        MainWindow* w = entry.mainWindow();
        QTRY_VERIFY(w->findChild<ListEditorWindow*>() && w->findChild<ListEditorWindow*>()->isVisible());
        auto* editor = w->findChild<ListEditorWindow*>();
        editor->move(1500, 300); // where the user dragged it
        w->LbOmClick();
        w->findChild<PathDialog*>()->showEntry(0);
        AboutWindow* about = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            about = about ? about : qobject_cast<AboutWindow*>(top);
        QVERIFY(about && about->isVisible());
        const QList<QWidget*> windows{w, editor, about, w->findChild<PathDialog*>()};
        const QScreen* right = QGuiApplication::screenAt(QPoint(1300, 10));
        for (QWidget* window : windows)
            QTRY_VERIFY2(right->availableGeometry().contains(placeOnX(window)), qPrintable(window->objectName()));
        auto* popups = w->findChild<ChangePopups*>();
        const auto popupRestsOnPrimary = [&] {
            popups->VisaPopup(m_picture);
            const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
            // Its slide moves in steps of 3 and rests at the first one at or above its gap.
            const QPoint corner(area.x() + area.width() - ChangePopup::Width, area.y() + area.height() - 207);
            return QTest::qWaitFor([&] { return placeOnX(popups->current()).topLeft() == corner; });
        };
        QVERIFY(popupRestsOnPrimary());

        PrivateSession::output({"xrandr", "--delmonitor", names[1]});
        QTRY_COMPARE(QGuiApplication::screens().size(), 1);
        for (QWidget* window : windows)
            QTRY_VERIFY2(QGuiApplication::primaryScreen()->availableGeometry().contains(placeOnX(window)),
                         qPrintable(window->objectName()));
        QVERIFY(popupRestsOnPrimary());
        QCOMPARE(dialogs->errors(), QStringList());
    }
};

int main(int argc, char** argv)
{
    PrivateSession session;
    if (!session.startXvfb(QStringLiteral("%1x%2x24").arg(kRoot.width()).arg(kRoot.height())))
        qFatal("Xvfb did not start");
    // Qt takes a multi-monitor root's work area only when told to; no window manager sets one here.
    qputenv("QT_RELY_ON_NET_WORKAREA_ATOM", "1");
    // Xvfb forgets monitors and root properties once its last client leaves: set them after the
    // application has connected.
    QApplication app(argc, argv);
    PrivateSession::output({"xprop", "-root", "-format", "_NET_WORKAREA", "32c", "-set", "_NET_WORKAREA",
                            QStringLiteral("0,%1,%2,%3").arg(kPanel).arg(kRoot.width()).arg(kRoot.height() - kPanel)});
    TestTwoScreens test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_x11_TwoScreens.moc"
