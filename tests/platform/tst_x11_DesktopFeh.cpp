#include "platform/Desktop.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// feh on a real X server: the root window must show exactly the picture that was asked for.
class TestX11DesktopFeh : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;

    static QString rootPixmap()
    {
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_XROOTPMAP_ID")});
        xprop.waitForFinished(5000);
        return QString::fromLocal8Bit(xprop.readAllStandardOutput()).trimmed();
    }

    static QColor rootColour()
    {
        const QImage root = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        return root.pixelColor(root.width() / 2, root.height() / 2);
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("feh")).isEmpty())
            QSKIP("feh is not installed");
        if (QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty())
            QSKIP("xprop is not installed");
        QVERIFY(m_dir.isValid());
        m_previousDir = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        qputenv("TAVELVAXLAREN_DESKTOP", "x11");
    }

    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }

    void hostileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("relative");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("tile");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("spaces, tiled") << "a b c.png" << false << "0"
                                       << "1" << QColor(200, 0, 0);
        QTest::newRow("both quotes, centred") << "it's \"x\".png" << false << "0"
                                              << "0" << QColor(0, 200, 0);
        QTest::newRow("command substitution") << "$(touch pwned).png" << false << "2"
                                              << "0" << QColor(0, 0, 200);
        QTest::newRow("semicolon and backquotes") << "a;touch pwned;`touch pwned`.png" << false << "0"
                                                  << "1" << QColor(200, 200, 0);
        QTest::newRow("backslashes") << "back\\slash\\.png" << false << "2"
                                     << "0" << QColor(0, 200, 200);
        QTest::newRow("newline") << "new\nline.png" << false << "0"
                                 << "1" << QColor(200, 0, 200);
        QTest::newRow("åäö") << "sjö åäö.png" << false << "2"
                             << "0" << QColor(100, 50, 0);
        QTest::newRow("leading dash, absolute") << "-rf.png" << false << "0"
                                                << "1" << QColor(0, 100, 50);
        QTest::newRow("leading dash, relative") << "--bg-fill.png" << true << "0"
                                                << "1" << QColor(50, 0, 100);
    }

    void hostileNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, relative);
        QFETCH(QString, style);
        QFETCH(QString, tile);
        QFETCH(QColor, colour);
        QImage picture(64, 64, QImage::Format_RGB32);
        picture.fill(colour);
        QVERIFY(picture.save(m_dir.filePath(name), "PNG"));
        const QString before = rootPixmap();

        const QString path = relative ? name : m_dir.filePath(name);
        Desktop::create()->applyDesktopValues(path, style, tile);

        const QString after = rootPixmap();
        QVERIFY2(after.contains(QLatin1String("pixmap id")), qPrintable(after));
        QVERIFY(after != before);
        QCOMPARE(rootColour(), colour);
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("pwned"))));
    }

    void notAPicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        const QString start = "Bakgrunden kunde inte bytas på skrivbordet X11 (feh): ";
        QTest::newRow("missing file") << "saknas.png" << start + "bilden \"%1\" finns inte eller är ingen fil.";
        QTest::newRow("a folder of pictures") << "" << start + "bilden \"%1\" finns inte eller är ingen fil.";
        QTest::newRow("not a picture") << "text.png" << start + "feh avslutades med felkod ";
    }

    // Nothing but the file asked for may become the background, and a failure is never a success.
    void notAPicture()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFile text(m_dir.filePath(QStringLiteral("text.png")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("no picture here");
        text.close();
        const QString path = m_dir.filePath(name);
        if (message.contains(QLatin1String("%1")))
            message = message.arg(path);
        const QString before = rootPixmap();
        try {
            Desktop::create()->applyDesktopValues(path, "0", "0");
            QFAIL("the background passed as changed");
        } catch (const AppError& error) {
            QVERIFY2(error.message().startsWith(message), qPrintable(error.message()));
        }
        QCOMPARE(rootPixmap(), before);
    }
};

QTEST_MAIN(TestX11DesktopFeh)
#include "tst_x11_DesktopFeh.moc"
