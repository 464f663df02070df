#include "chrome/AboutWindow.h"
#include "toolkit/UiFont.h"

#include <QLabel>
#include <QTest>

namespace {

QWidget* makeMainWindow(const QRect& geometry)
{
    auto* main = new QWidget(nullptr, Qt::FramelessWindowHint);
    main->setGeometry(geometry);
    return main;
}

void setColours(QWidget* window, const QColor& background, const QColor& text)
{
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::WindowText, text);
    window->setPalette(pal);
}

} // namespace

class TestAboutWindow : public QObject
{
    Q_OBJECT

private slots:
    void firstShowingIsCentredOverTheMainWindow_data()
    {
        QTest::addColumn<QRect>("mainGeometry");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("main window on screen") << QRect(100, 100, 988, 608) << QPoint(444, 342);
        // Half of a negative odd difference rounds towards zero, not down.
        QTest::newRow("main narrower by an odd count") << QRect(100, 100, 199, 123) << QPoint(50, 100);
        QTest::newRow("left out of screen") << QRect(-500, 50, 988, 608) << QPoint(0, 292);
        QTest::newRow("top out of screen") << QRect(40, -300, 988, 608) << QPoint(384, 0);
        QTest::newRow("main smaller than about") << QRect(10, 10, 200, 100) << QPoint(0, 0);
    }
    void firstShowingIsCentredOverTheMainWindow()
    {
        QFETCH(QRect, mainGeometry);
        QFETCH(QPoint, expected);
        std::unique_ptr<QWidget> main(makeMainWindow(mainGeometry));
        main->show();
        // Opened from another window (the list editor): still centred over the main window.
        QWidget editor;
        editor.setGeometry(600, 500, 400, 300);
        editor.show();
        AboutWindow about(main.get());
        about.showAbout();
        QCOMPARE(about.pos(), expected);
    }

    void laterShowingsKeepTheirPlace()
    {
        std::unique_ptr<QWidget> main(makeMainWindow(QRect(100, 100, 988, 608)));
        main->show();
        AboutWindow about(main.get());
        about.showAbout();
        const QPoint first = about.pos();
        about.showAbout(); // already open: comes to the front where it is
        QCOMPARE(about.pos(), first);
        about.hide();
        main->move(400, 20);
        about.showAbout();
        QCOMPARE(about.pos(), first);
    }

    void coloursAreTakenAtEachShowing()
    {
        std::unique_ptr<QWidget> main(makeMainWindow(QRect(100, 100, 988, 608)));
        setColours(main.get(), QColor(0x12, 0x34, 0x56), QColor(0xAB, 0xCD, 0xEF));
        AboutWindow about(main.get());
        auto* credit = about.findChild<QLabel*>(QStringLiteral("Label1"));
        about.showAbout();
        QCOMPARE(about.palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
        QCOMPARE(credit->palette().color(QPalette::WindowText), QColor(0xAB, 0xCD, 0xEF));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().size(), QSize(32, 32));

        setColours(main.get(), Qt::red, Qt::yellow);
        QCOMPARE(about.palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56)); // not while open
        about.hide();
        about.showAbout();
        QCOMPARE(about.palette().color(QPalette::Window), QColor(Qt::red));
        QCOMPARE(credit->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    }

    // Tahoma (Wine's), and where it is missing the fonts the package recommends and depends on.
    void creditFitsItsLabel_data()
    {
        QTest::addColumn<QString>("family");
        for (const char* family : {"Tahoma", "Liberation Sans", "DejaVu Sans"})
            QTest::newRow(family) << QString::fromLatin1(family);
    }
    void creditFitsItsLabel()
    {
        QFETCH(QString, family);
        AboutWindow about(nullptr);
        about.setFont(uiFont(family, 16)); // Wine's Tahoma made known
        auto* credit = about.findChild<QLabel*>(QStringLiteral("Label1"));
        QCOMPARE(QFontInfo(credit->font()).family(), family);
        const QRect room = credit->contentsRect();
        const QRect needed = credit->fontMetrics().boundingRect(room, Qt::TextWordWrap, credit->text());
        QVERIFY2(room.contains(needed), qPrintable(QStringLiteral("%1 x %2").arg(needed.width()).arg(needed.height())));
    }

    void clickInsideTheShapeHides_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QPoint>("at"); // window coordinates
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("hides");
        QTest::newRow("skin") << "ImgBg" << QPoint(270, 40) << Qt::LeftButton << true;
        QTest::newRow("icon") << "Image1" << QPoint(28, 40) << Qt::LeftButton << true;
        QTest::newRow("description") << "Label2" << QPoint(150, 90) << Qt::LeftButton << true;
        QTest::newRow("credit") << "Label1" << QPoint(150, 30) << Qt::LeftButton << true;
        QTest::newRow("right button") << "Label2" << QPoint(150, 90) << Qt::RightButton << false;
        // The key-coloured first column is cut out of the shape.
        QTest::newRow("cut-out edge") << "ImgBg" << QPoint(0, 60) << Qt::LeftButton << false;
    }
    void clickInsideTheShapeHides()
    {
        QFETCH(QString, control);
        QFETCH(QPoint, at);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, hides);
        std::unique_ptr<QWidget> main(makeMainWindow(QRect(100, 100, 988, 608)));
        AboutWindow about(main.get());
        about.showAbout();
        auto* target = about.findChild<QWidget*>(control);
        QVERIFY(target);
        if (control != QLatin1String("ImgBg"))
            QCOMPARE(about.childAt(at), target);
        QVERIFY(about.mask().contains(at) == hides || button != Qt::LeftButton);
        QTest::mouseClick(target, button, {}, target->mapFrom(&about, at));
        QCOMPARE(about.isVisible(), !hides);
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_AboutWindow.moc"
