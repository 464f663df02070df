#include "ListFixture.h"
#include "ScriptedDialogs.h"
#include "picturelist/PathDialog.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct Fixture : ListFixture
{
    PathDialog dialog{&form, list, ops};

    Fixture()
    {
        showPathDialog = [this](int index) { dialog.showEntry(index); };
    }
    // Pictures named as given, in the list and in the strip.
    void load(const QStringList& names)
    {
        for (const QString& name : names)
            list.append(QFile::encodeName(picture(name)));
        QVERIFY(ListFixture::load());
    }
    QStringList names() const
    {
        QStringList out;
        for (int k = 0; k < list.count(); ++k)
            out << QFileInfo(list.path(k)).fileName();
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
        QPalette pal = x.form.palette();
        pal.setColor(QPalette::Window, QColor(0x20, 0x60, 0xA0));
        x.form.setPalette(pal);
        x.form.setWindowFlags(Qt::FramelessWindowHint); // as the skinned main window
        x.form.move(100, 100);
        x.form.show();
        x.load({"a.jpg", "b.jpg"});
        x.list.setMarkedIndex(1);
        x.ops.Redigeravaldbild1Click();
        QVERIFY(x.dialog.isVisible());
        QVERIFY(!x.dialog.isModal());
        QCOMPARE(x.edit1()->text(), x.list.path(1));
        QCOMPARE(x.dialog.pos(), QPoint(100 + (988 - 471) / 2, 100 + (608 - 98) / 2));
        QCOMPARE(x.dialog.palette().color(QPalette::Window), QColor(0x20, 0x60, 0xA0));
        QVERIFY(dialogs->errors().isEmpty());
    }

    void okPutsTheTextInPlaceOfTheEntryItWasOpenedFor_data()
    {
        QTest::addColumn<int>("opened");
        QTest::addColumn<int>("markedAtOk");  // -2: the list was read anew meanwhile
        QTest::addColumn<QString>("newName"); // empty: the path is left as it was opened
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("unchanged path") << 1 << 1 << "" << QStringList{"a.jpg", "b.jpg", "c.jpg"};
        QTest::newRow("first entry replaced") << 0 << 0 << "x.jpg" << QStringList{"x.jpg", "b.jpg", "c.jpg"};
        QTest::newRow("last entry replaced") << 2 << 2 << "x.jpg" << QStringList{"a.jpg", "b.jpg", "x.jpg"};
        // A rotation step moved the mark while the dialog was open.
        QTest::newRow("mark moved meanwhile") << 0 << 2 << "x.jpg" << QStringList{"x.jpg", "b.jpg", "c.jpg"};
        QTest::newRow("mark gone meanwhile") << 1 << -1 << "x.jpg" << QStringList{"a.jpg", "x.jpg", "c.jpg"};
        QTest::newRow("entry gone: appended") << 1 << -2 << "x.jpg" << QStringList{"a.jpg", "b.jpg", "c.jpg", "x.jpg"};
    }
    void okPutsTheTextInPlaceOfTheEntryItWasOpenedFor()
    {
        QFETCH(int, opened);
        QFETCH(int, markedAtOk);
        QFETCH(QString, newName);
        QFETCH(QStringList, expected);
        ScopedScriptedDialogs dialogs;
        Fixture x;
        x.load({"a.jpg", "b.jpg", "c.jpg"});
        x.list.setMarkedIndex(opened);
        x.ops.Redigeravaldbild1Click();
        if (!newName.isEmpty())
            x.edit1()->setText(x.picture(newName));
        if (markedAtOk == -2) {
            x.list.clear();
            x.load({"a.jpg", "b.jpg", "c.jpg"});
        } else {
            x.list.setMarkedIndex(markedAtOk);
        }

        x.click("BtOk");
        QTRY_VERIFY(!x.ops.isLoading());
        QCOMPARE(x.names(), expected);
        QCOMPARE(x.list.markedIndex(), -1);
        QCOMPARE(x.strip.cardCount(), int(expected.size()));
        QVERIFY(x.dialog.isVisible()); // stays open
        // A second OK acts on the same entry again.
        x.edit1()->setText(x.picture(QStringLiteral("y.jpg")));
        x.click("BtOk");
        QTRY_VERIFY(!x.ops.isLoading());
        QCOMPARE(x.names().size(), expected.size());
        QVERIFY(x.names().contains("y.jpg"));
        QVERIFY(dialogs->calls.isEmpty());
    }

    // An OK while a load runs loads the changed list at once; the path that names no file gets its
    // question there, not the cards of the list before.
    void okDuringALoadLoadsTheChangedList()
    {
        ScopedScriptedDialogs dialogs;
        Fixture x;
        x.load({"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
        x.list.setMarkedIndex(0);
        x.ops.Redigeravaldbild1Click();
        const QString gone = x.dir.filePath(QStringLiteral("saknas.jpg"));
        x.edit1()->setText(gone);
        connect(&x.ops, &ListOperations::loadProgressed, &x.dialog, [&](int, int position) {
            if (position == 2 && x.dialog.isVisible() && x.list.path(0) != gone)
                x.click("BtOk");
        });
        dialogs->setNextAnswer(Dialogs::Yes);
        x.ops.LoadPictureList();
        QTRY_VERIFY(!x.ops.isLoading());
        QCOMPARE(dialogs->calls.size(), 1);
        QVERIFY(dialogs->calls[0].text.startsWith(QStringLiteral("Filen ") + gone));
        QCOMPARE(x.editorFor, QStringList{gone});
        QCOMPARE(x.strip.cardCount(), 0);
    }

    void anUntouchedPathKeepsTheBytesOfItsEntry()
    {
        ScopedScriptedDialogs dialogs;
        Fixture x;
        // Latin-1 'é' is no UTF-8: decoding for the edit field cannot give these bytes back.
        const QByteArray entry = QFile::encodeName(x.dir.path()) + "/sj\xe9.jpg";
        QVERIFY(QFile::encodeName(QFile::decodeName(entry)) != entry);
        x.list.append(entry);
        x.list.setMarkedIndex(0);
        x.ops.Redigeravaldbild1Click();
        dialogs->setNextAnswer(Dialogs::Yes); // the rebuild finds no such file; keep the list
        x.click("BtOk");
        QTRY_VERIFY(!x.ops.isLoading());
        QCOMPARE(x.list.model().entries(), QList<QByteArray>{entry});
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
        x.list.append(QFile::encodeName(text));
        x.list.setMarkedIndex(0);
        x.ops.Redigeravaldbild1Click();
        dialogs->setNextFiles(chosen);
        x.click("Button1");
        QCOMPARE(dialogs->calls.size(), 1);
        const Dialogs::FileRequest request = dialogs->calls[0].request;
        QCOMPARE(request.initialDir, initialDir);
        QVERIFY(request.filter.isEmpty() && !request.multiSelect); // every file is offered
        QCOMPARE(x.edit1()->text(), after);
        QVERIFY(x.dialog.isVisible()); // so that OK can apply the choice
        QCOMPARE(x.list.count(), 1);
    }
};

QTEST_MAIN(TestPathDialog)
#include "tst_PathDialog.moc"
