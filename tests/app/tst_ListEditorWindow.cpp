#include "../picturelist/ListFixture.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "app/MainWindow.h"
#include "picturelist/ListEditorText.h"
#include "picturelist/ListEditorWindow.h"
#include "picturelist/ListOperations.h"
#include "picturelist/PictureList.h"
#include "picturelist/ThumbnailStrip.h"
#include "platform/SettingsStore.h"
#include "schedule/Scheduler.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpeedButton.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The editor on a picture list and its strip, with its calls counted.
struct Editor : ListFixture
{
    int reloads = 0;
    int mainSaves = 0;
    ListEditorWindow w{list,
                       strip,
                       {.saveMainList = [this] { ++mainSaves; },
                        .reload =
                            [this](std::function<void()> reloaded) {
                                ++reloads;
                                reloaded();
                            }}};

    explicit Editor(const QString& listFile) { list.setListFileName(listFile); }
};

} // namespace

class TestListEditorWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_listFile;

    template <typename T> static T* child(ListEditorWindow& w, const char* name)
    {
        auto* c = w.findChild<T*>(QLatin1String(name));
        Q_ASSERT(c);
        return c;
    }

private slots:
    void init() { m_listFile = m_dir.filePath(QStringLiteral("bilder.lst")); }

    void openSelectsTheMissingPath_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("selectionStart");
        // The search ignores letter case and takes the first match.
        QTest::newRow("second line, other case")
            << QByteArray("C:\\a.jpg\r\nC:\\Bilder\\B.JPG\r\n") << "c:\\bilder\\b.jpg"
            << "C:\\Bilder\\B.JPG" << 9;
        QTest::newRow("first of two matches") << QByteArray("/x/b.jpg\n/y/b.jpg\n") << "b.jpg"
                                              << "b.jpg" << 3;
        // A list read with LF CR between two lines has an empty entry there; the match after it
        // must land on the same character in the memo.
        QTest::newRow("after LF CR") << QByteArray("/a.jpg\n\r/c.jpg") << "/c.jpg"
                                     << "/c.jpg" << 8;
        QTest::newRow("no match selects nothing") << QByteArray("/a.jpg\r\n") << "/gone.jpg"
                                                  << "" << 0;
        QTest::newRow("empty entry selects nothing") << QByteArray("\r\n/a.jpg\r\n") << ""
                                                     << "" << 0;
    }

    void openSelectsTheMissingPath()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, missing);
        QFETCH(QString, selected);
        QFETCH(int, selectionStart);
        writeBytes(m_listFile, file);
        Editor e(m_listFile);
        ListEditorWindow& w = e.w;
        w.openList(m_listFile, missing);

        QVERIFY(w.isVisible());
        QVERIFY(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        auto* memo = child<QPlainTextEdit>(w, "FilEdt");
        QCOMPARE(memo->textCursor().selectedText(), selected);
        if (!selected.isEmpty())
            QCOMPARE(memo->textCursor().selectionStart(), selectionStart);
        QCOMPARE(child<QLineEdit>(w, "Edt1")->text(), selected);
        // Filling the editor is no modification.
        QVERIFY(!child<QWidget>(w, "BtChange")->isEnabled());
        QVERIFY(!child<QWidget>(w, "BtSave")->isEnabled());
    }

    void reopeningAsksBeforeDiscardingEdits_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<QString>("memo");
        QTest::newRow("Nej keeps the edits") << int(Dialogs::No) << false << "/a.jpg\n/redigerad.jpg";
        QTest::newRow("Ja reads the list again") << int(Dialogs::Yes) << false << "/a.jpg\n";
        // Closing only hides the editor; its edits are still the user's.
        QTest::newRow("hidden editor, Nej shows the edits") << int(Dialogs::No) << true << "/a.jpg\n/redigerad.jpg";
    }

    void reopeningAsksBeforeDiscardingEdits()
    {
        QFETCH(int, answer);
        QFETCH(bool, hidden);
        QFETCH(QString, memo);
        ScopedScriptedDialogs dialogs;
        writeBytes(m_listFile, "/a.jpg\r\n");
        Editor e(m_listFile);
        ListEditorWindow& w = e.w;
        w.openList(m_listFile, QString());
        auto* filEdt = child<QPlainTextEdit>(w, "FilEdt");
        filEdt->setPlainText(QStringLiteral("/a.jpg\n/redigerad.jpg"));
        if (hidden)
            QTest::mouseClick(child<QLabel>(w, "LbClose"), Qt::LeftButton);
        QCOMPARE(w.isVisible(), !hidden);
        dialogs->setNextAnswer(Dialogs::Answer(answer));
        w.openList(m_listFile, QString());
        QCOMPARE(dialogs->calls.size(), 1);
        QCOMPARE(dialogs->calls[0].text, QStringLiteral("Ändringarna i listan har inte sparats. Vill du kasta dem?"));
        QCOMPARE(dialogs->calls[0].buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(filEdt->toPlainText(), memo);
        QVERIFY(w.isVisible());
    }

    void unreadableListLeavesTheEditorHidden()
    {
        Editor e(m_listFile);
        ListEditorWindow& w = e.w;
        const QString missing = m_dir.filePath(QStringLiteral("finns-inte.lst"));
        QVERIFY(errorOf([&] {
                    w.openList(missing, QStringLiteral("x"));
                }).startsWith(QStringLiteral("Cannot open file \"%1\".").arg(missing)));
        QVERIFY(!w.isVisible());
    }

    void savedBytes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("two lines, no final break: 18 bytes")
            << QByteArray("C:\\a.jpg\r\nC:\\b.jpg") << QByteArray("C:\\a.jpg\r\nC:\\b.jpg");
        QTest::newRow("final break kept") << QByteArray("/a.jpg\r\n") << QByteArray("/a.jpg\r\n");
        QTest::newRow("LF and CR become CR LF") << QByteArray("/a\n/b\r/c") << QByteArray("/a\r\n/b\r\n/c");
        QTest::newRow("LF CR is two breaks") << QByteArray("/a\n\r/c") << QByteArray("/a\r\n\r\n/c");
        QTest::newRow("spaces kept") << QByteArray("  /a.jpg \r\n") << QByteArray("  /a.jpg \r\n");
        // Bytes of another code page (Latin-1 "ö") and UTF-8 letters come back unchanged.
        QTest::newRow("Latin-1 byte") << QByteArray("/Sj\xF6.jpg\r\n") << QByteArray("/Sj\xF6.jpg\r\n");
        QTest::newRow("UTF-8 letters") << QByteArray("/Sjö/Hav.jpg") << QByteArray("/Sjö/Hav.jpg");
        QTest::newRow("broken UTF-8 sequence")
            << QByteArray("/\xE2\x82/\xED\xA0\x80\xC0\xAF") << QByteArray("/\xE2\x82/\xED\xA0\x80\xC0\xAF");
        QTest::newRow("NUL ends the text") << QByteArray("/a\r\n\0/b\r\n", 9) << QByteArray("/a\r\n");
        QTest::newRow("empty file") << QByteArray() << QByteArray();
        // Characters that the editor's plain text would turn into a space or a line break.
        QTest::newRow("no-break space") << QByteArray("/Sommar\xC2\xA0"
                                                      "2023.jpg\r\n")
                                        << QByteArray("/Sommar\xC2\xA0"
                                                      "2023.jpg\r\n");
        QTest::newRow("line and paragraph separators") << QByteArray("/a\xE2\x80\xA8"
                                                                     "b.jpg\r\n/c\xE2\x80\xA9"
                                                                     "d.jpg")
                                                       << QByteArray("/a\xE2\x80\xA8"
                                                                     "b.jpg\r\n/c\xE2\x80\xA9"
                                                                     "d.jpg");
        QTest::newRow("frame marks") << QByteArray("/e\xEF\xB7\x90\xEF\xB7\x91"
                                                   "f.jpg")
                                     << QByteArray("/e\xEF\xB7\x90\xEF\xB7\x91"
                                                   "f.jpg");
    }

    void savedBytes()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, saved);
        writeBytes(m_listFile, file);
        Editor e(m_listFile);
        ListEditorWindow& w = e.w;
        w.openList(m_listFile, QString());
        writeBytes(m_listFile, "overwritten");
        w.BtSaveClick();
        QCOMPARE(fileBytes(m_listFile), saved);
    }

    void editReplaceAndSave_data()
    {
        QTest::addColumn<QString>("mainList"); // the main window's list file at the save
        QTest::newRow("the main window's list") << "bilder.lst";
        // Saving the main list instead would write its entries, not the edited text.
        QTest::newRow("main window opened another list") << "annan.lst";
        QTest::newRow("main window has no list file") << "";
    }
    void editReplaceAndSave()
    {
        QFETCH(QString, mainList);
        ScopedScriptedDialogs dialogs;
        writeBytes(m_listFile, "/bilder/a.jpg\r\n/gammal/b.jpg\r\n/bilder/c.jpg");
        const QString other = mainList.isEmpty() ? QString() : m_dir.filePath(mainList);
        if (other != m_listFile && !other.isEmpty())
            writeBytes(other, "/annan.jpg\r\n");
        Editor e(other);
        ListEditorWindow& w = e.w;
        w.openList(m_listFile, QStringLiteral("/gammal/b.jpg"));
        auto* edt1 = child<QLineEdit>(w, "Edt1");
        auto* btChange = child<QWidget>(w, "BtChange");
        auto* btSave = child<QWidget>(w, "BtSave");
        edt1->selectAll();
        QTest::keyClicks(edt1, QStringLiteral("/ny/b.jpg"));
        QVERIFY(btChange->isEnabled());
        QTest::mouseClick(btChange, Qt::LeftButton);
        QVERIFY(!btChange->isEnabled());
        QVERIFY(btSave->isEnabled());
        QCOMPARE(child<QPlainTextEdit>(w, "FilEdt")->toPlainText(),
                 QStringLiteral("/bilder/a.jpg\n/ny/b.jpg\n/bilder/c.jpg"));

        QTest::mouseClick(btSave, Qt::LeftButton);
        QVERIFY(dialogs->errors().isEmpty());
        QCOMPARE(fileBytes(m_listFile), QByteArray("/bilder/a.jpg\r\n/ny/b.jpg\r\n/bilder/c.jpg"));
        if (other != m_listFile && !other.isEmpty())
            QCOMPARE(fileBytes(other), QByteArray("/annan.jpg\r\n"));
        QCOMPARE(e.reloads, 1);
        QCOMPARE(e.mainSaves, 0);
        QVERIFY(!btSave->isEnabled());
        // After its first save the editor is an ordinary window, still shown.
        QVERIFY(!w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(w.isVisible());
    }

    void browse_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("changeEnabled");
        QTest::newRow("chosen file replaces the field") << "/hem/bilder/b.jpg"
                                                        << "/hem/bilder/b.jpg" << true;
        QTest::newRow("cancel changes nothing") << ""
                                                << "/gammal/b.jpg" << false;
    }

    void browse()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, field);
        QFETCH(bool, changeEnabled);
        ScopedScriptedDialogs dialogs;
        if (!chosen.isEmpty())
            dialogs->setNextFolder(chosen);
        writeBytes(m_listFile, "/gammal/b.jpg\r\n");
        Editor e(m_listFile);
        ListEditorWindow& w = e.w;
        w.openList(m_listFile, QStringLiteral("/gammal/b.jpg"));

        QTest::mouseClick(child<QToolButton>(w, "Edt1Button"), Qt::LeftButton);
        QCOMPARE(dialogs->calls.size(), 1);
        QCOMPARE(dialogs->calls[0].kind, QStringLiteral("browse"));
        QCOMPARE(dialogs->calls[0].text, QStringLiteral("Hitta vald bild..."));
        QCOMPARE(child<QLineEdit>(w, "Edt1")->text(), field);
        QCOMPARE(child<QWidget>(w, "BtChange")->isEnabled(), changeEnabled);

        w.BtChangeClick();
        QCOMPARE(child<QPlainTextEdit>(w, "FilEdt")->toPlainText(), field + QLatin1Char('\n'));
    }

    void clickInALineCopiesIt()
    {
        writeBytes(m_listFile, "/a.jpg\r\n/b.jpg\r\n/tredje/c.jpg\r\n/d.jpg");
        Editor e(m_listFile);
        ListEditorWindow& w = e.w;
        w.openList(m_listFile, QString());
        auto* memo = child<QPlainTextEdit>(w, "FilEdt");
        QTextCursor third(memo->document()->findBlockByNumber(2));
        third.movePosition(QTextCursor::EndOfBlock);
        const QPoint inThirdLine = memo->cursorRect(third).center() - QPoint(10, 0);
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, inThirdLine);
        QCOMPARE(child<QLineEdit>(w, "Edt1")->text(), QStringLiteral("/tredje/c.jpg"));
    }

    void failedWriteStopsTheSave()
    {
        ScopedScriptedDialogs dialogs;
        writeBytes(m_listFile, "/a.jpg\r\n");
        Editor e(m_listFile);
        ListEditorWindow& w = e.w;
        w.openList(m_listFile, QString());
        // A folder now stands where the list file is to be written.
        const QString target = m_listFile;
        QVERIFY(QFile::remove(target));
        QVERIFY(QDir().mkdir(target));
        const auto removeFolder = qScopeGuard([&] { QDir().rmdir(target); });
        child<QPlainTextEdit>(w, "FilEdt")->appendPlainText(QStringLiteral("/b.jpg"));
        QTest::mouseClick(child<QWidget>(w, "BtSave"), Qt::LeftButton);
        QCOMPARE(dialogs->errors().size(), 1);
        QVERIFY(dialogs->errors()[0].startsWith(QStringLiteral("Cannot create file \"%1\".").arg(target)));
        QCOMPARE(e.reloads, 0);
        QVERIFY(child<QWidget>(w, "BtSave")->isEnabled());
        QVERIFY(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void loadingWindow_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("cards");
        QTest::addColumn<QList<int>>("values"); // empty: no window
        QTest::newRow("one picture: one step") << 1 << 1 << QList<int>{0};
        QTest::newRow("three pictures") << 3 << 3 << QList<int>{0, 1, 2};
        // The reload stopped at a missing third entry: the gauge never reaches its maximum,
        // and the window must close all the same.
        QTest::newRow("load stopped early") << 5 << 2 << QList<int>{0, 1};
        // At most 20 steps of 100 ms: two seconds, however long the list.
        QTest::newRow("a long list in bigger steps")
            << 39 << 39 << QList<int>{0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 34, 36, 38};
        QTest::newRow("empty list") << 0 << 0 << QList<int>{};
        QTest::newRow("first entry missing") << 4 << 0 << QList<int>{};
    }

    void loadingWindow()
    {
        QFETCH(int, count);
        QFETCH(int, cards);
        QFETCH(QList<int>, values);
        writeBytes(m_listFile, "/a.jpg\r\n");
        Editor e(m_listFile);
        ListEditorWindow& w = e.w;
        w.openList(m_listFile, QString());
        for (int k = 0; k < count; ++k)
            e.list.append(QByteArray::number(k) + ".png");
        for (int k = 0; k < cards; ++k)
            e.strip.AddThumbnail(k, true, QImage(4, 3, QImage::Format_RGB32));
        w.BtSaveClick();
        QCOMPARE(w.loadingWindow() != nullptr, !values.isEmpty());
        if (values.isEmpty())
            return;
        QList<int> shown{w.loadingGauge()->value()};
        connect(w.loadingGauge(), &QProgressBar::valueChanged, [&](int value) { shown << value; });
        QVERIFY(w.loadingWindow()->isVisible());
        QCOMPARE(w.loadingGauge()->maximum(), qMax(1, count - 1));
        QTRY_VERIFY(!w.loadingWindow()->isVisible());
        QCOMPARE(shown, values);
    }

    void missingPictureRepairedThroughTheMainWindow()
    {
        ScopedScriptedDialogs dialogs;
        const QString a = TestPictures::writePicture(m_dir.filePath(QStringLiteral("a.bmp")));
        const QString b = TestPictures::writePicture(m_dir.filePath(QStringLiteral("b.bmp")));
        const QString gone = m_dir.filePath(QStringLiteral("borta/B.bmp"));
        writeBytes(m_listFile, QFile::encodeName(a + QStringLiteral("\r\n") + gone + QStringLiteral("\r\n")));

        SettingsStore().writeString(Setting::Senaste, QString()); // no list of an earlier run
        MainWindow main(nullptr);
        PictureList& list = main.pictureList();
        list.setListFileName(m_listFile);
        list.readFile(m_listFile);
        SettingsStore().writeString(Setting::Senaste, m_listFile); // what the editor's save reloads

        dialogs->setNextAnswer(Dialogs::Yes);
        main.listOperations().LoadPictureList();
        QTRY_VERIFY(main.findChild<ListEditorWindow*>());
        auto* editor = main.findChild<ListEditorWindow*>();
        QVERIFY(editor->isVisible());
        QVERIFY(main.isVisible());
        QCOMPARE(editor->palette().color(QPalette::Window), main.palette().color(QPalette::Window));
        auto* edt1 = editor->findChild<QLineEdit*>(QStringLiteral("Edt1"));
        QCOMPARE(edt1->text(), gone);

        edt1->setText(b);
        editor->BtChangeClick();
        // Saved while the rotation runs, mid-countdown: the reload leaves the rotation as it was.
        MainWindowWidgets& c = main.controls();
        main.scheduler().BtStartStopClick();
        QVERIFY(main.scheduler().isRunning());
        c.lbTimeLeft->setText(QStringLiteral("12"));
        bool previewEmptied = false;
        connect(&main.listOperations(), &ListOperations::loadProgressed,
                [&] { previewEmptied |= c.img->image().isNull(); });
        editor->BtSaveClick();
        QTRY_VERIFY(editor->loadingWindow() && !editor->loadingWindow()->isVisible());
        QVERIFY(main.scheduler().isRunning());
        QVERIFY(!c.btAdd->isEnabled());
        QVERIFY(!c.btSpara->isEnabled());
        QCOMPARE(c.lbTimeLeft->text(), QStringLiteral("12"));
        QVERIFY(!previewEmptied);
        QVERIFY(!c.img->image().isNull());
        QCOMPARE(fileBytes(m_listFile), QFile::encodeName(a + QStringLiteral("\r\n") + b + QStringLiteral("\r\n")));
        QCOMPARE(main.strip().cardCount(), 2);
        QCOMPARE(editor->loadingGauge()->value(), 1);

        // Closing only hides; another missing picture opens the same editor again, on top until
        // its next save.
        QTest::mouseClick(editor->findChild<QLabel*>(QStringLiteral("LbClose")), Qt::LeftButton);
        QVERIFY(!editor->isVisible());
        writeBytes(m_listFile, QFile::encodeName(gone));
        list.readFile(m_listFile);
        dialogs->setNextAnswer(Dialogs::Yes);
        main.listOperations().LoadPictureList();
        QTRY_VERIFY(editor->isVisible());
        QCOMPARE(main.findChildren<ListEditorWindow*>().size(), 1);
        QVERIFY(editor->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(edt1->text(), gone);
        QVERIFY2(dialogs->errors().isEmpty(), qPrintable(dialogs->errors().join(QLatin1Char('\n'))));
    }

    void linesAreRuledInGrey()
    {
        writeBytes(m_listFile, "/a.jpg\r\n/b.jpg\r\n");
        Editor e(m_listFile);
        ListEditorWindow& w = e.w;
        w.openList(m_listFile, QString());
        auto* memo = child<QPlainTextEdit>(w, "FilEdt");
        const QImage shot = memo->viewport()->grab().toImage();
        const int x = shot.width() - 5; // right of the text
        int rules = 0;
        for (int y = 0; y < shot.height(); ++y)
            rules += shot.pixelColor(x, y) == QColor(0xC0, 0xC0, 0xC0);
        QCOMPARE(rules, 3); // two lines and the empty one after the last break
    }

    void textCodecRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("every single byte") << [] {
            QByteArray all;
            for (int b = 1; b < 256; ++b)
                all.append(char(b));
            return all;
        }();
        QTest::newRow("four-byte letter") << QByteArray("\xF0\x9F\x98\x80");
        QTest::newRow("truncated at the end") << QByteArray("ab\xF0\x9F");
        QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80");
    }

    void textCodecRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QCOMPARE(ListEditorText::encode(ListEditorText::decode(bytes)), bytes);
    }
};

QTEST_MAIN(TestListEditorWindow)
#include "tst_ListEditorWindow.moc"
