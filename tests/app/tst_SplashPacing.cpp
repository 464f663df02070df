#include "app/SplashWindow.h"

#include <QTest>

class TestSplashPacing : public QObject
{
    Q_OBJECT

private slots:
    // Each shown step costs a repaint and a pause: a long list must not keep the splash up for minutes.
    void stepsShownForAList_data()
    {
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("shown");
        QTest::newRow("one picture") << 0 << 1;
        QTest::newRow("500 pictures: every step") << 499 << 500;
        QTest::newRow("the longest list with every step") << 999 << 1000;
        QTest::newRow("one more: every second step and the last") << 1000 << 501;
        QTest::newRow("100,000 pictures") << 99999 << 1001;
    }
    void stepsShownForAList()
    {
        QFETCH(int, maximum);
        QFETCH(int, shown);
        int count = 0;
        for (int position = 0; position <= maximum; ++position)
            count += SplashWindow::showsStep(maximum, position) ? 1 : 0;
        QCOMPARE(count, shown);
        // The gauge always reaches its end.
        QVERIFY(SplashWindow::showsStep(maximum, 0) && SplashWindow::showsStep(maximum, maximum));
    }
};

QTEST_APPLESS_MAIN(TestSplashPacing)
#include "tst_SplashPacing.moc"
