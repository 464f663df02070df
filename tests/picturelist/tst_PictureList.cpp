#include "picturelist/PictureList.h"
#include "platform/AppError.h"

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

class TestPictureList : public QObject
{
    Q_OBJECT

private slots:
    // A list file read replaces the list; one that cannot be read keeps it; the entries keep their
    // bytes through a write; LB1 shows every change.
    void fileAndView()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("list.lst");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("/a/sj\xf6.jpg\n\n/b.bmp") > 0);
        file.close();
        QListWidget lb1;
        PictureList list(&lb1);
        list.append("old");
        list.setMarkedIndex(0);
        list.readFile(path);
        QCOMPARE(list.model().entries(), QList<QByteArray>({"/a/sj\xf6.jpg", "", "/b.bmp"}));
        QCOMPARE(list.markedIndex(), -1);
        list.setMarkedIndex(2);
        QVERIFY_THROWS_EXCEPTION(AppError, list.readFile(dir.filePath("missing.lst")));
        QCOMPARE(list.count(), 3);
        QCOMPARE(list.markedIndex(), 2);
        list.writeFile(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("/a/sj\xf6.jpg\r\n\r\n/b.bmp\r\n"));

        list.insert(0, "/c.jpg");
        list.replace(2, "/d.jpg");
        list.setMarkedIndex(3);
        list.deleteMarked();
        QStringList shown;
        for (int k = 0; k < lb1.count(); ++k)
            shown << lb1.item(k)->text();
        // Bytes that are not text in the local encoding can only be shown replaced; the entry keeps them.
        QCOMPARE(shown, QStringList({"/c.jpg", "/a/sj\uFFFD.jpg", "/d.jpg"}));
        QCOMPARE(lb1.currentRow(), -1);
    }
};

QTEST_MAIN(TestPictureList)
#include "tst_PictureList.moc"
