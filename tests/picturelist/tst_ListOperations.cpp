#include "ScriptedDialogs.h"
#include "StripControls.h"
#include "picturelist/ListOperations.h"
#include "picturelist/ThumbnailStrip.h"
#include "platform/AppError.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

// Notes what the bottom field shows each time a card is built.
class StepRecorder : public QObject
{
public:
    struct Step
    {
        QString las;
        QString num;
        int progress;
        bool stripVisible;
        bool barVisible;
    };
    // Watches the application: emptying the strip gives SB1 a new content widget.
    StepRecorder(StripControls& f) : m_f(f) { qApp->installEventFilter(this); }
    QList<Step> steps;
    QStringList nums() const
    {
        QStringList out;
        for (const Step& s : steps)
            out << s.num;
        return out;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded && watched == m_f.c.sb1->widget())
            steps << Step{m_f.c.lbLas->text(), m_f.c.lbNum->text(), m_f.c.progBar->value(),
                          m_f.c.sb1->isVisibleTo(&m_f.form), m_f.c.progBar->isVisibleTo(&m_f.form)};
        return false;
    }

private:
    StripControls& m_f;
};

struct Operations
{
    StripControls f;
    ThumbnailStrip strip{f.stripControls(), *f.list};
    ListOperations ops{f.operationControls(), *f.list, strip};

    QStringList pictures(const QString& prefix, int count)
    {
        QStringList paths;
        for (int k = 0; k < count; ++k)
            paths << f.picture(prefix + QString::number(k) + QStringLiteral(".jpg"));
        return paths;
    }
    void fillAndLoad(int count)
    {
        for (const QString& p : pictures(QStringLiteral("gammal"), count))
            f.append(p);
        ops.LoadPictureList();
    }
    QStringList entries() const
    {
        QStringList out;
        for (int k = 0; k < f.list->count(); ++k)
            out << f.list->path(k);
        return out;
    }
};

class TestListOperations : public QObject
{
    Q_OBJECT

    static QString stored(Setting key)
    {
        SettingsStore store;
        return store.exists(key) ? store.readString(key) : QStringLiteral("<none>");
    }

private slots:
    void readingPictures_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("existing");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("finalNum");
        QTest::addColumn<int>("cards");
        QTest::addColumn<bool>("singleBorder");
        QTest::addColumn<bool>("previewKept");

        QTest::newRow("new list of three") << "ny" << 2 << 3 << QStringList{"Bild 1 av 3", "Bild 2 av 3", "Bild 3 av 3"}
                                           << "Antal bilder inlästa: 3" << 3 << false << false;
        QTest::newRow("new list, dialog cancelled")
            << "ny" << 2 << 0 << QStringList{} << "Antal bilder inlästa: 0" << 0 << false << false;
        QTest::newRow("two added to five") << "add" << 5 << 2 << QStringList{"Bild 1 av 2", "Bild 2 av 2"}
                                           << "Antal bilder inlästa: 7" << 7 << true << true;
        QTest::newRow("add, dialog cancelled")
            << "add" << 5 << 0 << QStringList{} << "Antal bilder inlästa: 5" << 5 << true << true;
        QTest::newRow("load three") << "load" << 3 << 0 << QStringList{"Bild 1 av 3", "Bild 2 av 3", "Bild 3 av 3"}
                                    << "Antal bilder i listan: 3" << 3 << true << false;
        QTest::newRow("load an empty list")
            << "load" << 0 << 0 << QStringList{} << "Antal bilder i listan: 0" << 0 << true << false;
    }
    void readingPictures()
    {
        QFETCH(QString, operation);
        QFETCH(int, existing);
        QFETCH(int, chosen);
        QFETCH(QStringList, steps);
        QFETCH(QString, finalNum);
        QFETCH(int, cards);
        QFETCH(bool, singleBorder);
        QFETCH(bool, previewKept);

        ScopedScriptedDialogs dialogs;
        Operations o;
        if (operation != "load")
            o.fillAndLoad(existing);
        else
            for (const QString& p : o.pictures(QStringLiteral("gammal"), existing))
                o.f.append(p);
        const QStringList files = o.pictures(QStringLiteral("ny"), chosen);
        if (chosen > 0)
            dialogs->setNextFiles(files);
        QImage shown(10, 10, QImage::Format_RGB32);
        shown.fill(Qt::red);
        o.f.c.img->setImage(shown);
        o.f.c.sb1->show();

        StepRecorder recorder(o.f);
        if (operation == "ny")
            o.ops.BtNyClick();
        else if (operation == "add")
            o.ops.BtAddClick();
        else
            o.ops.LoadPictureList();

        QCOMPARE(recorder.nums(), steps);
        for (int k = 0; k < recorder.steps.size(); ++k) {
            const StepRecorder::Step& s = recorder.steps[k];
            QCOMPARE(s.las, QStringLiteral("Läser in bilder..."));
            QCOMPARE(s.progress, k);
            QVERIFY(!s.stripVisible);
            QVERIFY(s.barVisible);
        }
        QCOMPARE(o.f.c.lbLas->text(), QStringLiteral("Alla bilder inlästa."));
        QCOMPARE(o.f.c.lbNum->text(), finalNum);
        QVERIFY(o.f.c.sb1->isVisibleTo(&o.f.form));
        QVERIFY(!o.f.c.progBar->isVisibleTo(&o.f.form));
        QCOMPARE(o.f.list->count(), cards);
        QCOMPARE(o.strip.cardCount(), cards);
        if (operation != "load") {
            const Dialogs::FileRequest& request = dialogs->calls.last().request;
            QCOMPARE(request.filter,
                     QStringLiteral("Alla (*.jpg;*.bmp;*.gif)|*.jpg;*.bmp;*.gif|JPEG-bilder "
                                    "(*.jpg)|*.jpg|Bitmap-bolder (*.bmp)|*.bmp|Gif-bilder(*.gif)|*.gif"));
            QVERIFY(request.multiSelect);
            QVERIFY(request.preview);
        }
        // The chosen files follow in dialog order, each with the card of its entry.
        for (int k = 0; k < chosen; ++k) {
            const int index = cards - chosen + k;
            QCOMPARE(o.f.list->path(index), files[k]);
            auto* frame = o.strip.card(index)->findChild<BevelPanel*>(QStringLiteral("PnlRam%1").arg(index));
            QVERIFY(frame);
            QCOMPARE(frame->singleBorder(), singleBorder);
        }
        QCOMPARE(o.f.c.img->image() == shown, previewKept);
        // Only a load sets the two buttons; new list and add leave them as the last load did.
        QCOMPARE(o.f.c.btAdd->isEnabled(), (operation == "load" ? cards : existing) > 0);
        QVERIFY(o.f.c.btSpara->isEnabled());
    }

    // A load runs the event loop between its steps; clicks then must not rebuild cards under it.
    void commandsDuringALoadAreRefused()
    {
        ScopedScriptedDialogs dialogs;
        Operations o;
        for (const QString& p : o.pictures(QStringLiteral("gammal"), 3))
            o.f.append(p);
        dialogs->setNextFiles(o.pictures(QStringLiteral("ny"), 1));
        int clicks = 0;
        QTimer::singleShot(0, &o.ops, [&] {
            ++clicks;
            o.ops.BtAddClick();
            o.ops.BtNyClick();
            o.ops.LoadPictureList();
        });
        o.ops.LoadPictureList();
        QCOMPARE(clicks, 1);
        QCOMPARE(o.f.list->count(), 3);
        QCOMPARE(o.strip.cardCount(), 3);
        QVERIFY(dialogs->calls.isEmpty());
        QVERIFY(!o.ops.isLoading());
    }

    // A line break in a name would split its entry when the list is read back.
    void namesWithLineBreaksAreRefused()
    {
        ScopedScriptedDialogs dialogs;
        Operations o;
        o.fillAndLoad(1);
        const QStringList good = o.pictures(QStringLiteral("ny"), 2);
        const QStringList bad = {o.f.picture(QStringLiteral("två\nrader.jpg")),
                                 o.f.picture(QStringLiteral("vagn\rretur.jpg"))};
        dialogs->setNextFiles({good[0], bad[0], bad[1], good[1], QStringLiteral("/tmp/nul\0.jpg")});
        o.ops.BtAddClick();
        QCOMPARE(o.entries(), QStringList({o.entries().first(), good[0], good[1]}));
        QCOMPARE(o.strip.cardCount(), 3);
        QCOMPARE(dialogs->messages().size(), 1);
        const QString message = dialogs->messages().first();
        QVERIFY2(message.startsWith("En bildlista kan inte hålla namn med radbrytning"), qPrintable(message));
        QVERIFY(message.contains(QString(bad[0]).replace('\n', "\\n")));
        QVERIFY(message.contains(QString(bad[1]).replace('\r', "\\r")));
        QVERIFY(message.contains("/tmp/nul\\0.jpg"));
    }

    void missingFileQuestion_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("listFile");
        QTest::addColumn<QString>("text");
        QTest::newRow("windows path")
            << "C:\\Bilder\\Sjö.jpg"
            << "C:\\Listor\\a.lst"
            << "Filen C:\\Bilder\\Sjö.jpg finns inte i C:\\Bilder\\.  Skapa en ny lista eller redigera "
               "C:\\Listor\\a.lst.\r\nVill du redigera listan? Nej tömmer listan så du måste skapa en ny.";
        QTest::newRow("empty entry") << ""
                                     << "/l.lst"
                                     << "Filen  finns inte i .  Skapa en ny lista eller redigera /l.lst.\r\n"
                                        "Vill du redigera listan? Nej tömmer listan så du måste skapa en ny.";
    }
    void missingFileQuestion()
    {
        QFETCH(QString, path);
        QFETCH(QString, listFile);
        QFETCH(QString, text);
        QCOMPARE(ListOperations::missingFileQuestion(path, listFile), text);
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
        Operations o;
        const QStringList paths = o.pictures(QStringLiteral("bild"), 4);
        const QString missing = o.f.dir.filePath(QStringLiteral("borta/bild2.jpg"));
        for (const QString& p : {paths[0], paths[1], missing, paths[3]})
            o.f.append(p);
        o.f.list->setListFileName(o.f.dir.filePath(QStringLiteral("lista.lst")));
        QStringList editorOpenedWith;
        int drops = 0;
        connect(&o.ops, &ListOperations::listEditorRequested, [&](const QString& p) { editorOpenedWith << p; });
        connect(&o.ops, &ListOperations::listDropped, [&] { ++drops; });
        dialogs->setNextAnswer(Dialogs::Answer(answer));

        o.ops.LoadPictureList();

        QCOMPARE(dialogs->calls.size(), 1);
        const ScriptedDialogs::Call& call = dialogs->calls.first();
        QCOMPARE(call.kind, QStringLiteral("box"));
        QCOMPARE(call.caption, QStringLiteral("Fel filnamn eller sökväg"));
        QCOMPARE(call.buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(call.icon, Dialogs::Icon::Warning);
        QCOMPARE(call.text, QStringLiteral("Filen ") + missing + QStringLiteral(" finns inte i ") + o.f.dir.path() +
                                QStringLiteral("/borta/.  Skapa en ny lista eller redigera ") + o.f.dir.path() +
                                QStringLiteral("/lista.lst.\r\nVill du redigera listan? Nej tömmer listan så du "
                                               "måste skapa en ny."));
        if (answer == Dialogs::No) {
            QCOMPARE(o.f.list->count(), 0);
            QCOMPARE(o.strip.cardCount(), 0);
            QCOMPARE(drops, 1);
            QVERIFY(o.f.c.sb1->isVisibleTo(&o.f.form));
            QVERIFY(!o.f.c.progBar->isVisibleTo(&o.f.form));
            QVERIFY(!o.f.c.btAdd->isEnabled());
            QCOMPARE(o.f.c.lbNum->text(), QStringLiteral("Antal bilder i listan: 0"));
            QVERIFY(editorOpenedWith.isEmpty());
        } else {
            // The load stops at the missing entry and the editor takes over.
            QCOMPARE(o.f.list->count(), 4);
            QCOMPARE(o.strip.cardCount(), 2);
            QCOMPARE(drops, 0);
            QVERIFY(!o.f.c.sb1->isVisibleTo(&o.f.form));
            QCOMPARE(o.f.c.lbNum->text(), QStringLiteral("Bild 3 av 4"));
            QCOMPARE(editorOpenedWith, QStringList{missing});
        }
    }

    void undecodablePictureEndsTheLoadWithTheStripShown()
    {
        ScopedScriptedDialogs dialogs;
        Operations o;
        const QStringList paths = o.pictures(QStringLiteral("bild"), 3);
        QFile bad(o.f.dir.filePath(QStringLiteral("trasig.jpg")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("no picture here");
        bad.close();
        for (const QString& p : {paths[0], bad.fileName(), paths[2]})
            o.f.append(p);
        QVERIFY_THROWS_EXCEPTION(AppError, o.ops.LoadPictureList());
        QCOMPARE(o.strip.cardCount(), 1);
        QVERIFY(o.f.c.sb1->isVisibleTo(&o.f.form));
        QVERIFY(!o.f.c.progBar->isVisibleTo(&o.f.form));
    }

    // A list loaded again while a load waits for its thumbnails: the first load ends, its
    // pending thumbnails are dropped, and only the new list's cards stand.
    void loadReplacedDuringALoad_data()
    {
        QTest::addColumn<int>("replacement");
        QTest::newRow("another list") << 2;
        QTest::newRow("emptied") << 0;
    }
    void loadReplacedDuringALoad()
    {
        QFETCH(int, replacement);
        ScopedScriptedDialogs dialogs;
        Operations o;
        const QStringList fresh = o.pictures(QStringLiteral("ny"), replacement);
        QTimer::singleShot(0, &o.ops, [&] {
            o.f.list->clear();
            for (const QString& p : fresh)
                o.f.append(p);
            o.ops.LoadPictureList();
        });
        o.fillAndLoad(6);
        QCOMPARE(o.strip.cardCount(), replacement);
        for (int k = 0; k < replacement; ++k)
            QCOMPARE(o.strip.card(k)->findChild<QLabel*>()->text(), QStringLiteral("ny%1").arg(k));
        QCOMPARE(o.f.c.lbNum->text(), QStringLiteral("Antal bilder i listan: %1").arg(replacement));
        QVERIFY(o.f.c.sb1->isVisibleTo(&o.f.form));
    }

    // A list opened over a long one: the old cards are deleted in batches while the new list
    // loads, and none of them stays in the strip or keeps it scrollable.
    void longListReplaced()
    {
        ScopedScriptedDialogs dialogs;
        Operations o;
        o.f.form.show();
        o.fillAndLoad(150);
        QPointer<QWidget> oldArea = o.f.c.sb1->widget();
        QPointer<QWidget> oldCard = o.strip.card(149);
        QVERIFY(o.f.c.sb1->verticalScrollBar()->maximum() > 0);
        o.f.list->clear();
        for (const QString& p : o.pictures(QStringLiteral("ny"), 3))
            o.f.append(p);
        o.ops.LoadPictureList();

        QWidget* area = o.f.c.sb1->widget();
        QCOMPARE(area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 3);
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(o.strip.card(k)->findChild<QLabel*>()->text(), QStringLiteral("ny%1").arg(k));
            QVERIFY(o.strip.card(k)->isVisible());
        }
        QCOMPARE(o.f.c.sb1->verticalScrollBar()->maximum(), 0);
        QTRY_VERIFY(oldArea.isNull());
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
        Operations o;
        o.fillAndLoad(2);
        const QStringList listed = o.pictures(QStringLiteral("listad"), 3);
        const QString listFile = o.f.dir.filePath(QStringLiteral("lista.lst"));
        QFile file(listFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (const QString& p : listed)
            file.write(QFile::encodeName(p) + "\r\n");
        file.close();
        const QString earlier = o.f.dir.filePath(QStringLiteral("förra.lst"));
        if (openedBefore)
            o.f.list->setListFileName(earlier);
        if (confirm)
            dialogs->setNextFiles({listFile});

        o.ops.BtOpenClick();

        const Dialogs::FileRequest& request = dialogs->calls.first().request;
        QCOMPARE(request.title, QStringLiteral("Öppna Bildlista"));
        QCOMPARE(request.filter, QStringLiteral("List-fil(*.lst)|*.lst"));
        QVERIFY(!request.multiSelect);
        const QString expectedName = confirm ? listFile : (openedBefore ? earlier : QString());
        QCOMPARE(o.f.list->listFileName(), expectedName);
        QCOMPARE(stored(Setting::Senaste), expectedName);
        QCOMPARE(o.ops.saveFileName(), expectedName);
        const int count = confirm ? 3 : 2;
        QCOMPARE(o.f.list->count(), count);
        QCOMPARE(o.strip.cardCount(), count);
        QCOMPARE(o.f.c.lbNum->text(), QStringLiteral("Antal bilder i listan: %1").arg(count));
        if (confirm)
            QCOMPARE(o.entries(), listed);
    }

    void saveUnderTheTypedName()
    {
        ScopedScriptedDialogs dialogs;
        Operations o;
        {
            SettingsStore store;
            store.writeString(Setting::Senaste, QStringLiteral("/senaste.lst"));
        }
        o.fillAndLoad(2);
        o.f.list->setListFileName(QStringLiteral("/aktuell.lst"));
        const QString target = o.f.dir.filePath(QStringLiteral("utan_tillagg"));
        dialogs->setNextSaveFile(target);

        o.ops.BtSparaClick();

        const ScriptedDialogs::Call& call = dialogs->calls.first();
        QCOMPARE(call.kind, QStringLiteral("save"));
        QCOMPARE(call.request.title, QStringLiteral("Spara Bildlista..."));
        QCOMPARE(call.request.filter, QStringLiteral("List-fil(*.lst)|*.lst"));
        QVERIFY(call.request.defaultExt.isEmpty());
        QFile saved(target);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(),
                 QFile::encodeName(o.f.list->path(0)) + "\r\n" + QFile::encodeName(o.f.list->path(1)) + "\r\n");
        QCOMPARE(stored(Setting::Senaste), QStringLiteral("/senaste.lst"));
        QCOMPARE(o.f.list->listFileName(), QStringLiteral("/aktuell.lst"));
        // The next save proposes the name just used.
        o.ops.BtSparaClick();
        QCOMPARE(dialogs->calls.last().request.fileName, target);
    }

    void removeMarked_data()
    {
        QTest::addColumn<int>("marked");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("none marked: unchanged, rebuilt") << -1 << QStringList{"gammal0", "gammal1", "gammal2"};
        QTest::newRow("middle one") << 1 << QStringList{"gammal0", "gammal2"};
    }
    void removeMarked()
    {
        QFETCH(int, marked);
        QFETCH(QStringList, left);
        ScopedScriptedDialogs dialogs;
        Operations o;
        o.fillAndLoad(3);
        o.f.list->setMarkedIndex(marked);
        o.ops.bind();
        o.f.c.abortBild1->trigger();
        QStringList names;
        for (const QString& p : o.entries())
            names << ThumbnailStrip::FileNameWithoutExt(p);
        QCOMPARE(names, left);
        QCOMPARE(o.strip.cardCount(), int(left.size()));
        QCOMPARE(o.f.c.lbNum->text(), QStringLiteral("Antal bilder i listan: %1").arg(left.size()));
        QVERIFY(dialogs->calls.isEmpty());
    }

    void loadAnnouncesItsProgress()
    {
        Operations o;
        for (const QString& p : o.pictures(QStringLiteral("bild"), 3))
            o.f.append(p);
        QStringList shown;
        connect(&o.ops, &ListOperations::loadProgressed, [&](int maximum, int position, const QString& label) {
            shown << QStringLiteral("%1/%2 %3").arg(position).arg(maximum).arg(label);
        });
        o.ops.LoadPictureList();
        QCOMPARE(shown,
                 QStringList({"0/2 Läser in Bilder . . .", "1/2 Läser in Bilder . . .", "2/2 Läser in Bilder . . ."}));
    }
};

QTEST_MAIN(TestListOperations)
#include "tst_ListOperations.moc"
