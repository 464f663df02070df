#include "platform/QtDialogs.h"
#include "platform/SessionSetup.h"

#include <QFileDialog>
#include <QTest>

// What Qt's own dialogs show: Swedish texts, titles exactly as given, each filter's patterns once.
class TestQtDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(SessionSetup::loadSwedishQtTexts(), "Qt's Swedish texts are not installed"); }

    void filtersShowTheirDescriptionsAsWritten_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("pictures") << "Alla (*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif|JPEG-bilder (*.jpg)|*.jpg|"
                                     "Bitmap-bolder (*.bmp)|*.bmp|Gif-bilder(*.gif)|*.gif"
                                  << QStringList{"Alla (*.jpg;*.bmp;*.gif)", "JPEG-bilder (*.jpg)",
                                                 "Bitmap-bolder (*.bmp)", "Gif-bilder(*.gif)"};
        QTest::newRow("lists") << "List-fil(*.lst)|*.lst" << QStringList{"List-fil(*.lst)"};
    }

    void filtersShowTheirDescriptionsAsWritten()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, shown);
        QCOMPARE(QtDialogs::shownFilterNames(filter), shown);
    }

    void titlesAreExactlyAsGivenOrQtsSwedishDefault_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("shown");
        QTest::newRow("picture dialog, no title of its own") << "" << false << "Öppna";
        QTest::newRow("list open") << "Öppna Bildlista" << false << "Öppna Bildlista";
        QTest::newRow("list save") << "Spara Bildlista..." << true << "Spara Bildlista...";
    }

    void titlesAreExactlyAsGivenOrQtsSwedishDefault()
    {
        QFETCH(QString, title);
        QFETCH(bool, save);
        QFETCH(QString, shown);
        Dialogs::FileRequest request;
        request.title = title;
        request.filter = "List-fil(*.lst)|*.lst";
        const auto dialog = QtDialogs::fileDialog(request, save);
        QCOMPARE(dialog->windowTitle(), shown);
        // A silent overwrite would lose a list.
        QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(dialog->labelText(QFileDialog::Reject), QStringLiteral("Avbryt"));
        QCOMPARE(dialog->labelText(QFileDialog::LookIn), QStringLiteral("Leta i:"));
    }

    void platformOnWaylandIsXWaylandUnlessChosen_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("platform");
        QTest::newRow("X11 session") << QStringList{"XDG_SESSION_TYPE=x11", "DISPLAY=:0"} << "";
        QTest::newRow("Wayland session") << QStringList{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0"}
                                         << "xcb;wayland";
        QTest::newRow("Wayland display only") << QStringList{"WAYLAND_DISPLAY=wayland-1"} << "xcb;wayland";
        QTest::newRow("user's choice wins")
            << QStringList{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0", "QT_QPA_PLATFORM=wayland"} << "";
    }

    void platformOnWaylandIsXWaylandUnlessChosen()
    {
        QFETCH(QStringList, environment);
        QFETCH(QString, platform);
        QProcessEnvironment env;
        for (const QString& entry : environment)
            env.insert(entry.section('=', 0, 0), entry.section('=', 1));
        QCOMPARE(SessionSetup::platformFor(env), platform);
    }
};

QTEST_MAIN(TestQtDialogs)
#include "tst_QtDialogs.moc"
