#include "notify/TrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using Reason = QSystemTrayIcon::ActivationReason;

// The default item runs once per double-click on areas that send them, once per activation on the others.
class TestTrayIcon : public QObject
{
    Q_OBJECT

private slots:
    void defaultItemRunsOncePerActivation_data()
    {
        QTest::addColumn<TrayIcon::AreaKind>("area");
        QTest::addColumn<QList<int>>("reasons"); // sent one after the other, at once
        QTest::addColumn<int>("runs");
        const auto sni = TrayIcon::AreaKind::SingleActivation, xembed = TrayIcon::AreaKind::DoubleClicks;
        QTest::newRow("single activation (StatusNotifierItem hosts)") << sni << QList<int>{Reason::Trigger} << 1;
        QTest::newRow("host sending two activations for a double-click")
            << sni << QList<int>{Reason::Trigger, Reason::Trigger} << 1;
        QTest::newRow("two activations apart") << sni << QList<int>{Reason::Trigger, -1, Reason::Trigger} << 2;
        QTest::newRow("one click on a tray that sends double-clicks") << xembed << QList<int>{Reason::Trigger} << 0;
        QTest::newRow("double-click: click, then double-click")
            << xembed << QList<int>{Reason::Trigger, Reason::DoubleClick} << 1;
        QTest::newRow("two double-clicks apart")
            << xembed << QList<int>{Reason::Trigger, Reason::DoubleClick, -1, Reason::Trigger, Reason::DoubleClick}
            << 2;
        QTest::newRow("context menu request") << sni << QList<int>{Reason::Context} << 0;
    }

    void defaultItemRunsOncePerActivation()
    {
        QFETCH(TrayIcon::AreaKind, area);
        QFETCH(QList<int>, reasons);
        QFETCH(int, runs);
        QWidget window;
        TrayIcon tray(&window, area);
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
