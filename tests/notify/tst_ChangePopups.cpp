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

#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

    // The popup asked for last, once its picture is decoded.
    ChangePopup* shown()
    {
        return QTest::qWaitFor([&] { return !m_popups->isWaiting(); }) ? m_popups->current() : nullptr;
    }

private slots:
    void init()
    {
        m_popups.reset();
        m_form = std::make_unique<QWidget>();
        QPalette pal = m_form->palette();
        pal.setColor(QPalette::Window, QColor(0xA6, 0xCA, 0xF0));
        m_form->setPalette(pal);
        m_c = {.form = m_form.get(),
               .pnlBg = new BevelPanel(m_form.get()),
               .pnlMark = new BevelPanel(m_form.get()),
               .ram = new SpinEdit(m_form.get()),
               .timerPop = new QTimer(m_form.get())};
        m_c.pnlBg->setColor(QColor(0x80, 0x00, 0x00));
        m_c.pnlMark->setColor(QColor(0xFF, 0xFF, 0x00));
        m_c.ram->setValue(8);
        m_splash = std::make_unique<QWidget>();
        m_popups = std::make_unique<ChangePopups>(m_c);
        m_popups->setScreenRect(QRect(0, 0, 1920, 1080));
        m_popups->setSplash(m_splash.get());
        m_popups->bind();
    }

    void slides_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<bool>("splash");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("restingTop");
        QTest::addColumn<int>("lifetime");
        QTest::newRow("full HD at start-up: 205 is no multiple of 3, so it rests 2 px higher")
            << QRect(0, 0, 1920, 1080) << true << 1765 << 873 << 5000;
        QTest::newRow("later, primary screen right of another")
            << QRect(1920, 0, 1280, 1024) << false << 3045 << 817 << 40000;
    }

    void slides()
    {
        QFETCH(QRect, screen);
        QFETCH(bool, splash);
        QFETCH(int, left);
        QFETCH(int, restingTop);
        QFETCH(int, lifetime);
        m_popups->setScreenRect(screen);
        m_splash->setVisible(splash);
        MoveLog log;
        // Watch the window the first request builds: the second reuses it.
        m_popups->VisaPopup(picture("a.png", {40, 30}));
        ChangePopup* popup = shown();
        m_popups->ImgStengClick();
        popup->installEventFilter(&log);
        m_popups->VisaPopup(picture("a.png", {40, 30}));
        QCOMPARE(m_c.timerPop->interval(), lifetime);
        QVERIFY(!popup->isVisible()); // not before its picture
        QCOMPARE(shown(), popup);
        // Shown just below the screen, then 69 steps of 3 px up.
        QTRY_COMPARE(popup->geometry(), QRect(left, restingTop, 155, 175));
        QCOMPARE(log.tops.size(), 69);
        QCOMPARE(log.tops.first(), screen.bottom() + 1 - 3);

        // TimerPop's tick slides it out.
        log.tops.clear();
        m_c.timerPop->start(1);
        QTRY_VERIFY(!popup->isVisible());
        QVERIFY(!m_c.timerPop->isActive());
        QCOMPARE(log.tops.size(), 69);
        QCOMPARE(log.tops.last(), screen.bottom() + 1);
    }

    // A replacing popup gets its whole lifetime, not the rest of the old one's.
    void lifetimeStartsAfresh()
    {
        m_c.timerPop->setTimerType(Qt::PreciseTimer); // a coarse timer may be moved by seconds
        m_c.timerPop->start(40000);
        QTest::qWait(300);
        m_popups->VisaPopup(picture("a.png", {40, 30}));
        QVERIFY(m_c.timerPop->remainingTime() > 39800);
    }

    void nameOfPath()
    {
        QCOMPARE(ChangePopup::nameOf("C:\\Bilder\\Sjö.jpg"), "Sjö.jpg");
        QCOMPARE(ChangePopup::nameOf("/hem/bilder\\sommar/Sjö.jpg"), "Sjö.jpg");
    }

    void closeMark()
    {
        m_popups->VisaPopup(picture("a.png", {40, 30}));
        ChangePopup* popup = shown();
        TransparentImage* mark = popup->findChild<TransparentImage*>("ImgSteng");
        QCOMPARE(mark->geometry(), QRect(146, 1, 8, 8));
        QCOMPARE(mark->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(popup->childAt(150, 5), mark);
        QTest::mouseClick(mark, Qt::RightButton, {}, QPoint(4, 4));
        QVERIFY(popup->isVisible());
        QTest::mouseClick(mark, Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(!popup->isVisible());
        QVERIFY(!m_c.timerPop->isActive());
    }

    void dressing_data()
    {
        QTest::addColumn<QSize>("pictureSize");
        QTest::addColumn<int>("ram");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("lines");
        QTest::newRow("wide and large, scaled to the width") << QSize(1000, 400) << 8 << "Sjö.png" << 1;
        QTest::newRow("small picture at its own size, a long word wraps inside")
            << QSize(40, 30) << 8 << "IMG_20231201_123456789_panorama.png" << 2;
        QTest::newRow("frame thicker than the popup") << QSize(1000, 400) << 200 << "a.png" << 1;
        QTest::newRow("negative frame draws as none, a name too long is cut")
            << QSize(300, 900) << -5 << QString(200, QChar('x')) + ".png" << 4;
    }

    void dressing()
    {
        QFETCH(QSize, pictureSize);
        QFETCH(int, ram);
        QFETCH(QString, fileName);
        QFETCH(int, lines);
        m_c.ram->setValue(ram);
        m_popups->VisaPopup(picture("short.png", pictureSize));
        const int oneLinePictureHeight = m_popups->current()->picture()->height();
        m_popups->VisaPopup(picture(fileName, pictureSize));
        ChangePopup* popup = shown();

        QCOMPARE(popup->palette().color(QPalette::Window), QColor(0xA6, 0xCA, 0xF0));
        QCOMPARE(popup->framePanel()->color(), QColor(0x80, 0x00, 0x00));
        QCOMPARE(popup->framePanel()->geometry(), QRect(0, 8, 155, 167));
        QCOMPARE(popup->markPanel()->color(), QColor(0xFF, 0xFF, 0x00));
        QCOMPARE(popup->heading()->text(), QStringLiteral("Aktiverad Bakgrundsbild:"));
        QVERIFY(QFontMetrics(popup->heading()->font()).horizontalAdvance(popup->heading()->text()) <=
                popup->heading()->width());
        // Frame border 4, the marking panel's bevel 2 and border Ram, the mat's bevel 2.
        const int inset = 4 + 2 + qMax(0, ram) + 2;
        const QRect view(popup->picture()->mapTo(popup, QPoint(0, 0)), popup->picture()->size());
        QCOMPARE(view.left(), qMin(inset, 4 + 147 / 2));
        QCOMPARE(view.width(), qMax(0, 155 - 2 * inset));
        QCOMPARE(popup->picture()->image().size(), fitRect(pictureSize, view.size()).size());

        WrappingLabel* label = popup->nameLabel();
        const QStringList shown = label->linesFor(label->width());
        QCOMPARE(shown.size(), lines);
        const QFontMetrics metrics(label->font());
        for (const QString& line : shown)
            QVERIFY2(metrics.horizontalAdvance(line) <= label->width(), qPrintable(line));
        QCOMPARE(shown.last().endsWith(QChar(0x2026)), lines == ChangePopup::NameMaxLines);
        // Aligned to the bottom of the frame; each extra line is taken from the picture.
        QCOMPARE(label->geometry().bottom(), 167 - 4 - 1);
        if (view.height() > 0)
            QCOMPARE(popup->picture()->height(), oneLinePictureHeight - (lines - 1) * metrics.height());
    }

    void unloadablePictureIsClosedByItsTick()
    {
        ScopedScriptedDialogs dialogs;
        m_popups->VisaPopup(picture("a.png", {40, 30}));
        QVERIFY(shown());
        // A missing file fails at once, as it always did.
        QVERIFY(!errorOf([&] { m_popups->VisaPopup(m_dir.filePath("borta.jpg")); }).isEmpty());
        ChangePopup* popup = m_popups->current();
        QVERIFY(!popup->isVisible());
        QVERIFY(popup->picture()->image().isNull());
        m_c.timerPop->start(1);
        QTRY_VERIFY(!m_c.timerPop->isActive());
        QVERIFY(!popup->isVisible());
        QVERIFY(dialogs->errors().isEmpty());
        m_popups->VisaPopup(picture("b.png", {30, 40}));
        QCOMPARE(shown()->picture()->image().size(), QSize(30, 40));
    }

    // A change while the popup is on its way in or out: the newer popup takes the place, slides
    // into it and lives its own lifetime; the slide of the one it replaced must not end it.
    void newPopupDuringSlide_data()
    {
        QTest::addColumn<bool>("slidingOut");
        QTest::newRow("sliding in") << false;
        QTest::newRow("sliding out") << true;
    }

    void newPopupDuringSlide()
    {
        QFETCH(bool, slidingOut);
        const QString a = picture("a.png", {40, 30});
        const QString b = picture("b.png", {30, 40});
        m_popups->VisaPopup(a);
        QVERIFY(shown());
        if (slidingOut) {
            QTRY_COMPARE(m_popups->current()->y(), 873);
            m_popups->TimerPopTimer();
        }
        QTimer::singleShot(0, this, [&] { m_popups->VisaPopup(b); });
        QTest::qWait(50);
        QVERIFY(shown());
        QTRY_COMPARE(m_popups->current()->y(), 873);
        QVERIFY(m_popups->current()->isVisible());
        QCOMPARE(m_popups->current()->picture()->image().size(), QSize(30, 40));
        QVERIFY(m_c.timerPop->isActive());
        // The one replaced was hidden and serves again: a long rotation keeps one window.
        for (int i = 0; i < 20; ++i)
            m_popups->VisaPopup(i % 2 ? a : b);
        QCOMPARE(m_popups->windowCount(), 1);
    }
};

QTEST_MAIN(TestChangePopups)
#include "tst_ChangePopups.moc"
