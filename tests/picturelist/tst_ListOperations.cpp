#include "ListFixture.h"
#include "ScriptedDialogs.h"
#include "picturelist/ListFile.h"
#include "platform/SettingsStore.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpeedButton.h"

#include <QApplication>
#include <QPointer>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>

// What the bottom field shows each time a card is built (emptying the strip gives SB1 a new
// content widget, so the application is watched).
class StepRecorder : public QObject
{
public:
    explicit StepRecorder(ListFixture& f) : m_f(f) { qApp->installEventFilter(this); }
    QStringList steps;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded && watched == m_f.c.sb1->widget())
            steps << QStringLiteral("%1|%2|%3|%4")
                         .arg(m_f.c.lbLas->text(), m_f.c.lbNum->text())
                         .arg(m_f.c.progBar->value())
                         .arg(!m_f.c.sb1->isVisibleTo(&m_f.form) && m_f.c.progBar->isVisibleTo(&m_f.form) ? 1 : 0);
        return false;
    }

private:
    ListFixture& m_f;
};

class TestListOperations : public QObject
{
    Q_OBJECT

private slots:
    void readingPictures_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("existing");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("finalNum");
        QTest::addColumn<bool>("singleBorder");
        QTest::addColumn<bool>("previewKept");
        QTest::newRow("new list of three") << "ny" << 2 << 3 << "Antal bilder inlästa: 3" << false << false;
        QTest::newRow("new list, cancelled") << "ny" << 2 << 0 << "Antal bilder inlästa: 0" << false << false;
        QTest::newRow("two added to five") << "add" << 5 << 2 << "Antal bilder inlästa: 7" << true << true;
        QTest::newRow("add, cancelled") << "add" << 5 << 0 << "Antal bilder inlästa: 5" << true << true;
        QTest::newRow("load three") << "load" << 3 << 0 << "Antal bilder i listan: 3" << true << false;
        QTest::newRow("load an empty list") << "load" << 0 << 0 << "Antal bilder i listan: 0" << true << false;
    }
    void readingPictures()
    {
        QFETCH(QString, operation);
        QFETCH(int, existing);
        QFETCH(int, chosen);
        QFETCH(QString, finalNum);
        QFETCH(bool, singleBorder);
        QFETCH(bool, previewKept);
        ScopedScriptedDialogs dialogs;
        ListFixture f;
        f.append(QStringLiteral("gammal"), existing);
        if (operation != "load")
            QVERIFY(f.load());
        QStringList files;
        for (int k = 0; k < chosen; ++k)
            files << f.picture(QStringLiteral("ny%1.jpg").arg(k));
        if (chosen > 0)
            dialogs->setNextFiles(files);
        QImage shown(10, 10, QImage::Format_RGB32);
        shown.fill(Qt::red);
        f.c.img->setImage(shown);
        QStringList progress;
        connect(&f.ops, &ListOperations::loadProgressed, [&](int maximum, int position, const QString& label) {
            progress << QStringLiteral("%1/%2 %3").arg(position).arg(maximum).arg(label);
        });

        StepRecorder recorder(f);
        operation == "ny" ? f.ops.BtNyClick() : operation == "add" ? f.ops.BtAddClick() : f.ops.LoadPictureList();
        QTRY_VERIFY(!f.ops.isLoading());

        // One step per card: "Bild k av n" with the bar at k - 1, the strip hidden meanwhile.
        const int built = operation == "load" ? existing : chosen;
        QStringList expected, announced;
        for (int k = 0; k < built; ++k) {
            expected << QStringLiteral("Läser in bilder...|Bild %1 av %2|%3|1").arg(k + 1).arg(built).arg(k);
            announced << QStringLiteral("%1/%2 Läser in Bilder . . .").arg(k).arg(built - 1);
        }
        QCOMPARE(recorder.steps, expected);
        QCOMPARE(progress, operation == "load" ? announced : QStringList());
        QCOMPARE(f.c.lbLas->text(), QStringLiteral("Alla bilder inlästa."));
        QCOMPARE(f.c.lbNum->text(), finalNum);
        QVERIFY(f.c.sb1->isVisibleTo(&f.form));
        QVERIFY(!f.c.progBar->isVisibleTo(&f.form));
        const int cards = operation == "ny" ? chosen : existing + chosen;
        QCOMPARE(f.list.count(), cards);
        QCOMPARE(f.strip.cardCount(), cards);
        for (int k = 0; k < chosen; ++k) {
            QCOMPARE(f.list.path(cards - chosen + k), files[k]);
            QCOMPARE(f.frame(cards - chosen + k)->singleBorder(), singleBorder);
        }
        QCOMPARE(f.c.img->image() == shown, previewKept);
        if (operation != "load") {
            const Dialogs::FileRequest& request = dialogs->calls.last().request;
            QCOMPARE(request.filter,
                     QStringLiteral("Alla (*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif|JPEG-bilder "
                                    "(*.jpg)|*.jpg|Bitmap-bolder (*.bmp)|*.bmp|Gif-bilder(*.gif)|*.gif"));
            QVERIFY(request.multiSelect && request.preview);
        }
    }

    // The event loop runs between the steps of a load: what the user does then must leave the
    // strip in step with the list.
    void commandDuringALoad_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("pictures added get their cards too")
            << "add" << QStringList{"gammal0", "gammal1", "gammal2", "gammal3", "ny0"};
        QTest::newRow("a new list replaces the load") << "ny" << QStringList{"ny0"};
        QTest::newRow("the list changed and loaded again")
            << "load" << QStringList{"ny0", "gammal1", "gammal2", "gammal3"};
    }
    void commandDuringALoad()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, captions);
        ScopedScriptedDialogs dialogs;
        ListFixture f;
        f.append(QStringLiteral("gammal"), 4);
        const QString fresh = f.picture(QStringLiteral("ny0.jpg"));
        dialogs->setNextFiles({fresh});
        bool done = false;
        connect(&f.ops, &ListOperations::loadProgressed, &f.ops, [&](int, int position) {
            if (position != 2 || std::exchange(done, true))
                return;
            if (command == "add")
                f.ops.BtAddClick();
            else if (command == "ny")
                f.ops.BtNyClick();
            else {
                f.list.replace(0, QFile::encodeName(fresh));
                f.ops.LoadPictureList();
            }
        });
        QVERIFY(f.load());
        QCOMPARE(f.captions(), captions);
        QVERIFY(f.c.sb1->isVisibleTo(&f.form));
        QVERIFY(dialogs->errors().isEmpty());
    }

    // A line break in a name would split its entry when the list is read back.
    void namesWithLineBreaksAreRefused()
    {
        ScopedScriptedDialogs dialogs;
        ListFixture f;
        const QStringList good{f.picture(QStringLiteral("a.jpg")), f.picture(QStringLiteral("b.jpg"))};
        const QString bad = f.picture(QStringLiteral("två\nrader.jpg"));
        dialogs->setNextFiles({good[0], bad, good[1], QStringLiteral("/tmp/nul\0.jpg")});
        f.ops.BtAddClick();
        QTRY_COMPARE(f.strip.cardCount(), 2);
        QCOMPARE(f.list.path(1), good[1]);
        const QStringList messages = dialogs->messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith("En bildlista kan inte hålla namn med radbrytning"), qPrintable(messages[0]));
        QVERIFY(messages[0].contains(QString(bad).replace('\n', "\\n")) && messages[0].contains("/tmp/nul\\0.jpg"));
    }

    void thirdEntryMissing_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("no empties the list") << int(Dialogs::No);
        QTest::newRow("yes hands over to the editor") << int(Dialogs::Yes);
    }
    void thirdEntryMissing()
    {
        QFETCH(int, answer);
        ScopedScriptedDialogs dialogs;
        ListFixture f;
        f.append(QStringLiteral("bild"), 2);
        const QString missing = f.dir.filePath(QStringLiteral("borta/bild2.jpg"));
        f.list.append(QFile::encodeName(missing));
        f.append(QStringLiteral("sist"), 1);
        f.list.setListFileName(f.dir.filePath(QStringLiteral("lista.lst")));
        dialogs->setNextAnswer(Dialogs::Answer(answer));
        QVERIFY(f.load());

        QCOMPARE(dialogs->calls.size(), 1);
        const ScriptedDialogs::Call& call = dialogs->calls.first();
        QCOMPARE(call.caption, QStringLiteral("Fel filnamn eller sökväg"));
        QCOMPARE(call.buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(call.icon, Dialogs::Icon::Warning);
        QCOMPARE(call.text, QStringLiteral("Filen ") + missing + QStringLiteral(" finns inte i ") + f.dir.path() +
                                QStringLiteral("/borta/.  Skapa en ny lista eller redigera ") + f.dir.path() +
                                QStringLiteral("/lista.lst.\r\nVill du redigera listan? Nej tömmer listan så du "
                                               "måste skapa en ny."));
        const bool no = answer == Dialogs::No;
        QCOMPARE(f.list.count(), no ? 0 : 4);
        // Yes: the load stops at the missing entry and the editor takes over.
        QCOMPARE(f.strip.cardCount(), no ? 0 : 2);
        QCOMPARE(f.drops, no ? 1 : 0);
        QCOMPARE(f.editorFor, no ? QStringList() : QStringList{missing});
        QCOMPARE(f.c.sb1->isVisibleTo(&f.form), no);
        QCOMPARE(f.c.lbNum->text(), no ? QStringLiteral("Antal bilder i listan: 0") : QStringLiteral("Bild 3 av 4"));
    }

    void undecodablePictureEndsTheLoadWithTheStripShown()
    {
        ScopedScriptedDialogs dialogs;
        ListFixture f;
        f.append(QStringLiteral("bild"), 1);
        QFile bad(f.dir.filePath(QStringLiteral("trasig.jpg")));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("no picture here") > 0);
        bad.close();
        f.list.append(QFile::encodeName(bad.fileName()));
        f.append(QStringLiteral("sist"), 1);
        bool ended = true;
        f.ops.LoadPictureList([&](bool e) { ended = e; });
        QTRY_VERIFY(!f.ops.isLoading());
        QVERIFY(!ended);
        QCOMPARE(dialogs->errors().size(), 1);
        QCOMPARE(f.strip.cardCount(), 1);
        QVERIFY(f.c.sb1->isVisibleTo(&f.form));
        QVERIFY(!f.c.progBar->isVisibleTo(&f.form));
    }

    // A list opened over a long one: none of the old cards stays in the strip or keeps it scrollable.
    void longListReplaced()
    {
        ScopedScriptedDialogs dialogs;
        ListFixture f;
        f.form.show();
        f.append(QStringLiteral("gammal"), 150);
        QVERIFY(f.load());
        QPointer<QWidget> oldCard = f.strip.card(0);
        QVERIFY(f.c.sb1->verticalScrollBar()->maximum() > 0);
        f.list.clear();
        f.append(QStringLiteral("ny"), 3);
        QVERIFY(f.load());
        QCOMPARE(f.c.sb1->widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 3);
        QCOMPARE(f.captions(), QStringList({"ny0", "ny1", "ny2"}));
        QVERIFY(f.strip.card(2)->isVisible());
        QCOMPARE(f.c.sb1->verticalScrollBar()->maximum(), 0);
        QVERIFY(oldCard.isNull());
    }

    void openList_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("openedBefore");
        QTest::newRow("confirmed") << true << false;
        QTest::newRow("cancelled, never opened") << false << false;
        QTest::newRow("cancelled after an earlier open") << false << true;
    }
    void openList()
    {
        QFETCH(bool, confirm);
        QFETCH(bool, openedBefore);
        ScopedScriptedDialogs dialogs;
        ListFixture f;
        f.append(QStringLiteral("gammal"), 2);
        const QString listFile = f.dir.filePath(QStringLiteral("lista.lst"));
        QList<QByteArray> listed;
        for (int k = 0; k < 3; ++k)
            listed << QFile::encodeName(f.picture(QStringLiteral("listad%1.jpg").arg(k)));
        ListFile::write(listFile, listed);
        const QString earlier = f.dir.filePath(QStringLiteral("förra.lst"));
        if (openedBefore)
            f.list.setListFileName(earlier);
        if (confirm)
            dialogs->setNextFiles({listFile});

        f.ops.BtOpenClick();
        QTRY_VERIFY(!f.ops.isLoading());

        const Dialogs::FileRequest& request = dialogs->calls.first().request;
        QCOMPARE(request.title, QStringLiteral("Öppna Bildlista"));
        QCOMPARE(request.filter, QStringLiteral("List-fil(*.lst)|*.lst"));
        const QString expectedName = confirm ? listFile : (openedBefore ? earlier : QString());
        QCOMPARE(f.list.listFileName(), expectedName);
        QCOMPARE(SettingsStore().readString(Setting::Senaste), expectedName);
        QCOMPARE(f.ops.saveFileName(), expectedName);
        QCOMPARE(f.captions(),
                 confirm ? QStringList({"listad0", "listad1", "listad2"}) : QStringList({"gammal0", "gammal1"}));
    }

    void saveUnderTheTypedName()
    {
        ScopedScriptedDialogs dialogs;
        ListFixture f;
        SettingsStore().writeString(Setting::Senaste, QStringLiteral("/senaste.lst"));
        const QStringList paths = f.append(QStringLiteral("bild"), 2);
        f.list.setListFileName(QStringLiteral("/aktuell.lst"));
        const QString target = f.dir.filePath(QStringLiteral("utan_tillagg"));
        dialogs->setNextSaveFile(target);
        f.ops.BtSparaClick();

        const ScriptedDialogs::Call& call = dialogs->calls.first();
        QCOMPARE(call.request.title, QStringLiteral("Spara Bildlista..."));
        QCOMPARE(call.request.filter, QStringLiteral("List-fil(*.lst)|*.lst"));
        QVERIFY(call.request.defaultExt.isEmpty());
        QFile saved(target);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QFile::encodeName(paths[0]) + "\r\n" + QFile::encodeName(paths[1]) + "\r\n");
        QCOMPARE(SettingsStore().readString(Setting::Senaste), QStringLiteral("/senaste.lst"));
        QCOMPARE(f.list.listFileName(), QStringLiteral("/aktuell.lst"));
        // The next save proposes the name just used.
        f.ops.BtSparaClick();
        QCOMPARE(dialogs->calls.last().request.fileName, target);
    }

    void removeAndEditMarked_data()
    {
        QTest::addColumn<int>("marked");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("none marked: unchanged, rebuilt") << -1 << QStringList{"bild0", "bild1", "bild2"};
        QTest::newRow("middle one") << 1 << QStringList{"bild0", "bild2"};
    }
    void removeAndEditMarked()
    {
        QFETCH(int, marked);
        QFETCH(QStringList, left);
        ScopedScriptedDialogs dialogs;
        ListFixture f;
        f.append(QStringLiteral("bild"), 3);
        QVERIFY(f.load());
        f.list.setMarkedIndex(marked);
        f.ops.bind();
        f.c.redigeravaldbild1->trigger();
        QCOMPARE(f.pathDialogFor, marked < 0 ? QList<int>() : QList<int>{marked});
        f.c.abortBild1->trigger();
        QTRY_COMPARE(f.captions(), left);
        QCOMPARE(f.c.lbNum->text(), QStringLiteral("Antal bilder i listan: %1").arg(left.size()));
        QVERIFY(dialogs->calls.isEmpty());
    }
};

QTEST_MAIN(TestListOperations)
#include "tst_ListOperations.moc"
