#include "MainLayout.h"
#include "resources/Resources.h"

#include <QScreen>
#include <QTest>

// A real X server: the skin's key colour must be cut out of the window itself, so the desktop
// (here a plain window of a colour the skin does not use) shows through.
class TestX11SkinnedWindow : public QObject
{
    Q_OBJECT

private slots:
    void desktopShowsThroughTheCutOutPixels()
    {
        const QColor desktopColour(255, 0, 255);
        QWidget desktop;
        desktop.setWindowFlag(Qt::FramelessWindowHint);
        desktop.setAutoFillBackground(true);
        QPalette palette = desktop.palette();
        palette.setColor(QPalette::Window, desktopColour);
        desktop.setPalette(palette);
        desktop.setGeometry(QGuiApplication::primaryScreen()->geometry());
        desktop.show();
        QVERIFY(QTest::qWaitForWindowExposed(&desktop));

        MainLayout layout;
        QWidget& form = layout.form;
        form.move(40, 30);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::qWait(300);

        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        const QImage skin = Resources::image(QStringLiteral("Skal")).convertToFormat(QImage::Format_RGB32);
        const QRgb key = skin.pixel(0, 0);
        const QPoint origin = form.geometry().topLeft();
        // The panels and the caption cluster lie over the skin; elsewhere the skin itself shows.
        const QRect panels(9, 70, 969, 530);
        const QRect cluster(784, 30, 66, 26);

        int cut = 0, kept = 0;
        for (int y = 0; y < skin.height(); y += 3) {
            for (int x = 0; x < skin.width(); x += 7) {
                const QColor shown = screen.pixelColor(origin + QPoint(x, y));
                if (skin.pixel(x, y) == key) {
                    QVERIFY2(shown == desktopColour, qPrintable(QStringLiteral("cut pixel %1,%2").arg(x).arg(y)));
                    ++cut;
                } else {
                    QVERIFY2(shown != desktopColour, qPrintable(QStringLiteral("kept pixel %1,%2").arg(x).arg(y)));
                    if (!panels.contains(x, y) && !cluster.contains(x, y))
                        QCOMPARE(shown.rgb(), skin.pixel(x, y));
                    ++kept;
                }
            }
        }
        // The corners and the surround of the arch are cut; the body is there.
        QVERIFY(cut > 1000);
        QVERIFY(kept > 10000);
        QCOMPARE(screen.pixelColor(origin + QPoint(1, 1)), desktopColour);
        QCOMPARE(screen.pixelColor(origin + QPoint(986, 606)), desktopColour);
    }
};

QTEST_MAIN(TestX11SkinnedWindow)
#include "tst_x11_SkinnedWindow.moc"
