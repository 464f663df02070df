#include "PrivateSession.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "platform/Desktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

// Real desktops draw the background that the program hands them by its own route, the desktop
// being recognised from XDG_CURRENT_DESKTOP. They run headless on a private X server and session
// bus with a private home, so the desktop of the person running the tests is never touched.

namespace {

constexpr int screenWidth = 640;
constexpr int screenHeight = 480;
constexpr int side = 64;

enum class Half
{
    Left,
    Right,
    Top, // the top quarter, across both halves: a stretched picture shows it, a cropped one not
    Neither
};

// Where to look and what must be there: the picture's left half, its right half, its top or
// neither (the desktop's own colour around a centred picture). The points keep clear of the edge
// between the halves, which a stretched JPEG blurs, and of the top left, where XFCE puts icons.
struct Probe
{
    QPoint at;
    Half half;
};

QList<Probe> probesFor(Desktop::Placement placement)
{
    const QPoint corner(screenWidth - 40, screenHeight - 40);
    // Left of the screen's middle, but in a tile's right half.
    const QPoint leftRight(3 * side + 3 * side / 4 - 4, screenHeight - 40);
    switch (placement) {
    case Desktop::Placement::Centred:
        // Beside the picture too, where a picture fitted to the screen would reach.
        return {{{screenWidth / 2 - 16, screenHeight / 2}, Half::Left},
                {{screenWidth / 2 + 16, screenHeight / 2}, Half::Right},
                {{screenWidth / 2 - side, screenHeight / 2}, Half::Neither},
                {corner, Half::Neither}};
    case Desktop::Placement::Tiled:
        return {{corner, Half::Left}, {corner + QPoint(side / 2, 0), Half::Right}, {leftRight, Half::Right}};
    case Desktop::Placement::Stretched:
        break;
    }
    return {{leftRight, Half::Left},
            {{screenWidth * 3 / 4, screenHeight / 2}, Half::Right},
            {{screenWidth * 3 / 4, screenHeight / 5}, Half::Top},
            {corner, Half::Right}};
}

bool near(QColor a, QColor b)
{
    return TestPictures::near(a.rgb(), b.rgb()); // JPEG and scaling
}

QString output(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(5000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// One desktop program, started with the arguments that make it draw the background.
struct DesktopProgram
{
    const char* xdgCurrentDesktop; // empty: a bare X server, where feh draws
    const char* program;
    QStringList arguments;
};

const DesktopProgram* desktopProgram(const QString& name)
{
    static const QHash<QString, DesktopProgram> programs = {
        {"XFCE", {"XFCE", "xfdesktop", {"--disable-wm-check"}}},
        {"LXDE", {"LXDE", "pcmanfm", {"--desktop"}}},
        {"LXQt", {"LXQt", "pcmanfm-qt", {"--desktop"}}},
        {"X11", {"", "feh", {}}},
    };
    const auto it = programs.constFind(name);
    return it == programs.constEnd() ? nullptr : &*it;
}

} // namespace

class TestRealDesktops : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_desktop;
    QString m_running;

    // The desktop has its window up: XFCE announces it on the root window, the file managers'
    // desktops are a window of their class covering the screen. In a new home xfdesktop writes its
    // default backdrop a moment after its window is up, over a picture set before that.
    static bool ready(const DesktopProgram& desktop)
    {
        if (QLatin1String(desktop.program) == QLatin1String("xfdesktop"))
            return output("xprop", {"-root", "XFCE_DESKTOP_WINDOW"}).contains(QLatin1String("window id")) &&
                   output("xfconf-query", {"-c", "xfce4-desktop", "-l"}).contains(QLatin1String("/last-image"));
        const QString windowClass = QStringLiteral("(\"%1\"").arg(QLatin1String(desktop.program));
        const QString size = QStringLiteral("%1x%2+0+0").arg(screenWidth).arg(screenHeight);
        for (const QString& line : output("xwininfo", {"-root", "-children"}).split(QLatin1Char('\n'))) {
            if (line.contains(windowClass) && line.contains(size))
                return true;
        }
        return false;
    }

    void stopDesktop()
    {
        if (m_desktop.state() != QProcess::NotRunning) {
            m_desktop.terminate();
            if (!m_desktop.waitForFinished(5000))
                m_desktop.kill();
            m_desktop.waitForFinished(5000);
        }
        m_running.clear();
    }

    // Starts the named desktop unless it runs already; the desktop before it is ended.
    bool useDesktop(const QString& name)
    {
        if (m_running == name)
            return true;
        stopDesktop();
        const DesktopProgram* desktop = desktopProgram(name);
        if (!desktop) {
            qWarning("unknown desktop %s", qPrintable(name));
            return false;
        }
        if (QStandardPaths::findExecutable(QLatin1String(desktop->program)).isEmpty()) {
            qWarning("%s is not installed (scripts/install-deps.sh --test installs it)", desktop->program);
            return false;
        }
        if (*desktop->xdgCurrentDesktop)
            qputenv("XDG_CURRENT_DESKTOP", desktop->xdgCurrentDesktop);
        else
            qunsetenv("XDG_CURRENT_DESKTOP");
        m_running = name;
        if (desktop->arguments.isEmpty()) // feh draws when it is called, nothing runs before
            return true;
        m_desktop.setProgram(QLatin1String(desktop->program));
        m_desktop.setArguments(desktop->arguments);
        m_desktop.setStandardOutputFile(m_dir.filePath(name + ".log"));
        m_desktop.setStandardErrorFile(m_dir.filePath(name + ".log"), QIODevice::Append);
        m_desktop.start();
        QElapsedTimer started;
        started.start();
        while (started.elapsed() < 15000) {
            if (m_desktop.state() == QProcess::NotRunning) {
                qWarning("%s ended at start", desktop->program);
                return false;
            }
            if (ready(*desktop))
                return true;
            QThread::msleep(100);
        }
        qWarning("%s did not show its desktop window", desktop->program);
        return false;
    }

    static QColor screenColour()
    {
        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        return screen.pixelColor(screenWidth / 2, screenHeight / 2);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QSize size = QGuiApplication::primaryScreen()->geometry().size();
        QCOMPARE(size, QSize(screenWidth, screenHeight));
    }

    void cleanupTestCase() { stopDesktop(); }

    void drawsTheBackground_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<int>("placementIndex");
        constexpr int centred = int(Desktop::Placement::Centred);
        constexpr int tiled = int(Desktop::Placement::Tiled);
        constexpr int stretched = int(Desktop::Placement::Stretched);
        // Desktop by desktop, so that each starts once; every row paints new colours, so a
        // background left from an earlier row or desktop can never pass.
        for (const char* desktop : {"XFCE", "LXDE", "LXQt", "X11"}) {
            QTest::addRow("%s stretched", desktop) << desktop << stretched;
            QTest::addRow("%s centred", desktop) << desktop << centred;
            QTest::addRow("%s tiled", desktop) << desktop << tiled;
        }
    }

    void drawsTheBackground()
    {
        QFETCH(QString, desktop);
        QFETCH(int, placementIndex);
        const auto placement = Desktop::Placement(placementIndex);
        QVERIFY(useDesktop(desktop));
        static int row = 0;
        ++row;
        const QColor left = QColor::fromHsv((row * 67) % 360, 255, 220);
        const QColor right = QColor::fromHsv((row * 67 + 180) % 360, 255, 160);
        const QColor top = QColor::fromHsv((row * 67 + 90) % 360, 255, 250);
        const QString path = m_dir.filePath(QStringLiteral("bild %1.jpg").arg(row));
        QImage picture = TestPictures::halves(side, side, left, right);
        QPainter(&picture).fillRect(0, 0, side, side / 4, top);
        QVERIFY(picture.save(path, "JPG", 95));
        // The "WallpaperStyle" and "TileWallpaper" values of each placement.
        const QString style = placement == Desktop::Placement::Stretched ? "2" : "0";
        const QString tile = placement == Desktop::Placement::Tiled ? "1" : "0";

        // A JPEG takes the Active Desktop route.
        const auto apply = [&] { return Desktop::create()->setActiveDesktopWallpaper(path, style, tile); };
        const auto refusal = apply();
        QVERIFY2(!refusal, refusal ? qPrintable(refusal->message()) : "");

        // Desktops draw when they get to it. A desktop in its first start in a new home may still
        // write its own defaults over the picture, so it is set again while not yet shown.
        QString seen;
        QElapsedTimer waited;
        waited.start();
        QElapsedTimer sinceApplied;
        sinceApplied.start();
        while (true) {
            const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
            bool all = true;
            seen.clear();
            for (const Probe& probe : probesFor(placement)) {
                const QColor colour = screen.pixelColor(probe.at);
                const bool ok = probe.half == Half::Left    ? near(colour, left)
                                : probe.half == Half::Right ? near(colour, right)
                                : probe.half == Half::Top
                                    ? near(colour, top)
                                    : !near(colour, left) && !near(colour, right) && !near(colour, top);
                all = all && ok;
                seen += QStringLiteral(" (%1,%2)=%3%4")
                            .arg(probe.at.x())
                            .arg(probe.at.y())
                            .arg(colour.name(), ok ? "" : "!");
            }
            if (all || waited.elapsed() > 30000) // xfdesktop on a loaded machine takes its time to start
                break;
            if (sinceApplied.elapsed() > 10000) {
                const auto again = apply();
                QVERIFY2(!again, again ? qPrintable(again->message()) : "");
                sinceApplied.restart();
            }
            QThread::msleep(100);
        }
        QVERIFY2(!seen.contains('!'),
                 qPrintable(QStringLiteral("left %1, right %2, seen%3").arg(left.name(), right.name(), seen)));
    }

    // feh, the route of any other X11 session, is given the file asked for and nothing else,
    // whatever its name, and its failures are never taken for success.
    void fehHostileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("relative");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("spaces") << "a b c.png" << false << QColor(200, 0, 0);
        QTest::newRow("both quotes") << "it's \"x\".png" << false << QColor(0, 200, 0);
        QTest::newRow("command substitution") << "$(touch pwned).png" << false << QColor(0, 0, 200);
        QTest::newRow("semicolon and backquotes") << "a;touch pwned;`touch pwned`.png" << false << QColor(200, 200, 0);
        QTest::newRow("backslashes") << "back\\slash\\.png" << false << QColor(0, 200, 200);
        QTest::newRow("newline") << "new\nline.png" << false << QColor(200, 0, 200);
        QTest::newRow("åäö") << "sjö åäö.png" << false << QColor(100, 50, 0);
        QTest::newRow("leading dash, absolute") << "-rf.png" << false << QColor(0, 100, 50);
        QTest::newRow("leading dash, relative") << "--bg-fill.png" << true << QColor(50, 0, 100);
    }

    void fehHostileNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, relative);
        QFETCH(QColor, colour);
        QVERIFY(useDesktop("X11"));
        QImage picture(side, side, QImage::Format_RGB32);
        picture.fill(colour);
        QVERIFY(picture.save(m_dir.filePath(name), "PNG"));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path());

        const QString path = relative ? name : m_dir.filePath(name);
        const QString error = errorOf([&] { Desktop::create()->applyDesktopValues(path, "2", "0"); });

        QDir::setCurrent(previous);
        QCOMPARE(error, QString());
        QCOMPARE(screenColour(), colour);
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("pwned"))));
    }

    void fehNotAPicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        const QString start = "Bakgrunden kunde inte bytas på skrivbordet X11 (feh): ";
        QTest::newRow("missing file") << "saknas.png" << start + "bilden \"%1\" finns inte eller är ingen fil.";
        QTest::newRow("a folder of pictures") << "" << start + "bilden \"%1\" finns inte eller är ingen fil.";
        QTest::newRow("not a picture") << "text.png" << start + "feh avslutades med felkod ";
    }

    void fehNotAPicture()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QVERIFY(useDesktop("X11"));
        QFile text(m_dir.filePath(QStringLiteral("text.png")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("no picture here");
        text.close();
        const QString path = m_dir.filePath(name);
        if (message.contains(QLatin1String("%1")))
            message = message.arg(path);
        const QColor before = screenColour();

        const QString error = errorOf([&] { Desktop::create()->applyDesktopValues(path, "0", "0"); });

        QVERIFY2(error.startsWith(message), qPrintable(error));
        QCOMPARE(screenColour(), before);
    }
};

// The tests run in a child process on a private X server, session bus and home; this process
// starts them and ends them afterwards.
int runInPrivateSession(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    PrivateSession::usePrivateHome(home.path());
    PrivateSession session;
    // -noreset: the root picture that feh leaves must outlive feh's connection.
    if (!session.startXvfb(QStringLiteral("%1x%2x24").arg(screenWidth).arg(screenHeight), {"-noreset"}) ||
        !session.startBuses()) {
        qCritical("the private X server or buses did not come up");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("TAVLIX_IN_PRIVATE_SESSION", "1");
    QProcess tests;
    tests.setProcessChannelMode(QProcess::ForwardedChannels);
    tests.start(QCoreApplication::applicationFilePath(), app.arguments().mid(1));
    tests.waitForFinished(-1);
    return tests.exitStatus() == QProcess::NormalExit ? tests.exitCode() : 1;
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("TAVLIX_IN_PRIVATE_SESSION"))
        return runInPrivateSession(argc, argv);
    QGuiApplication app(argc, argv);
    TestRealDesktops test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_RealDesktops.moc"
