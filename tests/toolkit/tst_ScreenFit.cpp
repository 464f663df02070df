#include "toolkit/ScreenFit.h"

#include <QTest>

using ScreenFit::Screen;
Q_DECLARE_METATYPE(QList<ScreenFit::Screen>)

class TestScreenFit : public QObject
{
    Q_OBJECT

private slots:
    void place_data()
    {
        QTest::addColumn<QList<Screen>>("screens");
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QPoint>("expected");
        // A primary screen with a panel at the bottom, a second one to its right.
        const Screen primary{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}};
        const Screen second{{1920, 0, 1280, 1024}, {1920, 0, 1280, 1024}};
        const Screen far{{3000, 0, 1920, 1080}, {3000, 0, 1920, 1080}};
        const QList<Screen> both{primary, second};
        const QSize main(988, 608);
        QTest::newRow("on a screen: left alone") << both << QRect({100, 100}, main) << QPoint(100, 100);
        // Where the user dragged it, partly off, it stays.
        QTest::newRow("partly on a screen: left alone") << both << QRect({3100, 1000}, main) << QPoint(3100, 1000);
        // The stored place of a monitor that was unplugged comes back whole, not as a corner.
        QTest::newRow("stored beyond the only screen")
            << QList<Screen>{primary} << QRect({2600, 1500}, main) << QPoint(1920 - 988, 1040 - 608);
        QTest::newRow("top panel: below it") << QList<Screen>{{{0, 0, 1920, 1080}, {0, 32, 1920, 1048}}}
                                             << QRect(100, -700, 300, 124) << QPoint(100, 32);
        QTest::newRow("the nearest screen, not the primary")
            << QList<Screen>{primary, far} << QRect(4800, 1500, 300, 124) << QPoint(3000 + 1920 - 300, 1080 - 124);
        QTest::newRow("larger than the work area: its top-left there")
            << QList<Screen>{primary} << QRect(5000, 5000, 2000, 1200) << QPoint(0, 0);
    }

    void place()
    {
        QFETCH(QList<Screen>, screens);
        QFETCH(QRect, window);
        QFETCH(QPoint, expected);
        QCOMPARE(ScreenFit::place(window, screens), expected);
    }
};

QTEST_APPLESS_MAIN(TestScreenFit)
#include "tst_ScreenFit.moc"
