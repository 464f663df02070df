// One change of the rotation, its decodes off the UI thread: the marked picture is confirmed,
// applied once the preview shows it, and the change goes on to its icon once the popup shows
// with the picture.

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

#include <QTest>

// The rotation, the wallpaper routine and the popups wired as the main window wires them; the
// preview is loaded as LB1Click loads it, and every step is recorded in the order it comes.
struct OrderRig
{
    TempHome home;
    ScopedScriptedDialogs dialogs;
    MainLayout layout;
    MainWindowWidgets& c = layout.controls;
    PictureList list{c.lb1};
    Rotation rotation{[] { return qint64(1000); }};
    QStringList events;
    QImage icon;
    ChangePopups popups{
        {.form = &layout.form, .pnlBg = c.pnlBg, .pnlMark = c.pnlMark, .ram = c.ram, .timerPop = c.timerPop}};
    WallpaperCommands wallpaper{{.btVerkstall = c.btVerkstall, .cmbTyp = c.cmbTyp},
                                {.confirmMarked = [] {},
                                 .showPopup =
                                     [this](const QString& path) {
                                         events << "verkställd " + ChangePopup::nameOf(path);
                                         popups.VisaPopup(path);
                                     },
                                 .whenPopupShown =
                                     [this](ChangePopups::Shown shown) {
                                         popups.whenShown([this, shown](const std::optional<AppError>& failure) {
                                             const bool withPicture = popups.current()->isVisible() &&
                                                                      !popups.current()->picture()->image().isNull();
                                             if (!failure)
                                                 events << (withPicture ? "popup med bild" : "popup utan bild");
                                             shown(failure);
                                         });
                                     }},
                                list};
    Scheduler scheduler{
        {.btStartStop = c.btStartStop,
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
         .apply = [this](const QString& path, Scheduler::Done done) { wallpaper.applyChosen(path, std::move(done)); }},
        rotation,
        list,
        home.path() + QLatin1Char('/')};

    OrderRig()
    {
        c.cmbTyp->setCurrentIndex(2);
        scheduler.bind();
        QObject::connect(c.img, &PictureView::loaded, [this] { events << "förhandsvisning"; });
        QObject::connect(&scheduler, &Scheduler::iconChanged, [this](const QIcon& made) {
            icon = made.pixmap(32).toImage();
            if (!events.endsWith(QStringLiteral("ikon")))
                events << "ikon";
        });
    }
};

class TestChangeOrder : public QObject
{
    Q_OBJECT

private slots:
    void changeTick_data()
    {
        QTest::addColumn<QString>("next"); // the picture the tick goes to
        QTest::addColumn<bool>("clickDuring");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("confirmed, previewed, applied, popup, icon")
            << "röd.jpg" << false
            << QStringList{"bekräftad", "förhandsvisning", "verkställd röd.jpg", "popup med bild", "ikon"};
        QTest::newRow("a damaged picture is reported once and not applied")
            << "trasig.jpg" << false << QStringList{"bekräftad", "fel"};
        QTest::newRow("a click before the preview shows: the change still applies its picture")
            << "röd.jpg" << true << QStringList{"bekräftad", "verkställd röd.jpg", "popup med bild", "ikon"};
    }

    void changeTick()
    {
        QFETCH(QString, next);
        QFETCH(bool, clickDuring);
        QFETCH(QStringList, expected);
        OrderRig r;
        const QString first = TestPictures::writePicture(r.home.path("blå.png"), QSize(64, 48), Qt::blue);
        const QString red = TestPictures::writePicture(r.home.path("röd.jpg"), QSize(320, 240), Qt::red);
        const QString damaged = r.home.path("trasig.jpg");
        QVERIFY(TestPictures::write(
            damaged,
            TestPictures::jpeg(TestPictures::halves(320, 240), TestPictures::JpegKind::Baseline420).left(400)));
        for (const QString& path : {first, next == "röd.jpg" ? red : damaged})
            r.list.append(QFile::encodeName(path));
        r.list.setMarkedIndex(0);
        r.scheduler.BtStartStopClick();
        QVERIFY(r.scheduler.isRunning());

        r.scheduler.runTick();
        if (clickDuring)
            r.c.img->load(first);
        QVERIFY(QTest::qWaitFor([&] { return r.events.size() + r.dialogs->errors().size() >= expected.size(); }));
        QTest::qWait(100); // nothing more comes
        if (clickDuring)
            r.events.removeAll(QStringLiteral("förhandsvisning"));
        const QString error = errorOf([&] { (void)Picture::loadFitted(damaged, r.c.img->size()); });
        QCOMPARE(r.dialogs->errors(), next == "trasig.jpg" ? QStringList(error) : QStringList());
        if (!r.dialogs->errors().isEmpty())
            r.events << "fel";
        QCOMPARE(r.events, expected);
        QCOMPARE(r.home.wallpaperLog().size(), next == "röd.jpg" ? 1 : 0);
        if (!clickDuring && next == "röd.jpg") {
            // The icon is the preview of the picture applied.
            QVERIFY(!r.icon.isNull());
            QVERIFY(qRed(r.icon.pixel(16, 16)) > 200 && qBlue(r.icon.pixel(16, 16)) < 60);
        }
    }
};

QTEST_MAIN(TestChangeOrder)
#include "tst_ChangeOrder.moc"
