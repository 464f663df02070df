#include "MainLayout.h"
#include "ScriptedDialogs.h"
#include "TempHome.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "core/Rotation.h"
#include "notify/ChangePopup.h"
#include "notify/ChangePopups.h"
#include "picture/Picture.h"
#include "picturelist/PictureList.h"
#include "schedule/Scheduler.h"
#include "wallpaper/WallpaperCommands.h"

#include <QRandomGenerator>
#include <QTest>

// Wired as the main window wires them; confirming loads the preview as LB1Click does.
struct OrderRig
{
    TempHome home;
    ScopedScriptedDialogs dialogs;
    MainLayout layout;
    MainWindowWidgets& c = layout.controls;
    PictureList list{c.lb1};
    Rotation rotation{[] { return qint64(1000); }};
    QStringList events;
    ChangePopups popups{
        {.form = &layout.form, .pnlBg = c.pnlBg, .pnlMark = c.pnlMark, .ram = c.ram, .timerPop = c.timerPop}};
    WallpaperCommands wallpaper{{.btVerkstall = c.btVerkstall, .cmbTyp = c.cmbTyp},
                                {.confirmMarked = [] {},
                                 .showPopup = [this](const QString& path) { popups.VisaPopup(path); },
                                 .whenPopupShown =
                                     [this](ChangePopups::Shown shown) {
                                         popups.whenShown([this, shown](const std::optional<AppError>& failure) {
                                             events << (popups.current()->isVisible() ? "popup" : "ingen popup");
                                             shown(failure);
                                         });
                                     }},
                                list};
    Scheduler scheduler{{.btStartStop = c.btStartStop,
                         .spinEditTimeInterval = c.spinEditTimeInterval,
                         .cmbTidTyp = c.cmbTidTyp,
                         .chkBlanda = c.chkBlanda,
                         .img = c.img,
                         .timerStart = c.timerStart,
                         .timeLeft = c.timeLeft,
                         .timerMinSek = c.timerMinSek},
                        {.confirmMarked =
                             [this] {
                                 events << "bekräftad";
                                 c.img->load(list.path(list.markedIndex()));
                             },
                         .applyMarked = [] {},
                         .apply =
                             [this](const QString& path, Scheduler::Done done) {
                                 events << "verkställd";
                                 wallpaper.applyChosen(path, std::move(done));
                             }},
                        rotation,
                        list,
                        home.path() + QLatin1Char('/')};

    OrderRig()
    {
        scheduler.bind();
        QObject::connect(c.img, &PictureView::loaded, [this] { events << "förhandsvisning"; });
        QObject::connect(&scheduler, &Scheduler::iconChanged, [this] {
            if (events.value(events.size() - 1) != "ikon") // made, then saved
                events << "ikon";
        });
    }
};

// A change confirms, is applied once the preview shows its picture, and makes its icon once the
// popup shows with the picture.
class TestChangeOrder : public QObject
{
    Q_OBJECT

private slots:
    void changeTick_data()
    {
        QTest::addColumn<QString>("next");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("in order") << "stor.jpg"
                                  << QStringList{"bekräftad", "förhandsvisning", "verkställd", "popup", "ikon"};
        QTest::newRow("damaged: reported once, not applied") << "trasig.jpg" << QStringList{"bekräftad"};
        // A click while the slower preview decodes: the change goes on, the older picture never shows.
        QTest::newRow("a click meanwhile")
            << "stor.jpg" << QStringList{"bekräftad", "verkställd", "förhandsvisning", "popup", "ikon"};
    }

    void changeTick()
    {
        QFETCH(QString, next);
        QFETCH(QStringList, expected);
        OrderRig r;
        const QString small = TestPictures::writePicture(r.home.path("blå.png"), QSize(64, 48), Qt::blue);
        QImage noise(2400, 1800, QImage::Format_RGB32); // slow to decode
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(noise.bits()), noise.sizeInBytes() / 4);
        const QByteArray large = TestPictures::jpeg(noise, TestPictures::JpegKind::Progressive420);
        QVERIFY(TestPictures::write(r.home.path(next), next == "stor.jpg" ? large : large.left(large.size() / 2)));
        for (const QString& path : {small, r.home.path(next)})
            r.list.append(QFile::encodeName(path));
        r.list.setMarkedIndex(0);
        const bool click = QTest::currentDataTag() == QLatin1String("a click meanwhile");
        const QString error = errorOf([&] { (void)Picture::loadFitted(r.home.path(next), r.c.img->size()); });
        r.scheduler.BtStartStopClick();
        r.scheduler.runTick();
        if (click)
            r.c.img->load(small);
        QVERIFY(QTest::qWaitFor([&] {
            return r.events.size() >= expected.size() && r.dialogs->errors().size() == (error.isEmpty() ? 0 : 1);
        }));
        QTest::qWait(100); // nothing more comes
        QCOMPARE(r.dialogs->errors(), error.isEmpty() ? QStringList() : QStringList(error));
        QCOMPARE(r.events, expected);
        QCOMPARE(r.home.wallpaperLog().size(), error.isEmpty() ? 1 : 0);
        QCOMPARE(r.c.img->image().width(), click ? 64 : error.isEmpty() ? 388 : 0);
    }
};

QTEST_MAIN(TestChangeOrder)
#include "tst_ChangeOrder.moc"
