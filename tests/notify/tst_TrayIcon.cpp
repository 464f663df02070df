#include "notify/TrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using Reason = QSystemTrayIcon::ActivationReason;

// One activation of the icon runs the menu's default item once, whatever the host sends for it.
class TestTrayIcon : public QObject
{
    Q_OBJECT

private slots:
    void defaultItemRunsOncePerActivation_data()
    {
        QTest::addColumn<QList<int>>("reasons"); // sent one after the other, at once
        QTest::addColumn<int>("runs");
        QTest::newRow("single activation (StatusNotifierItem hosts)") << QList<int>{Reason::Trigger} << 1;
        QTest::newRow("double-click: click, then double-click")
            << QList<int>{Reason::Trigger, Reason::DoubleClick} << 1;
        QTest::newRow("host sending two activations for a double-click")
            << QList<int>{Reason::Trigger, Reason::Trigger} << 1;
        QTest::newRow("after a double-click a click alone does nothing")
            << QList<int>{Reason::Trigger, Reason::DoubleClick, -1, Reason::Trigger} << 1;
        QTest::newRow("two activations apart") << QList<int>{Reason::Trigger, -1, Reason::Trigger} << 2;
        QTest::newRow("context menu request") << QList<int>{Reason::Context} << 0;
    }

    void defaultItemRunsOncePerActivation()
    {
        QFETCH(QList<int>, reasons);
        QFETCH(int, runs);
        QWidget window;
        TrayIcon tray(&window);
        QMenu menu;
        QAction* item = menu.addAction(QStringLiteral("&Minimera"));
        menu.setDefaultAction(item);
        tray.setPopupMenu(&menu);
        QSignalSpy ran(item, &QAction::triggered);
        const int pause = QApplication::doubleClickInterval() + 200;
        for (const int reason : reasons) {
            if (reason < 0)
                QTest::qWait(pause); // the user waits before the next click
            else
                tray.activate(Reason(reason));
        }
        QTest::qWait(pause);
        QCOMPARE(ran.size(), runs);
    }
};

QTEST_MAIN(TestTrayIcon)
#include "tst_TrayIcon.moc"
