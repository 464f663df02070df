#include "toolkit/BevelPanel.h"
#include "toolkit/Hint.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/TransparentImage.h"

#include <QContextMenuEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace {

// Two 4 x 3 glyphs side by side: enabled red, disabled blue, both on a green background
// that the bottom-left pixel names.
QPixmap twoGlyphs()
{
    QImage image(8, 3, QImage::Format_RGB32);
    image.fill(Qt::green);
    image.setPixel(1, 1, qRgb(255, 0, 0));
    image.setPixel(5, 1, qRgb(0, 0, 255));
    return QPixmap::fromImage(image);
}

QImage rendered(QWidget& w)
{
    QImage image(w.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    w.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace

class TestToolkitControls : public QObject
{
    Q_OBJECT

private slots:
    void hintParts_data()
    {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("shortPart");
        QTest::addColumn<QString>("longPart");
        QTest::newRow("no bar: both") << "Avsluta programmet"
                                      << "Avsluta programmet"
                                      << "Avsluta programmet";
        QTest::newRow("short and long") << "Kort|Lång text"
                                        << "Kort"
                                        << "Lång text";
        QTest::newRow("only long") << "|Lång"
                                   << ""
                                   << "Lång";
        QTest::newRow("second bar stays in the long part") << "a|b|c"
                                                           << "a"
                                                           << "b|c";
    }

    void hintParts()
    {
        QFETCH(QString, hint);
        QFETCH(QString, shortPart);
        QFETCH(QString, longPart);
        QWidget w;
        setHint(&w, hint);
        QCOMPARE(w.toolTip(), shortPart);
        QCOMPARE(w.statusTip(), longPart);
    }

    void speedButtonDrawsTheGlyphOfItsStateWithoutBackground_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QColor>("glyphPixel");
        QTest::newRow("enabled: first image") << true << QColor(255, 0, 0);
        QTest::newRow("disabled: second image") << false << QColor(0, 0, 255);
    }

    void speedButtonDrawsTheGlyphOfItsStateWithoutBackground()
    {
        QFETCH(bool, enabled);
        QFETCH(QColor, glyphPixel);
        SpeedButton button;
        button.setGlyph(twoGlyphs(), 2);
        button.setGeometry(0, 0, 40, 11);
        button.setEnabled(enabled);
        const QImage image = rendered(button);
        // Glyph 8 pixels from the left, centred vertically: its (1, 1) lands at (9, 5).
        QCOMPARE(image.pixelColor(9, 5), glyphPixel);
        QCOMPARE(image.pixelColor(8, 4).alpha(), 0);
        QCOMPARE(image.pixelColor(11, 6).alpha(), 0);
    }

    void transparentImageLeavesOutTheBottomLeftColour_data()
    {
        QTest::addColumn<bool>("transparent");
        QTest::newRow("transparent") << true;
        QTest::newRow("opaque") << false;
    }

    void transparentImageLeavesOutTheBottomLeftColour()
    {
        QFETCH(bool, transparent);
        TransparentImage image;
        image.setBitmap(twoGlyphs(), transparent);
        QCOMPARE(image.size(), QSize(8, 3));
        const QImage shown = image.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(shown.pixelColor(0, 0).alpha(), transparent ? 0 : 255);
        QCOMPARE(shown.pixelColor(1, 1), QColor(255, 0, 0));
        QCOMPARE(image.bitmap().toImage(), twoGlyphs().toImage());
    }

    void bevelPanelFillsWithItsColourAndDrawsTheBevel()
    {
        QWidget parent;
        QPalette pal = parent.palette();
        pal.setColor(QPalette::Window, QColor(1, 2, 3));
        parent.setPalette(pal);
        auto* panel = new BevelPanel(&parent);
        panel->setGeometry(0, 0, 20, 10);
        panel->setBevelOuter(BevelPanel::Bevel::Lowered);
        // Without a colour of its own the panel shows its parent's.
        QCOMPARE(panel->color(), QColor(1, 2, 3));
        panel->setColor(QColor(200, 100, 50));
        const QImage image = rendered(*panel);
        QCOMPARE(image.pixelColor(10, 5), QColor(200, 100, 50));
        QCOMPARE(image.pixelColor(0, 0), QColor(128, 128, 128));  // lowered: shadow top-left
        QCOMPARE(image.pixelColor(19, 9), QColor(255, 255, 255)); // highlight bottom-right
    }

    void bevelPanelClicksAndContextRequests()
    {
        QWidget parent;
        auto* panel = new BevelPanel(&parent);
        panel->setGeometry(0, 0, 20, 10);
        QSignalSpy clicked(panel, &BevelPanel::clicked);
        QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(panel, Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(clicked.count(), 1);

        // Nobody listens: the request goes on to the parent.
        QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(1, 1), QPoint(1, 1));
        QApplication::sendEvent(panel, &request);
        QVERIFY(!request.isAccepted());
        QSignalSpy right(panel, &BevelPanel::rightClicked);
        QContextMenuEvent listened(QContextMenuEvent::Mouse, QPoint(1, 1), QPoint(7, 8));
        QApplication::sendEvent(panel, &listened);
        QVERIFY(listened.isAccepted());
        QCOMPARE(right.count(), 1);
        QCOMPARE(right.first().first().toPoint(), QPoint(7, 8));
    }
};

QTEST_MAIN(TestToolkitControls)
#include "tst_ToolkitControls.moc"
