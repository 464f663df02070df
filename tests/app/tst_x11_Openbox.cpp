// The program under openbox, a window manager that keeps managed windows on screen and places
// them itself: the popup in the work area's corner, a stored place off the screen, minimising
// with and without a notification area.

#include "PrivateSession.h"
#include "ScriptedDialogs.h"
#include "TempHome.h"
#include "app/MainWindow.h"
#include "app/ProgramEntry.h"
#include "notify/ChangePopup.h"
#include "notify/TrayIcon.h"
#include "picturelist/ListFile.h"
#include "platform/SettingsStore.h"
#include "toolkit/PictureView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

namespace {

PrivateSession* s_session = nullptr;

QString windowInfo(WId id)
{
    return QString::fromLocal8Bit(PrivateSession::output({"xwininfo", "-id", QString::number(id)}));
}

int infoValue(const QString& info, const QString& label)
{
    const QRegularExpression line(QRegularExpression::escape(label) + QStringLiteral(":\\s*(-?\\d+)"));
    return line.match(info).captured(1).toInt();
}

QString xprop(const QString& name, WId id = 0)
{
    QStringList argv{"xprop"};
    argv << (id ? QStringList{"-id", QString::number(id)} : QStringList{"-root"}) << name;
    return QString::fromLocal8Bit(PrivateSession::output(argv)).trimmed();
}

// The windows the window manager lists for task bars and pagers.
bool listedForTaskBars(WId id)
{
    return xprop(QStringLiteral("_NET_CLIENT_LIST")).contains(QStringLiteral("0x%1").arg(id, 0, 16));
}

template <typename T> T* child(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

ChangePopup* shownPopup()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* popup = qobject_cast<ChangePopup*>(w); popup && popup->isVisible())
            return popup;
    }
    return nullptr;
}

} // namespace

class TestOpenbox : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempHome> m_home;

    void seed(bool minimised, bool running, QSize noise = {})
    {
        QImage image(noise.isValid() ? noise : QSize(64, 48), QImage::Format_RGB32);
        image.fill(Qt::red);
        if (noise.isValid())
            QRandomGenerator(21).fillRange(reinterpret_cast<quint32*>(image.bits()), image.sizeInBytes() / 4);
        const QString picture = m_home->path(QStringLiteral("röd.bmp"));
        QVERIFY(image.save(picture));
        const QString list = m_home->path(QStringLiteral("bilder.lst"));
        ListFile::write(list, {QFile::encodeName(picture)});
        TempHome::store(Setting::Senaste, list);
        TempHome::store(Setting::Vald, 0);
        TempHome::store(Setting::Minimerad, minimised);
        if (running)
            TempHome::store(Setting::Startknapp, QStringLiteral("&Stoppa"));
    }

    // Starts the program as main() does and shows its window once the start-up has ended.
    static MainWindow* startShown(ProgramEntry& entry)
    {
        if (!entry.start() || !QTest::qWaitFor([&] { return entry.started(); }, 5000))
            return nullptr;
        entry.mainWindow()->show();
        return QTest::qWaitForWindowExposed(entry.mainWindow()) ? entry.mainWindow() : nullptr;
    }

private slots:
    void init()
    {
        m_home.reset(); // the environment it changed comes back before the next one is made
        m_home = std::make_unique<TempHome>();
    }

    void popupRestsAtItsPlaceAndSlidesOut_data()
    {
        QTest::addColumn<int>("panel"); // the height of a panel along the lower edge, 0 for none
        QTest::newRow("no panel") << 0;
        QTest::newRow("a panel at the bottom: above it") << 40;
    }

    // The popup bypasses the window manager: it rests exactly at its place in the corner of the
    // work area, takes no focus, and slides out below the work area's lower edge.
    void popupRestsAtItsPlaceAndSlidesOut()
    {
        QFETCH(int, panel);
        ScopedScriptedDialogs dialogs;
        seed(false, true);
        pid_t tray = 0;
        if (panel) {
            tray = s_session->spawn({"trayer", "--edge", "bottom", "--height", QString::number(panel), "--SetDockType",
                                     "true", "--SetPartialStrut", "true"});
            QVERIFY(tray);
            QTRY_COMPARE(QGuiApplication::primaryScreen()->availableGeometry().height(),
                         QGuiApplication::primaryScreen()->geometry().height() - panel);
        }
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const int areaRight = area.x() + area.width();
        const int areaBottom = area.y() + area.height();
        ProgramEntry entry;
        MainWindow* w = startShown(entry); // the resumed rotation applies the picture: the popup slides in
        QVERIFY(w && QTest::qWaitForWindowActive(w));
        ChangePopup* popup = nullptr;
        QTRY_VERIFY((popup = shownPopup()));
        QTRY_COMPARE(popup->y(), areaBottom - 207); // its slide runs from the event loop
        const QString info = windowInfo(popup->winId());
        QCOMPARE(infoValue(info, QStringLiteral("Absolute upper-left X")), areaRight - 155);
        QCOMPARE(infoValue(info, QStringLiteral("Absolute upper-left Y")), areaBottom - 207);
        QCOMPARE(infoValue(info, QStringLiteral("Width")), 155);
        QCOMPARE(infoValue(info, QStringLiteral("Height")), 175);
        QVERIFY(info.contains(QStringLiteral("Override Redirect State: yes")));
        QVERIFY(
            !xprop(QStringLiteral("_NET_ACTIVE_WINDOW")).contains(QStringLiteral("0x%1").arg(popup->winId(), 0, 16)));

        // Started during start-up, it leaves after five seconds, through the lower edge.
        QTRY_VERIFY_WITH_TIMEOUT(!popup->isVisible(), 10000);
        QVERIFY(popup->y() >= areaBottom);
        QCOMPARE(dialogs->errors(), QStringList());
        if (tray)
            s_session->stop(tray);
        QTRY_VERIFY_WITH_TIMEOUT(!TrayIcon::areaAvailable(), 10000);
        QTRY_COMPARE(QGuiApplication::primaryScreen()->availableGeometry(),
                     QGuiApplication::primaryScreen()->geometry());
    }

    void storedPlaceOffEveryScreen_data()
    {
        QTest::addColumn<QPoint>("stored");
        QTest::addColumn<QPoint>("expected");
        // The screen is 1280 x 1024, the main window 988 x 608.
        QTest::newRow("on the screen: kept") << QPoint(50, 60) << QPoint(50, 60);
        QTest::newRow("a monitor unplugged: whole in the corner") << QPoint(2600, 1500) << QPoint(292, 416);
        QTest::newRow("above the screen") << QPoint(100, -900) << QPoint(100, 0);
    }

    // A stored place on no screen brings the whole window back, not a corner of it.
    void storedPlaceOffEveryScreen()
    {
        QFETCH(QPoint, stored);
        QFETCH(QPoint, expected);
        ScopedScriptedDialogs dialogs;
        seed(false, false);
        TempHome::store(Setting::Left, stored.x());
        TempHome::store(Setting::Top, stored.y());
        ProgramEntry entry;
        MainWindow* w = startShown(entry);
        QVERIFY(w);
        QTRY_COMPARE(QPoint(infoValue(windowInfo(w->winId()), QStringLiteral("Absolute upper-left X")),
                            infoValue(windowInfo(w->winId()), QStringLiteral("Absolute upper-left Y"))),
                     expected);
    }

    void picturesSharpAtScaleFactor_data()
    {
        QTest::addColumn<QString>("factor");
        QTest::addColumn<QByteArray>("xftDpi"); // the X resource GNOME sets for Xwayland, instead
        for (const char* factor : {"1.25", "1.5", "2"})
            QTest::newRow(factor) << QString::fromLatin1(factor) << QByteArray();
        QTest::newRow("Xft.dpi 192") << QStringLiteral("2") << QByteArrayLiteral("192");
    }

    // A noise picture shows its own device pixels in preview, thumbnail and popup; a logical-sized
    // one enlarged repeats one pixel in five, three or two. The factor is read at start, so each
    // row runs in a child of its own.
    void picturesSharpAtScaleFactor()
    {
        QFETCH(QString, factor);
        QFETCH(QByteArray, xftDpi);
        if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR") && !qEnvironmentVariableIsSet("TAVLIX_XFT_DPI")) {
            // Read at start: they scale the child only.
            if (xftDpi.isEmpty())
                qputenv("QT_SCALE_FACTOR", factor.toLatin1());
            else
                qputenv("TAVLIX_XFT_DPI", xftDpi);
            const int status = QProcess::execute(QCoreApplication::applicationFilePath(),
                                                 {QString::fromLatin1(QTest::currentTestFunction()) + ':' +
                                                  QString::fromLatin1(QTest::currentDataTag())});
            qunsetenv("QT_SCALE_FACTOR");
            qunsetenv("TAVLIX_XFT_DPI");
            QCOMPARE(status, 0);
            return;
        }
        QCOMPARE(qApp->devicePixelRatio(), factor.toDouble());
        ScopedScriptedDialogs dialogs;
        seed(false, true, QSize(1600, 1200));
        ProgramEntry entry;
        MainWindow* w = startShown(entry);
        QVERIFY(w);
        // The resumed rotation's popup may come after the start has ended.
        ChangePopup* popup = nullptr;
        QTRY_VERIFY((popup = shownPopup()));
        // Looked at once its slide has ended, at rest in the work area's corner.
        const QRect area = popup->screen()->availableGeometry();
        QTRY_COMPARE(popup->y(), area.y() + area.height() - 207);
        const auto sharp = [w](const PictureView* view) {
            const QRect middle(view->mapToGlobal(QPoint(view->width() / 4, view->height() / 4)), view->size() / 2);
            const QImage shown =
                w->screen()->grabWindow(0, middle.x(), middle.y(), middle.width(), middle.height()).toImage();
            int repeated = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 1; x < shown.width(); ++x)
                    repeated += shown.pixel(x, y) == shown.pixel(x - 1, y);
            return repeated < shown.width() * shown.height() / 10;
        };
        // Grabbed again until drawn: a busy X server may show a window before its first paint.
        for (PictureView* view : {child<PictureView>(w, "Img"), child<QWidget>(w, "PnlRam0")->findChild<PictureView*>(),
                                  popup->findChild<PictureView*>()})
            QTRY_VERIFY2(sharp(view), qPrintable(view->parent()->objectName()));
        if (factor != QLatin1String("2"))
            return;
        // A 1x glyph doubled repeats every pixel in the next column; the finer one does not.
        const QWidget* button = child<QWidget>(w, "BtNy");
        const QPoint glyph = button->mapToGlobal(QPoint(8, (button->height() - 16) / 2));
        const QImage shown = w->screen()->grabWindow(0, glyph.x(), glyph.y(), 16, 16).toImage(); // 32 x 32
        int unpaired = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x + 1 < shown.width(); x += 2)
                unpaired += shown.pixel(x, y) != shown.pixel(x + 1, y);
        QVERIFY2(unpaired > 20, qPrintable(QString::number(unpaired)));
    }

    // Without a notification area "Minimera" minimises: the window stays in the window manager's
    // list, so a task bar leads back to it; the title is the window's own.
    void minimiseWithoutTrayKeepsTheWindowReachable()
    {
        ScopedScriptedDialogs dialogs;
        seed(true, false);
        QVERIFY(!TrayIcon::areaAvailable());
        ProgramEntry entry;
        QVERIFY(entry.start());
        QTRY_VERIFY(entry.started());
        MainWindow* w = entry.mainWindow();
        const WId id = w->winId();
        QTRY_VERIFY(xprop(QStringLiteral("WM_STATE"), id).contains(QStringLiteral("Iconic")));
        QVERIFY(listedForTaskBars(id));
        QCOMPARE(xprop(QStringLiteral("_NET_WM_NAME"), id),
                 QStringLiteral("_NET_WM_NAME(UTF8_STRING) = \"Tavelvaxlaren\""));

        child<QAction>(w, "RestoreForm1")->trigger();
        QTRY_VERIFY(xprop(QStringLiteral("WM_STATE"), id).contains(QStringLiteral("Normal")));
        child<QAction>(w, "Minimera1")->trigger();
        QTRY_VERIFY(xprop(QStringLiteral("WM_STATE"), id).contains(QStringLiteral("Iconic")));
        QVERIFY(listedForTaskBars(id));
        QVERIFY(child<QCheckBox>(w, "ChkMin")->isChecked());
    }

    // With a notification area the window hides into it, and comes back when the area goes.
    void hiddenWindowComesBackWhenTheTrayGoes()
    {
        ScopedScriptedDialogs dialogs;
        seed(false, false);
        const pid_t tray = s_session->spawn({"trayer", "--edge", "top", "--align", "right", "--widthtype", "request"});
        QVERIFY(tray);
        QVERIFY(PrivateSession::waitFor([] { return TrayIcon::areaAvailable(); }));
        ProgramEntry entry;
        MainWindow* w = startShown(entry);
        QVERIFY(w);
        // While the program's own icon is not shown, nothing in the area leads back: it minimises.
        child<QCheckBox>(w, "ChkTray")->setChecked(false);
        child<QCheckBox>(w, "ChkMin")->setChecked(true);
        child<QAction>(w, "Minimera1")->trigger();
        QTRY_VERIFY(xprop(QStringLiteral("WM_STATE"), w->winId()).contains(QStringLiteral("Iconic")));
        QVERIFY(w->isVisible());
        child<QAction>(w, "RestoreForm1")->trigger();
        QTRY_VERIFY(xprop(QStringLiteral("WM_STATE"), w->winId()).contains(QStringLiteral("Normal")));
        child<QCheckBox>(w, "ChkTray")->setChecked(true);
        child<QAction>(w, "Minimera1")->trigger();
        QVERIFY(!w->isVisible());
        QTRY_VERIFY(!listedForTaskBars(w->winId()));

        s_session->stop(tray);
        QTRY_VERIFY_WITH_TIMEOUT(w->isVisible(), 8000);
        QTRY_VERIFY(xprop(QStringLiteral("WM_STATE"), w->winId()).contains(QStringLiteral("Normal")));
        QVERIFY(child<QAction>(w, "Minimera1")->isEnabled());
        QVERIFY(child<QCheckBox>(w, "ChkMin")->isChecked());
    }
};

int main(int argc, char** argv)
{
    PrivateSession session;
    s_session = &session;
    // A scaled child needs room for the main window at twice its size; its resources must outlive
    // the client that sets them, so the server does not reset when that one leaves.
    const QByteArray xftDpi = qgetenv("TAVLIX_XFT_DPI");
    const bool scaled = qEnvironmentVariableIsSet("QT_SCALE_FACTOR") || !xftDpi.isEmpty();
    if (!session.startXvfb(scaled ? QStringLiteral("2560x1600x24") : QStringLiteral("1280x1024x24"), {"-noreset"}))
        qFatal("Xvfb did not start");
    if (!xftDpi.isEmpty()) // the child's own ratio check tells whether it took
        PrivateSession::output(
            {"sh", "-c", "echo 'Xft.dpi: " + QString::fromLatin1(xftDpi) + "' | xrdb -nocpp -merge"});
    QApplication app(argc, argv);
    if (!session.spawn({"openbox", "--sm-disable"}))
        qFatal("openbox did not start");
    const bool managed = PrivateSession::waitFor(
        [] { return xprop(QStringLiteral("_NET_SUPPORTING_WM_CHECK")).contains(QStringLiteral("window id")); });
    if (!managed)
        qFatal("openbox did not take the screen");
    TestOpenbox test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_x11_Openbox.moc"
