#include "ScriptedDialogs.h"
#include "app/SplashWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTest>

class TestSplashWindow : public QObject
{
    Q_OBJECT

private slots:
    void lowerEdgeSitsOnTheWorkAreasMiddleLine()
    {
        SplashWindow splash;
        splash.show();
        const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(splash.y() + splash.height(), work.height() / 2);
        QCOMPARE(splash.x(), work.width() / 2 - splash.width() / 2);
        QVERIFY(!splash.mask().isEmpty()); // shaped by its skin
        QCOMPARE(splash.cursor().shape(), Qt::WaitCursor);
    }

    void creditEndsWithTheStartWordAndTheGaugeFollows_data()
    {
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("shownMaximum");
        QTest::addColumn<int>("shownValue");
        QTest::newRow("midway") << 18 << 7 << 18 << 7;
        // One picture or one value: a range of 0..0 would be Qt's busy bar.
        QTest::newRow("single step is full") << 0 << 0 << 1 << 1;
    }

    void creditEndsWithTheStartWordAndTheGaugeFollows()
    {
        QFETCH(int, maximum);
        QFETCH(int, position);
        QFETCH(int, shownMaximum);
        QFETCH(int, shownValue);
        SplashWindow splash;
        QVERIFY(splash.findChild<QLabel*>(QStringLiteral("Label1"))->text().endsWith(QStringLiteral("Startar...")));
        splash.setGauge(maximum, position);
        splash.setGaugePosition(position);
        splash.setStatus(QStringLiteral("Läser in RegisterVärden . . ."));
        auto* gauge = splash.findChild<QProgressBar*>(QStringLiteral("Progress"));
        QCOMPARE(gauge->minimum(), 0);
        QCOMPARE(gauge->maximum(), shownMaximum);
        QCOMPARE(gauge->value(), shownValue);
        QCOMPARE(splash.findChild<QLabel*>(QStringLiteral("LbLadda"))->text(),
                 QStringLiteral("Läser in RegisterVärden . . ."));
    }

    void closingOnlyHidesAndGreetsWithTheBalloonText()
    {
        QApplication::setApplicationName(QStringLiteral("Tavelvaxlaren"));
        SplashWindow splash;
        QString title, text;
        connect(&splash, &SplashWindow::welcomed, [&](const QString& t, const QString& m) {
            title = t;
            text = m;
        });
        splash.show();
        QVERIFY(splash.close());
        QVERIFY(!splash.isVisible());
        QCOMPARE(title, QStringLiteral("Tavelvaxlaren"));
        QVERIFY2(text.startsWith(QStringLiteral("Välkommen till Tavelvaxlaren\n\r")), qPrintable(text));
    }
};

QTEST_MAIN(TestSplashWindow)
#include "tst_SplashWindow.moc"
