#include "TestPictures.h"
#include "picture/FitRule.h"
#include "picture/Picture.h"
#include "toolkit/PicturePreview.h"
#include "toolkit/PictureView.h"

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
