#include "picturelist/PictureList.h"
#include "platform/AppError.h"

#include <QFile>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestPictureList : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // LB1 only shows the list: its items follow every change, and showing raises no click.
    void lb1ShowsTheListSilently()
    {
        QListWidget lb1;
        PictureList list(&lb1);
        QSignalSpy row(&lb1, &QListWidget::currentRowChanged);
        QSignalSpy selection(&lb1, &QListWidget::itemSelectionChanged);
        list.append("/a.jpg");
        list.append("/bilder/sj\xc3\xb6.jpg");
        list.insert(0, "/c.jpg");
        list.setMarkedIndex(1);
        list.replace(2, "/d.jpg");
        list.setMarkedIndex(0);
        list.deleteMarked();
        QStringList shown;
        for (int k = 0; k < lb1.count(); ++k)
            shown << lb1.item(k)->text();
        QCOMPARE(shown, QStringList({"/a.jpg", "/d.jpg"}));
        QCOMPARE(lb1.currentRow(), -1);
        QCOMPARE(row.count() + selection.count(), 0);
        // Bytes that are not text in the local encoding can only be shown replaced; the entry keeps them.
        list.append("/sj\xf6.jpg");
        QCOMPARE(list.path(2), QString("/sj\uFFFD.jpg"));
        QCOMPARE(list.entry(2), QByteArray("/sj\xf6.jpg"));
    }

    void readingReplacesTheListAndAFailureKeepsIt()
    {
        const QString path = m_dir.filePath("list.lst");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("/a/sj\xf6.jpg\n\n/b.bmp");
        file.close();
        QListWidget lb1;
        PictureList list(&lb1);
        list.append("old");
        list.setMarkedIndex(0);
        list.readFile(path);
        QCOMPARE(list.model().entries(), QList<QByteArray>({"/a/sj\xf6.jpg", "", "/b.bmp"}));
        QCOMPARE(list.markedIndex(), -1);
        QCOMPARE(lb1.count(), 3);
        list.setMarkedIndex(2);
        QVERIFY_THROWS_EXCEPTION(AppError, list.readFile(m_dir.filePath("missing.lst")));
        QCOMPARE(list.count(), 3);
        QCOMPARE(list.markedIndex(), 2);
        list.writeFile(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("/a/sj\xf6.jpg\r\n\r\n/b.bmp\r\n"));
    }
};

QTEST_MAIN(TestPictureList)
#include "tst_PictureList.moc"
