#include "resources/Resources.h"
#include "toolkit/SkinRegion.h"

#include <QLabel>
#include <QScreen>
#include <QTest>

// Compositors draw a window's whole buffer: the pixels a skin cuts away must be transparent there,
// and the X shape must stay for input and for window managers that draw only the shape.
class TestX11SkinShape : public QObject
{
    Q_OBJECT

private slots:
    void cutAwayPixelsAreTransparent_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::newRow("main window and list editor") << "Skal";
        QTest::newRow("splash and about window") << "Splash";
    }

    void cutAwayPixelsAreTransparent()
    {
        QFETCH(QString, skin);
        QWidget window(nullptr, Qt::FramelessWindowHint);
        window.setAutoFillBackground(true); // as the skinned windows paint their colour
        auto* image = new QLabel(&window);
        applySkin(&window, image, skin);
        window.move(20, 20);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(200);

        const QImage buffer = window.screen()->grabWindow(window.winId()).toImage();
        const QImage bitmap = Resources::image(skin).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(buffer.size(), bitmap.size());
        const QRgb key = bitmap.pixel(0, 0);
        int cut = 0;
        for (int y = 0; y < bitmap.height(); y += 2) {
            for (int x = 0; x < bitmap.width(); x += 3) {
                const int alpha = qAlpha(buffer.pixel(x, y));
                const bool isCut = bitmap.pixel(x, y) == key;
                cut += isCut;
                QVERIFY2(alpha == (isCut ? 0 : 255),
                         qPrintable(QStringLiteral("%1,%2 alpha %3").arg(x).arg(y).arg(alpha)));
            }
        }
        QVERIFY(cut > 100);
    }
};

QTEST_MAIN(TestX11SkinShape)
#include "tst_x11_SkinShape.moc"
