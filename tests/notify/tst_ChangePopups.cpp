#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "notify/ChangePopup.h"
#include "notify/ChangePopups.h"
#include "notify/WrappingLabel.h"
#include "picture/FitRule.h"
#include "toolkit/BevelPanel.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/TransparentImage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

// Records every top a window takes while it is shown.
class MoveLog : public QObject
{
public:
    QList<int> tops;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Move && static_cast<QWidget*>(watched)->isVisible())
            tops << static_cast<QWidget*>(watched)->y();
        return false;
    }
};

int visiblePopupWindows()
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += qobject_cast<ChangePopup*>(w) && w->isVisible();
    return n;
}

} // namespace

class TestChangePopups : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> m_form;
    ChangePopups::Controls m_c{};
    std::unique_ptr<QWidget> m_splash; // stands in for the splash window
    std::unique_ptr<ChangePopups> m_popups;
    QTemporaryDir m_dir;

    QString picture(const QString& name, QSize size)
    {
        const QString path = m_dir.filePath(name);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        image.save(path);
        return path;
    }

private slots:
    void init()
    {
        m_form = std::make_unique<QWidget>();
        QPalette pal = m_form->palette();
        pal.setColor(QPalette::Window, QColor(0xA6, 0xCA, 0xF0));
        m_form->setPalette(pal);
        m_c.form = m_form.get();
        m_c.pnlBg = new BevelPanel(m_form.get());
        m_c.pnlBg->setColor(QColor(0x80, 0x00, 0x00));
        m_c.pnlMark = new BevelPanel(m_form.get());
        m_c.pnlMark->setColor(QColor(0xFF, 0xFF, 0x00));
        m_c.ram = new SpinEdit(m_form.get());
        m_c.ram->setValue(8);
        m_c.timerPop = new QTimer(m_form.get());
        m_c.timerPop->setInterval(1000);
        m_splash = std::make_unique<QWidget>();
        m_popups = std::make_unique<ChangePopups>(m_c);
        m_popups->setScreenRect(QRect(0, 0, 1920, 1080));
        m_popups->setSplash(m_splash.get());
        m_popups->bind();
    }

    void cleanup()
    {
        m_popups.reset();
        m_form.reset();
    }

    void slides_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("restingTop");
        QTest::newRow("full HD: 205 is no multiple of 3, so it rests 2 px higher")
            << QRect(0, 0, 1920, 1080) << 1765 << 873;
        QTest::newRow("1024 x 768") << QRect(0, 0, 1024, 768) << 869 << 561;
        QTest::newRow("primary screen right of another") << QRect(1920, 0, 1280, 1024) << 3045 << 817;
    }

    void slides()
    {
        QFETCH(QRect, screen);
        QFETCH(int, left);
        QFETCH(int, restingTop);
        m_popups->setScreenRect(screen);
        const int bottom = screen.y() + screen.height();
        MoveLog log;
        // The first popup window is created by the first request; watch the one that request builds.
        m_popups->VisaPopup(picture("a.png", {40, 30}));
        ChangePopup* popup = m_popups->current();
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->geometry(), QRect(left, restingTop, 155, 175));
        m_popups->ImgStengClick();

        popup->installEventFilter(&log);
        m_popups->VisaPopup(picture("a.png", {40, 30}));
        QCOMPARE(m_popups->current(), popup);
        // Shown just below the screen, then 69 steps up.
        QCOMPARE(log.tops.first(), bottom - 3);
        QCOMPARE(log.tops.last(), restingTop);
        QCOMPARE(log.tops.size(), 69);
        for (int i = 1; i < log.tops.size(); ++i)
            QCOMPARE(log.tops[i - 1] - log.tops[i], 3);

        // TimerPop's tick slides it out.
        log.tops.clear();
        m_c.timerPop->start(1);
        QTRY_VERIFY(!m_c.timerPop->isActive());
        QCOMPARE(log.tops.size(), 69);
        QCOMPARE(log.tops.last(), bottom);
        QVERIFY(!popup->isVisible());
    }

    void lifetime_data()
    {
        QTest::addColumn<bool>("splash");
        QTest::addColumn<int>("runningBefore"); // 0: off
        QTest::addColumn<int>("interval");
        QTest::newRow("start-up") << true << 0 << 5000;
        QTest::newRow("later") << false << 0 << 40000;
        QTest::newRow("designed interval is replaced") << false << -1000 << 40000;
        // A replacing popup gets its whole lifetime, not the rest of the old one's.
        QTest::newRow("same interval starts afresh") << false << 40000 << 40000;
        QTest::newRow("later popup followed by one during start-up") << true << 40000 << 5000;
    }

    void lifetime()
    {
        QFETCH(bool, splash);
        QFETCH(int, runningBefore);
        QFETCH(int, interval);
        m_c.timerPop->setTimerType(Qt::PreciseTimer); // a coarse timer may be moved by seconds
        if (runningBefore > 0) {
            m_c.timerPop->start(runningBefore);
            QTest::qWait(300);
        }
        m_splash->setVisible(splash);
        QElapsedTimer clock;
        clock.start();
        const QString path = picture("a.png", {40, 30});
        m_popups->VisaPopup(path);
        QVERIFY(m_c.timerPop->isActive());
        QCOMPARE(m_c.timerPop->interval(), interval);
        // The whole lifetime from the request on, not 300 ms less.
        QVERIFY(m_c.timerPop->remainingTime() > interval - clock.elapsed() - 100);
    }

    void nameOfPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("Windows-style") << "C:\\Bilder\\Sjö.jpg"
                                       << "Sjö.jpg";
        QTest::newRow("mixed separators") << "/hem/bilder\\sommar/Sjö.jpg"
                                          << "Sjö.jpg";
    }

    void nameOfPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(ChangePopup::nameOf(path), name);
    }

    void closeMark()
    {
        m_popups->VisaPopup(picture("a.png", {40, 30}));
        ChangePopup* popup = m_popups->current();
        TransparentImage* mark = popup->findChild<TransparentImage*>("ImgSteng");
        QVERIFY(mark);
        QCOMPARE(mark->geometry(), QRect(146, 1, 8, 8));
        QCOMPARE(mark->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(popup->childAt(150, 5), mark);

        QTest::mouseClick(mark, Qt::RightButton, {}, QPoint(4, 4));
        QVERIFY(popup->isVisible());
        QTest::mouseClick(mark, Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(!popup->isVisible());
        QVERIFY(!m_c.timerPop->isActive());
        QCOMPARE(popup->y(), 873);
    }

    void dressing_data()
    {
        QTest::addColumn<QSize>("pictureSize");
        QTest::addColumn<int>("ram");
        QTest::newRow("wide and large, scaled to the width") << QSize(1000, 400) << 8;
        QTest::newRow("tall and large") << QSize(300, 900) << 8;
        QTest::newRow("smaller than the mat, own size") << QSize(40, 30) << 8;
        QTest::newRow("thick frame") << QSize(1000, 400) << 20;
        QTest::newRow("frame thicker than the popup") << QSize(1000, 400) << 200;
        QTest::newRow("negative frame draws as none") << QSize(1000, 400) << -5;
    }

    void dressing()
    {
        QFETCH(QSize, pictureSize);
        QFETCH(int, ram);
        m_c.ram->setValue(ram);
        const QString path =
            picture(QStringLiteral("p%1x%2.png").arg(pictureSize.width()).arg(pictureSize.height()), pictureSize);
        m_popups->VisaPopup(path);
        ChangePopup* popup = m_popups->current();

        QCOMPARE(popup->palette().color(QPalette::Window), QColor(0xA6, 0xCA, 0xF0));
        QCOMPARE(popup->framePanel()->color(), QColor(0x80, 0x00, 0x00));
        QCOMPARE(popup->framePanel()->geometry(), QRect(0, 8, 155, 167));
        QCOMPARE(popup->markPanel()->color(), QColor(0xFF, 0xFF, 0x00));
        QCOMPARE(popup->markPanel()->borderWidth(), ram);
        QCOMPARE(popup->matPanel()->color(), QColor(Qt::white));
        QCOMPARE(popup->heading()->text(), QStringLiteral("Aktiverad Bakgrundsbild:"));
        QVERIFY(QFontMetrics(popup->heading()->font()).horizontalAdvance(popup->heading()->text()) <=
                popup->heading()->width());
        QCOMPARE(popup->heading()->geometry().topLeft(), QPoint(4, 4));

        // Frame border 4, the marking panel's bevel 2 and border Ram, the mat's bevel 2.
        const int inset = 4 + 2 + qMax(0, ram) + 2;
        const QRect view(popup->picture()->mapTo(popup, QPoint(0, 0)), popup->picture()->size());
        QCOMPARE(view.left(), qMin(inset, 4 + 147 / 2));
        QCOMPARE(view.width(), qMax(0, 155 - 2 * inset));
        if (view.width() > 0)
            QCOMPARE(view.top(), 8 + 4 + popup->heading()->height() + inset - 4);
        QCOMPARE(popup->picture()->image().size(), fitRect(pictureSize, view.size()).size());
    }

    void name_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("minLines");
        QTest::addColumn<int>("maxLines");
        QTest::newRow("short") << QStringLiteral("Sjö.png") << 1 << 1;
        QTest::newRow("words wrap") << QStringLiteral("Solnedgång över sjön vid stugan i juli.png") << 2 << 3;
        QTest::newRow("one long word wraps inside") << QStringLiteral("IMG_20231201_123456789_panorama.png") << 2 << 3;
        QTest::newRow("too long for the popup is cut") << QString(200, QChar('x')) + ".png" << 4 << 4;
    }

    void name()
    {
        QFETCH(QString, fileName);
        QFETCH(int, minLines);
        QFETCH(int, maxLines);
        m_popups->VisaPopup(picture("short.png", {400, 300}));
        const int shortPictureHeight = m_popups->current()->picture()->height();
        m_popups->VisaPopup(picture(fileName, {400, 300}));
        ChangePopup* popup = m_popups->current();
        WrappingLabel* label = popup->nameLabel();

        QCOMPARE(label->text(), fileName);
        const QStringList shown = label->linesFor(label->width());
        const int lines = int(shown.size());
        QVERIFY(lines >= minLines && lines <= maxLines);
        const QFontMetrics metrics(label->font());
        for (const QString& line : shown)
            QVERIFY2(metrics.horizontalAdvance(line) <= label->width(), qPrintable(line));
        if (lines < ChangePopup::NameMaxLines)
            QCOMPARE(shown.join(QString()).remove(' '), QString(fileName).remove(' '));
        else
            QVERIFY(shown.last().endsWith(QChar(0x2026)));
        // Aligned to the bottom of the frame; each extra line is taken from the picture.
        QCOMPARE(label->geometry().bottom(), 167 - 4 - 1);
        QCOMPARE(label->height(), lines * metrics.height());
        QCOMPARE(popup->picture()->height(), shortPictureHeight - (lines - 1) * metrics.height());
    }

    void unloadablePicture_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("missing") << "borta.jpg";
        QTest::newRow("no picture extension") << "lista.txt";
    }

    void unloadablePicture()
    {
        QFETCH(QString, file);
        ScopedScriptedDialogs dialogs;
        m_popups->VisaPopup(picture("a.png", {40, 30}));
        QVERIFY(!errorOf([&] { m_popups->VisaPopup(m_dir.filePath(file)); }).isEmpty());
        ChangePopup* popup = m_popups->current();
        QVERIFY(!popup->isVisible());
        QVERIFY(popup->picture()->image().isNull());
        QVERIFY(m_c.timerPop->isActive());

        // Its tick closes the popup that never showed, without a second error.
        m_c.timerPop->start(1);
        QTRY_VERIFY(!m_c.timerPop->isActive());
        QVERIFY(!popup->isVisible());
        QVERIFY(dialogs->errors().isEmpty());

        m_popups->VisaPopup(picture("b.png", {30, 40}));
        QCOMPARE(m_popups->windowCount(), 1);
        QCOMPARE(popup->picture()->image().size(), QSize(30, 40));
    }

    void longRotationKeepsOneWindow()
    {
        const QString a = picture("a.png", {400, 300});
        const QString b = picture("b.png", {300, 400});
        for (int i = 0; i < 300; ++i) {
            m_popups->VisaPopup(i % 2 ? a : b);
            if (i % 3 == 0)
                m_popups->TimerPopTimer();
            QVERIFY(visiblePopupWindows() <= 1);
        }
        QCOMPARE(m_popups->windowCount(), 1);
    }

    void newPopupDuringSlideIn()
    {
        const QString a = picture("a.png", {40, 30});
        const QString b = picture("b.png", {30, 40});
        m_popups->VisaPopup(a);
        m_popups->ImgStengClick();
        ChangePopup* first = m_popups->current();

        // A change tick while the first slides in: the newer popup takes its place.
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            ran = true;
            m_popups->VisaPopup(b);
        });
        m_popups->VisaPopup(a);
        QVERIFY(ran);
        ChangePopup* second = m_popups->current();
        QVERIFY(second != first);
        QVERIFY(!first->isVisible());
        QVERIFY(second->isVisible());
        QCOMPARE(second->y(), 873);
        QCOMPARE(second->picture()->image().size(), QSize(30, 40));
        QCOMPARE(visiblePopupWindows(), 1);

        for (int i = 0; i < 20; ++i)
            m_popups->VisaPopup(i % 2 ? a : b);
        QCOMPARE(m_popups->windowCount(), 2);
    }
};

QTEST_MAIN(TestChangePopups)
#include "tst_ChangePopups.moc"
