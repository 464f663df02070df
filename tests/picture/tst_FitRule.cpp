#include "picture/FitRule.h"

#include <QTest>

class TestFitRule : public QObject
{
    Q_OBJECT

private slots:
    void fit_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QRect>("expected");

        // The thumbnail box after the mat's bevel.
        QTest::newRow("800x600 fills 80x60") << QSize(800, 600) << QSize(80, 60) << QRect(0, 0, 80, 60);
        QTest::newRow("40x30 stays, centred") << QSize(40, 30) << QSize(80, 60) << QRect(20, 15, 40, 30);
        QTest::newRow("exact fit") << QSize(80, 60) << QSize(80, 60) << QRect(0, 0, 80, 60);
        QTest::newRow("odd margins round towards zero") << QSize(41, 31) << QSize(80, 60) << QRect(19, 14, 41, 31);
        // Wider than high: start from the width.
        QTest::newRow("wide, height truncated") << QSize(1000, 333) << QSize(100, 100) << QRect(0, 33, 100, 33);
        QTest::newRow("wide, then too high: from the height")
            << QSize(400, 300) << QSize(100, 50) << QRect(17, 0, 66, 50);
        QTest::newRow("wide picture only too wide") << QSize(300, 50) << QSize(100, 100) << QRect(0, 42, 100, 16);
        QTest::newRow("wide picture only too high") << QSize(90, 80) << QSize(100, 40) << QRect(27, 0, 45, 40);
        // 77 / (88/72.0) is 62.99999… in floating point; the exact quotient is 63.
        QTest::newRow("exact quotient, not floating") << QSize(88, 72) << QSize(77, 77) << QRect(0, 7, 77, 63);
        // Not wider than high (square included): start from the height.
        QTest::newRow("tall, width truncated") << QSize(300, 400) << QSize(100, 100) << QRect(12, 0, 75, 100);
        QTest::newRow("tall, then too wide: from the width")
            << QSize(300, 400) << QSize(50, 100) << QRect(0, 17, 50, 66);
        QTest::newRow("square in a wide box") << QSize(200, 200) << QSize(100, 50) << QRect(25, 0, 50, 50);
        QTest::newRow("square in a tall box") << QSize(200, 200) << QSize(50, 100) << QRect(0, 25, 50, 50);
        QTest::newRow("tall picture only too high") << QSize(50, 200) << QSize(100, 100) << QRect(37, 0, 25, 100);
        // Design card of the thumbnail strip.
        QTest::newRow("4000x3000 into 96x77") << QSize(4000, 3000) << QSize(96, 77) << QRect(0, 2, 96, 72);
        QTest::newRow("thin line keeps a pixel") << QSize(1000, 1) << QSize(10, 10) << QRect(0, 4, 10, 1);
        QTest::newRow("empty box") << QSize(40, 30) << QSize(0, 0) << QRect(0, 0, 0, 0);
    }

    void fit()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, box);
        QFETCH(QRect, expected);
        QCOMPARE(fitRect(picture, box), expected);
    }
};

QTEST_APPLESS_MAIN(TestFitRule)
#include "tst_FitRule.moc"
