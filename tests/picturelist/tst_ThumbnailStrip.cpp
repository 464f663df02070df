#include "ListFixture.h"
#include "ScriptedDialogs.h"
#include "TempHome.h"
#include "picture/PathText.h"
#include "platform/SettingsStore.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"

#include <QDesktopServices>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

// Records the URLs the desktop is asked to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

class TestThumbnailStrip : public QObject
{
    Q_OBJECT

    static int storedChoice() { return TempHome::stored(Setting::Vald).toInt(); }
    static void storeChoice(int value) { TempHome::store(Setting::Vald, value); }

    // Cards for count pictures named bild0.jpg, bild1.jpg, ..., built as a load builds them.
    static void fill(ListFixture& f, int count, bool singleBorder = true)
    {
        for (int k = 0; k < count; ++k) {
            f.list.append(QFile::encodeName(f.picture(QStringLiteral("bild%1.jpg").arg(k))));
            QImage thumbnail(40, 30, QImage::Format_RGB32);
            thumbnail.fill(Qt::green);
            f.strip.AddThumbnail(k, singleBorder, thumbnail);
        }
    }

    static QWidget* childNamed(QWidget* card, const char* className)
    {
        for (QObject* o : card->findChildren<QObject*>())
            if (o->inherits(className))
                return static_cast<QWidget*>(o);
        return nullptr;
    }

private slots:
    // Places come from the row rule directly, not by walking every earlier card.
    void gridPlaces_data()
    {
        QTest::addColumn<int>("stripWidth");
        QTest::addColumn<int>("index");
        QTest::addColumn<QPoint>("place");
        // Four cards to a row at the design width; the fifth starts the second row.
        QTest::newRow("first") << 414 << 0 << QPoint(2, 2);
        QTest::newRow("last of row 1") << 414 << 3 << QPoint(296, 2);
        QTest::newRow("row 2 starts") << 414 << 4 << QPoint(2, 120);
        QTest::newRow("card 9999") << 414 << 9999 << QPoint(296, 2 + 2499 * 118);
        QTest::newRow("narrow strip, second row") << 200 << 5 << QPoint(47, 67);
        QTest::newRow("no width: one row") << 20 << 7 << QPoint(2, 2);
    }
    void gridPlaces()
    {
        QFETCH(int, stripWidth);
        QFETCH(int, index);
        QFETCH(QPoint, place);
        QCOMPARE(ThumbnailStrip::gridPosition(index, ThumbnailStrip::cardSize(stripWidth), stripWidth), place);
    }

    void cardsOfNinePictures()
    {
        ListFixture f;
        fill(f, 9);
        QWidget* area = f.c.sb1->widget();
        const QList<QWidget*> cards = area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(cards.size(), 9);
        // The k-th child of the strip is the card of entry k.
        for (int k = 0; k < 9; ++k)
            QCOMPARE(cards[k], f.strip.card(k));
        QCOMPARE(cards[8]->geometry(), QRect(2, 238, 96, 116));
        BevelPanel* frame = f.frame(8);
        QCOMPARE(frame->geometry(), QRect(1, 1, 94, 77));
        QCOMPARE(frame->borderWidth(), 8);
        QVERIFY(frame->singleBorder());
        QWidget* caption = childNamed(cards[8], "QLabel");
        QCOMPARE(caption->geometry(), QRect(1, 79, 94, 37));
        QCOMPARE(static_cast<QLabel*>(caption)->text(), QStringLiteral("bild8"));
        QCOMPARE(cards[8]->property("tag"), QVariant());
        QCOMPARE(frame->property("tag").toInt(), 8);
        QCOMPARE(caption->property("tag").toInt(), 8);
        // Every card fits in the strip's content, so the last row can be scrolled to.
        QVERIFY(area->minimumHeight() >= 238 + 116);
    }

    void thumbnailKeepsOnlyASmallPicture()
    {
        ListFixture f;
        f.list.append(QFile::encodeName(f.picture(QStringLiteral("stor.jpg"), QSize(1600, 1200))));
        std::optional<QImage> small;
        QTRY_VERIFY(small || (small = f.strip.takeThumbnail(0, false)));
        f.strip.AddThumbnail(0, false, *small);
        auto* view = f.strip.card(0)->findChild<PictureView*>();
        // Frame 94 x 77 less border 8 and the mat's bevel 2 on each side: 74 x 57.
        QCOMPARE(view->geometry().size(), QSize(74, 57));
        QVERIFY(view->image().width() <= 74 && view->image().height() <= 57);
        QVERIFY(!view->image().isNull());
    }

    void fileNameParts_data()
    {
        // path, name, extension, folder
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("windows path") << QStringList{"C:\\Bilder\\Sjö.jpg", "Sjö", ".jpg", "C:\\Bilder\\"};
        QTest::newRow("two dots: only the last one goes") << QStringList{"C:\\a\\b.tar.gz", "b.tar", ".gz", "C:\\a\\"};
        QTest::newRow("no extension") << QStringList{"C:\\a\\utan", "utan", "", "C:\\a\\"};
        QTest::newRow("dot in a folder, none in the name")
            << QStringList{"/home/u/v.1/utan", "utan", "", "/home/u/v.1/"};
        QTest::newRow("unix path") << QStringList{"/home/u/Hav.bmp", "Hav", ".bmp", "/home/u/"};
        QTest::newRow("drive without folder") << QStringList{"D:bild.gif", "bild", ".gif", ""};
        QTest::newRow("empty entry") << QStringList{"", "", "", ""};
    }
    void fileNameParts()
    {
        QFETCH(QStringList, parts);
        const QString& path = parts[0];
        QCOMPARE(
            QStringList({ThumbnailStrip::FileNameWithoutExt(path), PathText::extension(path), PathText::folder(path)}),
            parts.mid(1));
    }

    void clickOnCardParts_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("marks");
        QTest::newRow("image") << "image" << QPoint(30, 20) << true;
        QTest::newRow("frame border") << "frame" << QPoint(4, 4) << true;
        QTest::newRow("caption") << "caption" << QPoint(40, 10) << true;
        QTest::newRow("white rim of the mat") << "mat" << QPoint(1, 1) << false;
        QTest::newRow("card bevel") << "card" << QPoint(0, 50) << false;
    }
    void clickOnCardParts()
    {
        QFETCH(QString, part);
        QFETCH(QPoint, at);
        QFETCH(bool, marks);
        ScopedScriptedDialogs dialogs;
        ListFixture f;
        fill(f, 6);
        f.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.form));
        storeChoice(-7);

        QWidget* card = f.strip.card(5);
        auto* frame = card->findChild<BevelPanel*>(QStringLiteral("PnlRam5"));
        auto* image = card->findChild<PictureView*>();
        QWidget* target = part == "image"     ? static_cast<QWidget*>(image)
                          : part == "frame"   ? static_cast<QWidget*>(frame)
                          : part == "caption" ? childNamed(card, "QLabel")
                          : part == "mat"     ? image->parentWidget()
                                              : card;
        QTest::mouseClick(target, Qt::LeftButton, {}, at);

        QVERIFY(dialogs->calls.isEmpty());
        QCOMPARE(f.list.markedIndex(), marks ? 5 : -1);
        QCOMPARE(storedChoice(), -7); // a click marks; only LB1Click and the close store it
        QCOMPARE(frame->color(), marks ? ListFixture::markColour() : ListFixture::frameColour());
        QCOMPARE(static_cast<BevelPanel*>(card)->color(), frame->color());
        if (marks) {
            QCOMPARE(f.c.lbSel->text(), QStringLiteral("Vald Bild: 6"));
            QCOMPARE(f.c.lbNamn->text(), QStringLiteral("Filnamn: bild5, Filtyp: .jpg"));
            QTRY_COMPARE(f.c.img->image().size(), QSize(160, 120));
        }
    }

    void markingMovesFromCardToCard()
    {
        ListFixture f;
        fill(f, 3);
        f.strip.SelectThumbnail(f.strip.card(0)->findChild<PictureView*>());
        f.strip.SelectThumbnail(f.strip.card(2)->findChild<PictureView*>());
        QList<QColor> colours;
        for (int k = 0; k < 3; ++k)
            colours << static_cast<BevelPanel*>(f.strip.card(k))->color();
        QCOMPARE(colours,
                 QList<QColor>({ListFixture::frameColour(), ListFixture::frameColour(), ListFixture::markColour()}));
        // A new frame colour paints every card, the marked one too.
        f.strip.paintFrames(Qt::green);
        QCOMPARE(static_cast<BevelPanel*>(f.strip.card(2))->color(), QColor(Qt::green));
    }

    void frameThicknessMovesTheMat()
    {
        ListFixture f;
        fill(f, 2, false);
        f.strip.setFrameThickness(3);
        auto* frame = f.strip.card(1)->findChild<BevelPanel*>(QStringLiteral("PnlRam1"));
        QCOMPARE(frame->borderWidth(), 3);
        QCOMPARE(f.strip.card(1)->findChild<PictureView*>()->parentWidget()->geometry(), QRect(3, 3, 88, 71));
    }

    // Which commands a click enables is the command states' table; here: a click marks, not confirms.
    void clickMarksWithoutConfirming_data()
    {
        QTest::addColumn<int>("confirmed");
        QTest::addColumn<int>("clicked");
        QTest::newRow("the confirmed picture") << 1 << 1;
        QTest::newRow("another picture") << 1 << 2;
        QTest::newRow("first picture, nothing confirmed yet") << 0 << 0;
    }
    void clickMarksWithoutConfirming()
    {
        QFETCH(int, confirmed);
        QFETCH(int, clicked);
        ListFixture f;
        fill(f, 3);
        f.list.setMarkedIndex(confirmed);
        f.strip.LB1Click();
        QCOMPARE(f.list.currentIndex(), confirmed);
        f.strip.SelectThumbnail(f.strip.card(clicked)->findChild<BevelPanel*>(QStringLiteral("PnlRam%1").arg(clicked)));
        QCOMPARE(f.list.markedIndex(), clicked);
        // A click does not confirm: the confirmed index stays.
        QCOMPARE(f.list.currentIndex(), confirmed);
    }

    void lb1Click_data()
    {
        QTest::addColumn<int>("pictures");
        QTest::addColumn<int>("marked"); // 99: a missing picture after them, marked
        QTest::addColumn<int>("confirmed");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("sel");
        QTest::newRow("empty list: only the menu items go") << 0 << -1 << 3 << 4 << "före";
        QTest::newRow("missing file: told, nothing stored") << 2 << 99 << 2 << 4 << "före";
        QTest::newRow("nothing marked confirms the first") << 9 << -1 << -1 << 0 << "Vald Bild: 1";
        QTest::newRow("the last of sixteen is scrolled to") << 16 << 15 << 15 << 15 << "Vald Bild: 16";
    }
    void lb1Click()
    {
        QFETCH(int, pictures);
        QFETCH(int, marked);
        QFETCH(int, confirmed);
        QFETCH(int, stored);
        QFETCH(QString, sel);
        ScopedScriptedDialogs dialogs;
        ListFixture f;
        fill(f, pictures);
        const QString missing = f.dir.filePath(QStringLiteral("borta.jpg"));
        if (marked == 99)
            f.list.append(QFile::encodeName(missing));
        f.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.form));
        f.list.setMarkedIndex(marked == 99 ? pictures : marked);
        f.list.setCurrentIndex(3);
        f.c.lbSel->setText(QStringLiteral("före"));
        storeChoice(4);

        f.strip.LB1Click();
        QCOMPARE(f.list.currentIndex(), confirmed);
        QCOMPARE(storedChoice(), stored);
        QCOMPARE(f.c.lbSel->text(), sel);
        QCOMPARE(dialogs->messages(),
                 marked != 99 ? QStringList()
                              : QStringList(QStringLiteral("Bilden ") + missing +
                                            QStringLiteral("\n\rkunde inte hittas! Kontollera att sökväg och fil är "
                                                           "korrekt.\n\rHögerklicka på bilden för att redigera den.")));
        if (sel.startsWith(QStringLiteral("Vald"))) {
            const int k = f.list.markedIndex();
            QCOMPARE(f.c.lbNamn->text(), QStringLiteral("Filnamn: bild%1, Filtyp: .jpg").arg(k));
            QTRY_COMPARE(f.c.img->image().size(), QSize(160, 120)); // the preview holds the whole picture
            QCOMPARE(static_cast<BevelPanel*>(f.strip.card(k))->color(), ListFixture::markColour());
            const int top = f.c.sb1->widget()->mapTo(f.c.sb1->viewport(), f.strip.card(k)->pos()).y();
            QVERIFY(top >= 0 && top + 116 <= f.c.sb1->viewport()->height());
        } else {
            QVERIFY(f.c.img->image().isNull());
        }
    }

    // A long list: only the cards near the view have widgets; scrolled to, a card comes back with
    // its place, name, frame and colour, and its thumbnail from the cache or the workers.
    void longListCardsAppearAsTheyScrollIntoView_data()
    {
        QTest::addColumn<QString>("meanwhile"); // done while the first card is out of view
        QTest::addColumn<QColor>("colour");     // the first card's colour when it is back
        QTest::addColumn<int>("thickness");
        QTest::newRow("the mark stays on its card") << "" << ListFixture::markColour() << 8;
        QTest::newRow("a new frame colour reaches it") << "paint" << QColor(Qt::green) << 8;
        QTest::newRow("a new thickness reaches it") << "thickness" << ListFixture::markColour() << 3;
        QTest::newRow("marked anew while away") << "mark" << ListFixture::frameColour() << 8;
    }
    void longListCardsAppearAsTheyScrollIntoView()
    {
        QFETCH(QString, meanwhile);
        QFETCH(QColor, colour);
        QFETCH(int, thickness);
        ScopedScriptedDialogs dialogs;
        ListFixture f;
        const int n = 600;
        const QStringList sources = {f.picture(QStringLiteral("a.jpg")), f.picture(QStringLiteral("b.jpg"))};
        for (int k = 0; k < n; ++k)
            f.list.append(QFile::encodeName(sources[k % 2]));
        f.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.form));
        QVERIFY(f.load());
        QCOMPARE(f.strip.cardCount(), n);
        const auto widgets = [&] { return f.c.sb1->widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly); };
        QVERIFY2(widgets().size() < 40, qPrintable(QString::number(widgets().size())));
        QVERIFY(!f.strip.card(0)->findChild<PictureView*>()->image().isNull());
        QVERIFY(!f.strip.card(n - 1));
        f.strip.SelectThumbnail(f.strip.card(0)->findChild<PictureView*>());

        QScrollBar* bar = f.c.sb1->verticalScrollBar();
        for (int v = 0; v <= bar->maximum(); v += 97) // steps shorter than a card, as a wheel makes them
            bar->setValue(v);
        bar->setValue(bar->maximum());
        QVERIFY(!f.strip.card(0));
        QWidget* last = f.strip.card(n - 1);
        QVERIFY(last && last->isVisible());
        QCOMPARE(last->pos(), ThumbnailStrip::gridPosition(n - 1, last->size(), f.c.sb1->width()));
        QCOMPARE(f.frame(n - 1)->objectName(), QStringLiteral("PnlRam%1").arg(n - 1));
        QCOMPARE(last->findChild<QLabel*>()->text(), QStringLiteral("b"));
        QTRY_VERIFY(!f.strip.card(n - 1)->findChild<PictureView*>()->image().isNull());
        QVERIFY(widgets().size() < 40); // the cards scrolled past were reused
        // Spare cards carry no frame name, so the frame options find only the list's cards.
        const QList<QWidget*> frames = f.c.sb1->widget()->findChildren<QWidget*>(QRegularExpression("^PnlRam"));
        for (QWidget* frame : frames)
            QVERIFY(frame->isVisible());

        if (meanwhile == "paint")
            f.strip.paintFrames(Qt::green);
        else if (meanwhile == "thickness")
            f.strip.setFrameThickness(3);
        else if (meanwhile == "mark")
            f.strip.SelectThumbnail(f.strip.card(n - 1)->findChild<PictureView*>());
        bar->setValue(0);
        QVERIFY(f.strip.card(0));
        QCOMPARE(static_cast<BevelPanel*>(f.strip.card(0))->color(), colour);
        QCOMPARE(f.frame(0)->borderWidth(), thickness);
        QTRY_VERIFY(!f.strip.card(0)->findChild<PictureView*>()->image().isNull());
        // Confirming the last entry scrolls its card into view.
        f.list.setMarkedIndex(n - 1);
        f.strip.LB1Click();
        QVERIFY(f.strip.card(n - 1));
        QCOMPARE(static_cast<BevelPanel*>(f.strip.card(n - 1))->color(), ListFixture::markColour());
        // The background reaches every card away from the view.
        QTRY_VERIFY_WITH_TIMEOUT(f.strip.thumbnailsDone(), 30000);
        QVERIFY(dialogs->errors().isEmpty());
    }

    void lbPathOpensOnlyAnExistingFolder_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("opens");
        QTest::newRow("existing folder") << "DIR/" << true;
        QTest::newRow("missing folder") << "DIR/finns-inte/" << false;
        QTest::newRow("a file, not a folder") << "DIR/bild.jpg" << false;
        QTest::newRow("empty") << "" << false;
    }
    void lbPathOpensOnlyAnExistingFolder()
    {
        QFETCH(QString, text);
        QFETCH(bool, opens);
        ListFixture f;
        f.picture(QStringLiteral("bild.jpg"));
        f.strip.bind();
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
        const QString folder = text.replace(QStringLiteral("DIR"), f.dir.path());
        f.c.lbPath->setText(folder);
        f.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.form));
        f.c.lbPath->setGeometry(600, 450, 200, 20);
        QTest::mouseClick(f.c.lbPath, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(recorder.opened, opens ? QList<QUrl>{QUrl::fromLocalFile(folder)} : QList<QUrl>{});
    }
};

QTEST_MAIN(TestThumbnailStrip)
#include "tst_ThumbnailStrip.moc"
