#include "TestFiles.h"
#include "platform/Desktop.h"
#include "platform/SessionSetup.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrl>
#include <csignal>
#include <optional>

// The adapters against the real desktop programs, run headless: gsettings on a key file,
// xfconf and a stand-in Plasma shell on a private session bus.

namespace {

const QStringList hostileNames = {"a b.jpg",           "it's \"x\".png", "$(touch pwned).jpg", "a;touch pwned;.bmp",
                                  "back\\slash\\.jpg", "new\nline.jpg",  "sjö åäö.jpg",        "-rf.jpg",
                                  "100%1 %2%0A.jpg",   "tab\t#?.jpg"};

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000))
        return QStringLiteral("<did not finish>");
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A feh that says it started (its pid), waits until released, writes its environment and
// exits with FAKE_EXIT.
void writeFakeFeh(const QString& folder)
{
    QFile script(folder + "/feh");
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n"
                 "echo $$ > \"$FAKE_DIR/started\"\n"
                 "while [ ! -e \"$FAKE_DIR/release\" ]; do sleep 0.02; done\n"
                 "env > \"$FAKE_DIR/environment\"\n"
                 "exit ${FAKE_EXIT:-0}\n");
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
}

// Runs a change to a hung feh and ends the program while it runs (see main).
int exitProbe(const char* folder)
{
    int argc = 1;
    char name[] = "probe";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QObject context;
    Desktop::create()->changeAsync(Desktop::Route::DesktopValues, QString::fromLocal8Bit(folder) + "/a.jpg", "0", "0",
                                   &context, [](Desktop::ChangeResult) { std::abort(); });
    const QString started = QString::fromLocal8Bit(folder) + "/started";
    while (!QFile::exists(started))
        QThread::msleep(10);
    return 0;
}

// The desktops take only pictures that exist; an empty file stands in for one.
void apply(const QString& desktop, const QString& path, const QString& style, const QString& tile)
{
    QFile picture(path);
    if (!picture.exists() && picture.open(QIODevice::WriteOnly))
        picture.close();
    qputenv("TAVELVAXLAREN_DESKTOP", desktop.toUtf8());
    Desktop::create()->applyDesktopValues(path, style, tile);
}

// Stand-in for the Plasma shell's scripting interface.
class FakePlasmaShell : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")

public:
    QStringList scripts;
    QString refusal;

public slots:
    QString evaluateScript(const QString& script)
    {
        scripts << script;
        if (!refusal.isEmpty())
            sendErrorReply(QDBusError::Failed, refusal);
        return {};
    }
};

} // namespace

class TestDesktopPrograms : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_bus;

    bool startPrivateBus()
    {
        m_bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
        if (!m_bus.waitForStarted(5000) || !m_bus.waitForReadyRead(5000))
            return false;
        const QByteArray address = m_bus.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        return !address.isEmpty();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Everything the desktop programs store goes into the temporary folder.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath("config")));
        qputenv("GSETTINGS_BACKEND", "keyfile");
    }

    void cleanupTestCase()
    {
        if (m_bus.state() != QProcess::NotRunning) {
            m_bus.terminate();
            m_bus.waitForFinished(5000);
        }
    }

    void gsettings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("setup"); // desktop, WallpaperStyle, TileWallpaper, the option expected
        const QString plain = "a.jpg";
        QTest::newRow("GNOME tiled") << plain << "gnome 0 1 wallpaper";
        QTest::newRow("GNOME centred") << plain << "gnome 0 0 centered";
        QTest::newRow("MATE stretched") << plain << "mate 2 0 stretched";
        QTest::newRow("Cinnamon tiled") << plain << "cinnamon 0 1 wallpaper";
        for (const QString& name : hostileNames) {
            const QString shown = QString(name).replace('\n', "\\n");
            QTest::addRow("GNOME %s", qPrintable(shown)) << name << "gnome 2 0 stretched";
            QTest::addRow("MATE %s", qPrintable(shown)) << name << "mate 0 0 centered";
        }
    }

    void gsettings()
    {
        QFETCH(QString, name);
        QFETCH(QString, setup);
        const QStringList words = setup.split(' ');
        const QString desktop = words[0];
        const QString option = words[3];
        // Where each desktop keeps its picture.
        const QStringList place =
            QHash<QString, QStringList>{{"gnome", {"org.gnome.desktop.background", "picture-uri"}},
                                        {"mate", {"org.mate.background", "picture-filename"}},
                                        {"cinnamon", {"org.cinnamon.desktop.background", "picture-uri"}}}
                .value(desktop);
        const QString schema = place.value(0);
        const QString key = place.value(1);
        if (QStandardPaths::findExecutable("gsettings").isEmpty())
            QSKIP("gsettings is not installed");
        if (desktop != QLatin1String("gnome")) {
            // Stand-in schemas with the keys these desktops use.
            const QString schemas = m_dir.filePath("schemas");
            if (!QFile::exists(schemas + "/gschemas.compiled")) {
                QVERIFY(QDir().mkpath(schemas));
                QFile xml(schemas + "/tavlix-test.gschema.xml");
                QVERIFY(xml.open(QIODevice::WriteOnly));
                xml.write(R"(<schemalist>
  <enum id="tavlix.test.Options">
    <value nick="none" value="0"/><value nick="wallpaper" value="1"/><value nick="centered" value="2"/>
    <value nick="scaled" value="3"/><value nick="stretched" value="4"/><value nick="zoom" value="5"/>
  </enum>
  <schema id="org.mate.background" path="/org/mate/desktop/background/">
    <key name="picture-filename" type="s"><default>''</default></key>
    <key name="picture-options" enum="tavlix.test.Options"><default>'zoom'</default></key>
  </schema>
  <schema id="org.cinnamon.desktop.background" path="/org/cinnamon/desktop/background/">
    <key name="picture-uri" type="s"><default>''</default></key>
    <key name="picture-options" enum="tavlix.test.Options"><default>'zoom'</default></key>
  </schema>
</schemalist>
)");
                xml.close();
                QCOMPARE(QProcess::execute("glib-compile-schemas", {schemas}), 0);
            }
            qputenv("GSETTINGS_SCHEMA_DIR", QFile::encodeName(schemas));
        }
        const QString path = m_dir.filePath(name);

        apply(desktop, path, words[1], words[2]);

        const QString stored = fromGVariant(run("gsettings", {"get", schema, key}));
        QCOMPARE(key == QLatin1String("picture-uri") ? QUrl(stored, QUrl::StrictMode).toLocalFile() : stored, path);
        QCOMPARE(fromGVariant(run("gsettings", {"get", schema, "picture-options"})), option);
        if (desktop == QLatin1String("gnome") && run("gsettings", {"list-keys", schema}).contains("picture-uri-dark"))
            QCOMPARE(fromGVariant(run("gsettings", {"get", schema, "picture-uri-dark"})), stored);
        QVERIFY(!QFile::exists(QStringLiteral("pwned")));
    }

    void missingSchemaIsAnError()
    {
        if (QStandardPaths::findExecutable("gsettings").isEmpty())
            QSKIP("gsettings is not installed");
        qputenv("GSETTINGS_SCHEMA_DIR", QFile::encodeName(m_dir.filePath("no-schemas")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_dir.filePath("no-data")));
        try {
            apply("gnome", m_dir.filePath("a.jpg"), "2", "0");
            QFAIL("a desktop without its schema passed as changed");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), "Bakgrunden kunde inte bytas på skrivbordet GNOME: inställningsschemat "
                                      "org.gnome.desktop.background finns inte.");
        }
        qunsetenv("XDG_DATA_DIRS");
        qunsetenv("GSETTINGS_SCHEMA_DIR");
    }

    void xfconf_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("values"); // WallpaperStyle, TileWallpaper, the image style expected
        const QString plain = "a.jpg";
        QTest::newRow("centred") << plain << "0 0 1";
        QTest::newRow("tiled") << plain << "0 1 2";
        QTest::newRow("stretched") << plain << "2 0 3";
        for (const QString& name : hostileNames)
            QTest::addRow("%s", qPrintable(QString(name).replace('\n', "\\n"))) << name << "2 0 3";
    }

    // The first row meets an empty channel and creates the properties; the rest find and reuse them,
    // beside a second monitor's that exist already.
    void xfconf()
    {
        QFETCH(QString, name);
        QFETCH(QString, values);
        const QString imageStyle = values.section(' ', 2);
        if (QStandardPaths::findExecutable("xfconf-query").isEmpty())
            QSKIP("xfconf-query is not installed");
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            QSKIP("dbus-daemon is not installed");
        if (m_bus.state() == QProcess::NotRunning)
            QVERIFY(startPrivateBus());
        const QString first = "/backdrop/screen0/monitor0/workspace0/";
        const QString second = "/backdrop/screen0/monitorHDMI-1/workspace1/";
        const QStringList channel = {"-c", "xfce4-desktop"};
        if (QTest::currentDataTag() == QLatin1String("tiled"))
            QCOMPARE(QProcess::execute("xfconf-query", channel + QStringList{"-p", second + "last-image", "-n", "-t",
                                                                             "string", "-s", "/old.jpg"}),
                     0);
        const QString path = m_dir.filePath(name);

        apply("xfce", path, values.section(' ', 0, 0), values.section(' ', 1, 1));

        const auto read = [&](const QString& property) {
            QString value = run("xfconf-query", channel + QStringList{"-p", property});
            if (value.endsWith('\n'))
                value.chop(1);
            return value;
        };
        QCOMPARE(read(first + "last-image"), path);
        QCOMPARE(read(first + "image-style"), imageStyle);
        if (QTest::currentDataTag() != QLatin1String("centred")) {
            QCOMPARE(read(second + "last-image"), path);
            QCOMPARE(read(second + "image-style"), imageStyle);
        }
        QVERIFY(!QFile::exists(QStringLiteral("pwned")));
    }

    void changeAsync_data()
    {
        QTest::addColumn<QString>("then"); // after the program started: "release", "caller goes", "program ends"
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error"); // the start of the message delivered; "-" for nothing
        const QString feh = "Bakgrunden kunde inte bytas på skrivbordet X11 (feh): ";
        QTest::newRow("a hung program: the call returns, the result follows") << "release" << 0 << "";
        QTest::newRow("the program fails: its error") << "release" << 3 << feh + "feh avslutades med felkod 3";
        QTest::newRow("the caller is gone: nothing is delivered") << "caller goes" << 0 << "-";
        // Neither held up by the change nor outlived by its program.
        QTest::newRow("the program ends meanwhile: the change is killed") << "program ends" << 0 << "-";
        QTest::newRow("an unknown desktop: refused before any popup")
            << "" << 0 << "Bakgrunden kunde inte bytas på skrivbordet nosuch: namnet i TAVELVAXLAREN_DESKTOP är okänt";
    }

    void changeAsync()
    {
        QFETCH(QString, then);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        QTemporaryDir fake;
        writeFakeFeh(fake.path());
        qputenv("PATH", QFile::encodeName(fake.path()) + ":" + qgetenv("PATH"));
        qputenv("FAKE_DIR", QFile::encodeName(fake.path()));
        qputenv("FAKE_EXIT", QByteArray::number(exitCode));
        qputenv("TAVELVAXLAREN_DESKTOP", then.isEmpty() ? "nosuch" : "x11");
        // As on a Wayland session, where the program asks for XWayland for itself alone.
        qunsetenv("QT_QPA_PLATFORM");
        qputenv("XDG_SESSION_TYPE", "wayland");
        SessionSetup::chooseWindowSystem();
        QFile(fake.filePath("a.jpg")).open(QIODevice::WriteOnly);
        if (then == "program ends") {
            QProcess probe;
            probe.start(QCoreApplication::applicationFilePath(), {"--exit-probe", fake.path()});
            QVERIFY(probe.waitForFinished(20000));
            QCOMPARE(probe.exitCode(), 0);
            QFile started(fake.filePath("started"));
            QVERIFY(started.open(QIODevice::ReadOnly));
            const pid_t feh = started.readAll().trimmed().toInt();
            QTRY_VERIFY(feh > 0 && ::kill(feh, 0) != 0);
            return;
        }
        auto context = std::make_unique<QObject>();
        std::optional<Desktop::ChangeResult> result;
        Qt::HANDLE thread = nullptr;
        Desktop::create()->changeAsync(Desktop::Route::DesktopValues, fake.filePath("a.jpg"), "0", "0", context.get(),
                                       [&](Desktop::ChangeResult r) {
                                           result = r;
                                           thread = QThread::currentThreadId();
                                       });
        QVERIFY(!result);
        if (!then.isEmpty()) {
            QTRY_VERIFY(QFile::exists(fake.filePath("started")));
            QTest::qWait(50);
            QVERIFY2(!result, "the result came before the program ended");
            if (then == "caller goes")
                context.reset();
            QFile(fake.filePath("release")).open(QIODevice::WriteOnly);
            QTRY_VERIFY(QFile::exists(fake.filePath("environment")));
            QFile environment(fake.filePath("environment"));
            QVERIFY(environment.open(QIODevice::ReadOnly) && !environment.readAll().contains("QT_QPA_PLATFORM"));
        }
        if (error == "-") {
            QTest::qWait(300);
            QVERIFY(!result);
        } else {
            QTRY_VERIFY(result);
            QCOMPARE(thread, QThread::currentThreadId());
            QCOMPARE(result->reached, !then.isEmpty());
            QCOMPARE(result->error ? result->error->message().left(error.size()) : QString(), error);
        }
    }

    void plasma_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("taken") << "a b.jpg"
                               << "";
        QTest::newRow("quotes and newline") << "it's \"x\"\n\\.jpg"
                                            << "";
        QTest::newRow("widgets locked") << "a.jpg"
                                        << "Widgets are locked";
    }

    // The script reaches the shell over the bus, with the picture's address intact; a refusal is reported.
    void plasma()
    {
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            QSKIP("dbus-daemon is not installed");
        if (m_bus.state() == QProcess::NotRunning)
            QVERIFY(startPrivateBus());
        QThread thread;
        FakePlasmaShell shell;
        shell.refusal = refusal;
        shell.moveToThread(&thread);
        thread.start();
        QDBusConnection connection =
            QDBusConnection::connectToBus(QString::fromUtf8(qgetenv("DBUS_SESSION_BUS_ADDRESS")), "fake-plasma");
        QVERIFY(connection.registerObject("/PlasmaShell", &shell, QDBusConnection::ExportAllSlots));
        QVERIFY(connection.registerService("org.kde.plasmashell"));
        const QString path = m_dir.filePath(name);

        QString error;
        try {
            apply("kde", path, "0", "1");
        } catch (const AppError& e) {
            error = e.message();
        }

        connection.unregisterService("org.kde.plasmashell");
        connection.unregisterObject("/PlasmaShell");
        QDBusConnection::disconnectFromBus("fake-plasma");
        QThread* home = QThread::currentThread();
        QMetaObject::invokeMethod(
            &shell, [&] { shell.moveToThread(home); }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();

        QCOMPARE(shell.scripts.size(), 1);
        const QString script = shell.scripts.first();
        QVERIFY(script.contains("var fillMode = 3;"));
        QVERIFY(script.contains("d.wallpaperPlugin = \"org.kde.image\"")); // whichever plugin showed before
        const qsizetype start = script.indexOf("var image = ") + 12;
        const qsizetype end = script.indexOf(";\n", start);
        const QJsonArray image = QJsonDocument::fromJson(("[" + script.mid(start, end - start) + "]").toUtf8()).array();
        QCOMPARE(QUrl(image.at(0).toString(), QUrl::StrictMode).toLocalFile(), path);
        if (refusal.isEmpty())
            QCOMPARE(error, QString());
        else
            QCOMPARE(error, "Bakgrunden kunde inte bytas på skrivbordet KDE Plasma: plasmashell svarade med felet \"" +
                                refusal + "\".");
    }
};

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--exit-probe") == 0)
        return exitProbe(argv[2]);
    QCoreApplication app(argc, argv);
    TestDesktopPrograms test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_DesktopPrograms.moc"
