// Skins and caption images on a screen scaled by 2: drawn from their finer bitmaps at their
// logical size, with the shape of the 1x skin.

#include "resources/Resources.h"
#include "toolkit/SkinRegion.h"
#include "toolkit/TransparentImage.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

class TestScaledSkin : public QObject
{
    Q_OBJECT

private slots:
    void drawnFine_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size"); // logical
        QTest::newRow("main skin") << "Skal" << QSize(988, 608);
        QTest::newRow("splash skin") << "Splash" << QSize(300, 124);
        QTest::newRow("close button") << "Steng" << QSize(18, 18);
    }

    void drawnFine()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QWidget window;
        QPixmap shown;
        if (size.width() > 100) {
            QLabel image(&window);
            QCOMPARE(applySkin(&window, &image, name), BuildSkinRegion(Resources::image(name)));
            QCOMPARE(window.size(), size);
            shown = image.pixmap();
        } else {
            // Its key colour taken out, the caption image keeps the finer pixels.
            TransparentImage image(&window);
            image.setResource(name);
            QCOMPARE(image.size(), size);
            shown = image.pixmap();
        }
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        QCOMPARE(shown.size(), size * 2);
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2"); // read when the application starts
    QApplication app(argc, argv);
    TestScaledSkin test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ScaledSkin.moc"
