#include "resources/Resources.h"
#include "toolkit/CaptionButton.h"
#include "toolkit/DragShape.h"
#include "toolkit/TransparentImage.h"
#include "toolkit/WindowDragger.h"

#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint local)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

class TestCaptionButton : public QObject
{
    Q_OBJECT

private slots:
    void imagesFollowTheMouse_data()
    {
        QTest::addColumn<int>("button"); // 0 close, 1 minimise, 2 about
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<int>("clicks");

        const QStringList click{"enter", "left down", "left up"};
        QTest::newRow("close: click shows the resting image under the pointer")
            << 0 << click << QStringList{"StengOver", "StengNer", "Steng"} << 1;
        QTest::newRow("minimise: click") << 1 << click << QStringList{"MinOver", "MinNer", "Min"} << 1;
        QTest::newRow("about: click shows the pointer-over image")
            << 2 << click << QStringList{"Om1", "Om2", "Om1"} << 1;
        QTest::newRow("right button shows pressed and released but does nothing")
            << 0 << QStringList{"enter", "right down", "right up"} << QStringList{"StengOver", "StengNer", "Steng"}
            << 0;
        QTest::newRow("press, leave, release elsewhere: no action")
            << 0 << QStringList{"enter", "left down", "leave", "left up outside"}
            << QStringList{"StengOver", "StengNer", "Steng", "Steng"} << 0;
        QTest::newRow("leaving restores") << 2 << QStringList{"enter", "leave"} << QStringList{"Om1", "Om"} << 0;
    }

    void imagesFollowTheMouse()
    {
        QFETCH(int, button);
        QFETCH(QStringList, events);
        QFETCH(QStringList, images);
        QFETCH(int, clicks);

        const CaptionButton::Images sets[] = {CaptionButton::closeImages, CaptionButton::minimiseImages,
                                              CaptionButton::aboutImages};
        QWidget form;
        auto* image = new TransparentImage(&form);
        image->setResource(sets[button].rest);
        auto* hotSpot = new QLabel(&form);
        hotSpot->setGeometry(10, 10, 18, 18);
        CaptionButton caption(image, hotSpot, sets[button]);
        QSignalSpy clicked(&caption, &CaptionButton::clicked);

        for (qsizetype i = 0; i < events.size(); ++i) {
            const QString& e = events[i];
            if (e == "enter") {
                QEnterEvent enter(QPointF(2, 2), QPointF(12, 12), QPointF(12, 12));
                QApplication::sendEvent(hotSpot, &enter);
            } else if (e == "leave") {
                QEvent leave(QEvent::Leave);
                QApplication::sendEvent(hotSpot, &leave);
            } else {
                const Qt::MouseButton b = e.startsWith("left") ? Qt::LeftButton : Qt::RightButton;
                const QPoint at = e.endsWith("outside") ? QPoint(60, 60) : QPoint(5, 5);
                mouse(hotSpot, e.contains("down") ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, b, at);
            }
            QCOMPARE(image->resource().toUpper(), images[i].toUpper());
            QCOMPARE(image->bitmap().toImage(), Resources::bitmap(images[i]).toImage());
        }
        QCOMPARE(clicked.count(), clicks);
    }

    void draggingMovesTheWindow_data()
    {
        QTest::addColumn<QStringList>("events"); // button action x y (screen)
        QTest::addColumn<QPoint>("moved");

        QTest::newRow("left drag moves by the pointer's travel")
            << QStringList{"L down 100 100", "_ move 130 90", "_ move 140 95", "L up 140 95"} << QPoint(40, -5);
        QTest::newRow("far outside the window keeps moving")
            << QStringList{"L down 100 100", "_ move 2100 -900", "L up 2100 -900"} << QPoint(2000, -1000);
        QTest::newRow("right press does not start a drag")
            << QStringList{"R down 100 100", "_ move 150 150", "R up 150 150"} << QPoint(0, 0);
        QTest::newRow("right release during a left drag does not end it")
            << QStringList{"L down 100 100", "R up 100 100", "_ move 110 120", "L up 110 120", "_ move 300 300"}
            << QPoint(10, 20);
        QTest::newRow("moves after the release do nothing")
            << QStringList{"L down 0 0", "L up 0 0", "_ move 50 50"} << QPoint(0, 0);
    }

    void draggingMovesTheWindow()
    {
        QFETCH(QStringList, events);
        QFETCH(QPoint, moved);

        QWidget form;
        form.setGeometry(200, 150, 300, 200);
        auto* area = new DragShape(&form);
        area->setGeometry(0, 0, 300, 40);
        WindowDragger dragger(&form, {area});
        const QPoint start = form.pos();
        for (const QString& e : events) {
            const QStringList part = e.split(u' ');
            const QPoint global(part[2].toInt(), part[3].toInt());
            const Qt::MouseButton button = part[0] == "L"   ? Qt::LeftButton
                                           : part[0] == "R" ? Qt::RightButton
                                                            : Qt::NoButton;
            const QEvent::Type type = part[1] == "down" ? QEvent::MouseButtonPress
                                      : part[1] == "up" ? QEvent::MouseButtonRelease
                                                        : QEvent::MouseMove;
            QMouseEvent event(type, area->mapFromGlobal(global), global, button,
                              dragger.isDragging() ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(area, &event);
        }
        QCOMPARE(form.pos() - start, moved);
        QCOMPARE(area->cursor().shape(), Qt::DragMoveCursor);
    }
};

QTEST_MAIN(TestCaptionButton)
#include "tst_CaptionButton.moc"
