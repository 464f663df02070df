#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "picture/FitRule.h"
#include "picture/Picture.h"
#include "toolkit/PicturePreview.h"
#include "toolkit/PictureView.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using TestPictures::halves;

namespace {

// What the view paints, on a transparent canvas: nothing of its own background shows.
QImage rendered(PictureView& view)
{
    QImage canvas(view.size(), QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    view.render(&canvas, QPoint(), QRegion(), QWidget::DrawChildren);
    return canvas;
}

// Noise, so that decoding it takes the entropy decoder real work.
QImage noisy(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 seed = 1;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = (seed = seed * 1664525u + 1013904223u) >> 8;
    }
    return image;
}

QRect paintedArea(const QImage& canvas)
{
    QRect area;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (qAlpha(canvas.pixel(x, y)) != 0)
                area |= QRect(x, y, 1, 1);
    return area;
}

} // namespace

class TestPictureView : public QObject
{
    Q_OBJECT

private slots:
    void drawsByTheFitRule_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("view");
        QTest::newRow("scaled down to fill") << QSize(800, 600) << QSize(80, 60);
        QTest::newRow("small picture centred, not enlarged") << QSize(40, 30) << QSize(80, 60);
        QTest::newRow("wide picture in the preview") << QSize(1000, 333) << QSize(200, 150);
        QTest::newRow("tall picture") << QSize(300, 400) << QSize(100, 100);
    }

    void drawsByTheFitRule()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, view);
        PictureView w;
        w.resize(view);
        w.setImage(halves(picture.width(), picture.height()));
        const QImage canvas = rendered(w);
        const QRect expected = fitRect(picture, view);
        QCOMPARE(paintedArea(canvas), expected);
        const int y = expected.center().y();
        QCOMPARE(canvas.pixel(expected.left() + 1, y), qRgb(255, 0, 0));
        QCOMPARE(canvas.pixel(expected.right() - 1, y), qRgb(0, 0, 255));
    }

    void followsResizeAndNewPictures()
    {
        PictureView w;
        w.resize(80, 60);
        w.setPicture(Picture(halves(800, 600)));
        QCOMPARE(paintedArea(rendered(w)), QRect(0, 0, 80, 60));
        w.resize(40, 40);
        QCOMPARE(paintedArea(rendered(w)), QRect(0, 5, 40, 30));
        w.setImage(halves(20, 40));
        QCOMPARE(paintedArea(rendered(w)), QRect(10, 0, 20, 40));
        w.clear();
        QVERIFY(w.image().isNull());
        QCOMPARE(paintedArea(rendered(w)), QRect());
    }

    // A click on one card and then quickly on another: the first picture, slower to decode,
    // comes after the second and must not replace it.
    void olderSlowerLoadNeverShows()
    {
        QTemporaryDir dir;
        const QString slow = dir.filePath(QStringLiteral("stor.jpg"));
        QVERIFY(
            TestPictures::write(slow, TestPictures::jpeg(noisy(2400, 1800), TestPictures::JpegKind::Progressive420)));
        const QString quick = TestPictures::writePicture(dir.filePath(QStringLiteral("liten.png")), QSize(40, 30));
        PictureView w;
        w.resize(200, 150);
        QElapsedTimer clock;
        clock.start();
        (void)Picture::loadFitted(slow, w.size());
        const qint64 slowMs = clock.elapsed();

        QSignalSpy loaded(&w, &PictureView::loaded);
        std::optional<PictureView::Failure> told;
        w.load(slow);
        w.whenLoaded(&w, [&](const PictureView::Failure& failure) { told = failure; });
        w.load(quick);
        QVERIFY(!told); // from the event loop, not inside the call that replaced it
        QTRY_VERIFY(told);
        QVERIFY(!*told);
        QTRY_COMPARE(loaded.size(), 1);
        QCOMPARE(w.image().size(), QSize(40, 30));
        QTest::qWait(int(3 * slowMs) + 200);
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(w.image().size(), QSize(40, 30));
    }

    // An undecodable picture keeps what the view showed and gives the decoder's own text, in the
    // error box or to whoever waits for the load.
    void failedLoad_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("waits");
        QTest::newRow("damaged, nobody waits: the error box") << "trasig.jpg" << false;
        QTest::newRow("damaged, the change waits: its to tell") << "trasig.jpg" << true;
        QTest::newRow("missing file: at once, as before") << "borta.bmp" << true;
    }

    void failedLoad()
    {
        QFETCH(QString, name);
        QFETCH(bool, waits);
        ScopedScriptedDialogs dialogs;
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (name.startsWith(QLatin1String("trasig")))
            QVERIFY(TestPictures::write(
                path, TestPictures::jpeg(halves(64, 48), TestPictures::JpegKind::Baseline420).left(300)));
        const QString expected = errorOf([&] { (void)Picture::loadFitted(path, QSize(80, 60)); });
        QVERIFY(!expected.isEmpty());
        PictureView w;
        w.resize(80, 60);
        w.setImage(halves(8, 8));
        QStringList told;
        const QString atOnce = errorOf([&] { w.load(path); });
        if (!QFileInfo::exists(path)) { // as it always failed: before the call returns
            QCOMPARE(atOnce, expected);
            QVERIFY(!w.isLoading());
        }
        if (waits)
            w.whenLoaded(&w, [&](const PictureView::Failure& failure) {
                if (failure)
                    told << *failure;
            });
        QTRY_VERIFY(!w.isLoading());
        if (QFileInfo::exists(path)) {
            QCOMPARE(waits ? told : dialogs->errors(), QStringList(expected));
            QCOMPARE((waits ? dialogs->errors() : told), QStringList());
        } else {
            QCOMPARE(told + dialogs->errors(), QStringList());
        }
        QCOMPARE(w.image().size(), QSize(8, 8));
    }

    void clicks_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<int>("clicks");
        // Anywhere on the view counts, also beside the picture.
        QTest::newRow("left on the picture") << Qt::LeftButton << QPoint(40, 30) << QPoint(40, 30) << 1;
        QTest::newRow("left beside the picture") << Qt::LeftButton << QPoint(2, 2) << QPoint(2, 2) << 1;
        QTest::newRow("right button") << Qt::RightButton << QPoint(40, 30) << QPoint(40, 30) << 0;
        QTest::newRow("released outside") << Qt::LeftButton << QPoint(40, 30) << QPoint(120, 30) << 0;
    }

    void clicks()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, press);
        QFETCH(QPoint, release);
        QFETCH(int, clicks);
        PictureView w;
        w.resize(80, 60);
        w.setImage(halves(40, 30));
        QSignalSpy spy(&w, &PictureView::clicked);
        QTest::mousePress(&w, button, {}, press);
        QTest::mouseRelease(&w, button, {}, release);
        QCOMPARE(spy.count(), clicks);
    }

    // The picture dialog's preview: the highlighted file fitted into the box, its size under it;
    // what cannot be shown leaves the box empty and raises nothing.
    void previewFollowsTheHighlightedFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size"); // invalid: bytes that are no picture
        QTest::addColumn<QSize>("shown");
        QTest::addColumn<QString>("sizeText");
        QTest::newRow("large picture scaled down") << "stor.jpg" << QSize(640, 240) << QSize(160, 60) << "640 x 240";
        QTest::newRow("small picture at its own size") << "liten.bmp" << QSize(50, 40) << QSize(50, 40) << "50 x 40";
        QTest::newRow("undecodable") << "trasig.jpg" << QSize() << QSize(0, 0) << "";
        QTest::newRow("not a picture type") << "text.txt" << QSize() << QSize(0, 0) << "";
    }

    void previewFollowsTheHighlightedFile()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QFETCH(QSize, shown);
        QFETCH(QString, sizeText);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (size.isValid())
            TestPictures::writePicture(path, size);
        else
            QVERIFY(TestPictures::write(path, "\xff\xd8 no picture here"));
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        PicturePreview::attach(dialog);
        auto* preview = dialog.findChild<PicturePreview*>();
        QVERIFY(preview);
        // What an earlier file left must go.
        emit dialog.currentChanged(QFINDTESTDATA("tst_PictureView.cpp"));
        preview->view()->setImage(halves(8, 8));
        emit dialog.currentChanged(path);
        // Decoded off the dialog's thread.
        QTRY_COMPARE(preview->view()->image().size(), shown);
        QTRY_COMPARE(preview->sizeLabel()->text(), sizeText);
    }
};

QTEST_MAIN(TestPictureView)
#include "tst_PictureView.moc"
