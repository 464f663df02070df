#include "ScriptedDialogs.h"
#include "StripControls.h"
#include "picturelist/ListOperations.h"
#include "picturelist/PathDialog.h"
#include "picturelist/ThumbnailStrip.h"
#include "platform/Guard.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

struct Fixture
{
    StripControls f;
    ThumbnailStrip strip{f.stripControls(), *f.list};
    ListOperations ops{f.operationControls(), *f.list, strip};
    PathDialog dialog{&f.form, *f.list, ops};

    Fixture() { connectRequest(&ops, &ListOperations::pathDialogRequested, &dialog, &PathDialog::showPath); }

    // Pictures named after the letters, in the list and in the strip.
    void load(const QStringList& names)
    {
        for (const QString& name : names)
            f.append(f.picture(name));
        ops.LoadPictureList();
    }
    QStringList names() const
    {
        QStringList out;
        for (int k = 0; k < f.list->count(); ++k)
            out << QFileInfo(f.list->path(k)).fileName();
        return out;
    }
    QLineEdit* edit1() { return dialog.findChild<QLineEdit*>(QStringLiteral("Edit1")); }
    void click(const char* button)
    {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }
};

} // namespace

class TestPathDialog : public QObject
{
    Q_OBJECT

private slots:
    void opensOnTheMarkedPathOverTheMainWindow()
    {
        ScopedScriptedDialogs dialogs;
        Fixture x;
        QPalette pal = x.f.form.palette();
        pal.setColor(QPalette::Window, QColor(0x20, 0x60, 0xA0));
        x.f.form.setPalette(pal);
        x.f.form.setWindowFlags(Qt::FramelessWindowHint); // as the skinned main window
        x.f.form.move(100, 100);
        x.f.form.show();
        x.load({"a.jpg", "b.jpg"});

        x.ops.Redigeravaldbild1Click(); // nothing marked: nothing opens
        QVERIFY(!x.dialog.isVisible());

        x.f.list->setMarkedIndex(1);
        x.ops.Redigeravaldbild1Click();
        QVERIFY(x.dialog.isVisible());
        QVERIFY(!x.dialog.isModal());
        QCOMPARE(x.edit1()->text(), x.f.list->path(1));
        QCOMPARE(x.dialog.pos(), QPoint(100 + (988 - 471) / 2, 100 + (608 - 98) / 2));
        QCOMPARE(x.dialog.palette().color(QPalette::Window), QColor(0x20, 0x60, 0xA0));
        QVERIFY(dialogs->errors().isEmpty());
    }

    void okPutsTheTextInPlaceOfTheEntryMarkedAtTheClick_data()
    {
        QTest::addColumn<int>("markedAtOpen");
        QTest::addColumn<int>("markedAtOk");
        QTest::addColumn<QString>("newName"); // empty: the path is left as it was opened
        QTest::addColumn<bool>("newExists");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("asked");

        QTest::newRow("unchanged path") << 1 << 1 << "" << true << QStringList{"a.jpg", "b.jpg", "c.jpg"} << false;
        QTest::newRow("first entry replaced")
            << 0 << 0 << "x.jpg" << true << QStringList{"x.jpg", "b.jpg", "c.jpg"} << false;
        QTest::newRow("last entry replaced")
            << 2 << 2 << "x.jpg" << true << QStringList{"a.jpg", "b.jpg", "x.jpg"} << false;
        QTest::newRow("marking moved while open")
            << 0 << 2 << "" << true << QStringList{"a.jpg", "b.jpg", "a.jpg"} << false;
        // As after a first OK: nothing marked any more.
        QTest::newRow("nothing marked appends")
            << 1 << -1 << "" << true << QStringList{"a.jpg", "b.jpg", "c.jpg", "b.jpg"} << false;
        // The rebuild asks; the unscripted answer No empties the list.
        QTest::newRow("path naming no file") << 1 << 1 << "saknas.jpg" << false << QStringList{} << true;
    }
    void okPutsTheTextInPlaceOfTheEntryMarkedAtTheClick()
    {
        QFETCH(int, markedAtOpen);
        QFETCH(int, markedAtOk);
        QFETCH(QString, newName);
        QFETCH(bool, newExists);
        QFETCH(QStringList, expected);
        QFETCH(bool, asked);

        ScopedScriptedDialogs dialogs;
        Fixture x;
        x.load({"a.jpg", "b.jpg", "c.jpg"});
        x.f.list->setMarkedIndex(markedAtOpen);
        x.ops.Redigeravaldbild1Click();
        if (!newName.isEmpty())
            x.edit1()->setText(newExists ? x.f.picture(newName) : x.f.dir.filePath(newName));
        x.f.list->setMarkedIndex(markedAtOk);

        x.click("BtOk");

        QCOMPARE(x.names(), expected);
        QCOMPARE(x.f.list->markedIndex(), -1);
        QCOMPARE(x.strip.cardCount(), int(expected.size()));
        QVERIFY(x.dialog.isVisible()); // stays open
        QCOMPARE(dialogs->calls.size(), asked ? 1 : 0);
        if (asked)
            QVERIFY(dialogs->calls[0].text.startsWith(QStringLiteral("Filen ") + x.f.dir.filePath(newName)));
        QVERIFY(dialogs->errors().isEmpty());
    }

    void anUntouchedPathKeepsTheBytesOfItsEntry()
    {
        ScopedScriptedDialogs dialogs;
        Fixture x;
        // Latin-1 'é' is no UTF-8: decoding for the edit field cannot give these bytes back.
        const QByteArray entry = QFile::encodeName(x.f.dir.path()) + "/sj\xe9.jpg";
        QVERIFY(QFile::encodeName(QFile::decodeName(entry)) != entry);
        x.f.list->append(entry);
        x.f.list->setMarkedIndex(0);
        x.ops.Redigeravaldbild1Click();

        dialogs->setNextAnswer(Dialogs::Yes); // the rebuild finds no such file; keep the list
        x.click("BtOk");

        QCOMPARE(x.f.list->count(), 1);
        QCOMPARE(x.f.list->entry(0), entry);
    }

    void browsingStartsInTheFolderOfTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("initialDir");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QString>("after");

        QTest::newRow("full path") << "/hem/bilder/sjö.jpg"
                                   << "/hem/bilder/" << QStringList{"/hem/ny.bmp"} << "/hem/ny.bmp";
        QTest::newRow("path written on Windows") << "C:\\Bilder\\sjö.jpg"
                                                 << "C:\\Bilder\\" << QStringList{"/hem/ny.bmp"} << "/hem/ny.bmp";
        QTest::newRow("bare file name") << "sjö.jpg"
                                        << "" << QStringList{"/hem/ny.bmp"} << "/hem/ny.bmp";
        QTest::newRow("cancelled") << "/hem/bilder/sjö.jpg"
                                   << "/hem/bilder/" << QStringList{} << "/hem/bilder/sjö.jpg";
    }
    void browsingStartsInTheFolderOfTheText()
    {
        QFETCH(QString, text);
        QFETCH(QString, initialDir);
        QFETCH(QStringList, chosen);
        QFETCH(QString, after);

        ScopedScriptedDialogs dialogs;
        Fixture x;
        x.f.append(text);
        x.f.list->setMarkedIndex(0);
        x.ops.Redigeravaldbild1Click();
        dialogs->setNextFiles(chosen);

        x.click("Button1");

        QCOMPARE(dialogs->calls.size(), 1);
        const Dialogs::FileRequest request = dialogs->calls[0].request;
        QCOMPARE(request.initialDir, initialDir);
        QVERIFY(request.filter.isEmpty()); // every file is offered
        QVERIFY(!request.multiSelect);
        QCOMPARE(x.edit1()->text(), after);
        QVERIFY(x.dialog.isVisible()); // so that OK can apply the choice
        QCOMPARE(x.f.list->count(), 1);
    }
};

QTEST_MAIN(TestPathDialog)
#include "tst_PathDialog.moc"
