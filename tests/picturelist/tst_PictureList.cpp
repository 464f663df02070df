#include "picturelist/PictureList.h"
#include "platform/AppError.h"

#include <QFile>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using Entries = QList<QByteArray>;

namespace {

Entries entriesOf(const PictureList& list)
{
    Entries entries;
    for (int k = 0; k < list.count(); ++k)
        entries.append(list.entry(k));
    return entries;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Every signal by which LB1 could announce a click or a new selection.
struct ListSignals
{
    explicit ListSignals(QListWidget* lb1)
        : row(lb1, &QListWidget::currentRowChanged), item(lb1, &QListWidget::currentItemChanged),
          selection(lb1, &QListWidget::itemSelectionChanged), clicked(lb1, &QListWidget::itemClicked),
          model(lb1->selectionModel(), &QItemSelectionModel::currentChanged)
    {
    }
    int total() const { return row.count() + item.count() + selection.count() + clicked.count() + model.count(); }
    QSignalSpy row, item, selection, clicked, model;
};

} // namespace

class TestPictureList : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void editing_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<int>("marked");
        // Steps: "a<x>" appends x, "i<k><x>" inserts x at k, "m<k>" marks k, "d" deletes the marked, "c" clears.
        QTest::newRow("appending marks nothing") << "aA aB" << QByteArray("A,B") << -1;
        QTest::newRow("insert at the front") << "aA aB i0C" << QByteArray("C,A,B") << -1;
        QTest::newRow("insert in the middle") << "aA aB i1C" << QByteArray("A,C,B") << -1;
        QTest::newRow("insert at the end") << "aA aB i2C" << QByteArray("A,B,C") << -1;
        QTest::newRow("same path twice") << "aA aA" << QByteArray("A,A") << -1;
        QTest::newRow("mark") << "aA aB m1" << QByteArray("A,B") << 1;
        QTest::newRow("mark past the end marks none") << "aA aB m1 m2" << QByteArray("A,B") << -1;
        QTest::newRow("mark below 0 marks none") << "aA aB m0 m-5" << QByteArray("A,B") << -1;
        QTest::newRow("mark in an empty list") << "m0" << QByteArray() << -1;
        QTest::newRow("delete the marked") << "aA aB aC m1 d" << QByteArray("A,C") << -1;
        QTest::newRow("delete the last one marked") << "aA aB aC m2 d" << QByteArray("A,B") << -1;
        QTest::newRow("delete with none marked") << "aA aB d" << QByteArray("A,B") << -1;
        QTest::newRow("delete twice") << "aA aB aC m0 d d" << QByteArray("B,C") << -1;
        QTest::newRow("clear") << "aA aB m1 c" << QByteArray() << -1;
    }

    void editing()
    {
        QFETCH(QString, steps);
        QFETCH(QByteArray, expected);
        QFETCH(int, marked);
        QListWidget lb1;
        PictureList list(&lb1);
        ListSignals spies(&lb1);
        for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
            const QByteArray arg = step.mid(1).toLatin1();
            switch (step.at(0).toLatin1()) {
            case 'a':
                list.append(arg);
                break;
            case 'i':
                list.insert(arg.left(1).toInt(), arg.mid(1));
                break;
            case 'm':
                list.setMarkedIndex(arg.toInt());
                break;
            case 'd':
                list.deleteMarked();
                break;
            case 'c':
                list.clear();
                break;
            }
        }
        QCOMPARE(entriesOf(list), expected.isEmpty() ? Entries() : expected.split(','));
        QCOMPARE(list.count(), lb1.count());
        QCOMPARE(list.markedIndex(), marked);
        QCOMPARE(spies.total(), 0);
    }

    void entriesKeepTheirBytes()
    {
        QListWidget lb1;
        PictureList list(&lb1);
        const QByteArray latin1("/bilder/sj\xf6 och \"hav\".jpg");
        const QByteArray utf8("/bilder/sj\xc3\xb6.jpg");
        list.append(latin1);
        list.insert(0, utf8);
        QCOMPARE(list.entry(1), latin1);
        QCOMPARE(list.entry(0), utf8);
        QCOMPARE(list.path(0), QString("/bilder/sjö.jpg"));
        // Bytes that are not text in the local encoding can only be shown replaced; the entry keeps them.
        QCOMPARE(list.path(1), QString("/bilder/sj\uFFFD och \"hav\".jpg"));
        QCOMPARE(lb1.item(1)->text(), list.path(1));
    }

    void readingReplacesTheList()
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
        ListSignals spies(&lb1);
        list.readFile(path);
        QCOMPARE(entriesOf(list), Entries({"/a/sj\xf6.jpg", "", "/b.bmp"}));
        QCOMPARE(list.markedIndex(), -1);
        QCOMPARE(spies.total(), 0);
        list.writeFile(path);
        QCOMPARE(fileBytes(path), QByteArray("/a/sj\xf6.jpg\r\n\r\n/b.bmp\r\n"));
    }

    void unreadableFileLeavesTheList()
    {
        QListWidget lb1;
        PictureList list(&lb1);
        list.append("kept");
        list.setMarkedIndex(0);
        const QString path = m_dir.filePath("missing.lst");
        QString message;
        try {
            list.readFile(path);
        } catch (const AppError& e) {
            message = e.message();
        }
        QVERIFY2(message.startsWith(QString("Cannot open file \"%1\". ").arg(path)), qPrintable(message));
        QCOMPARE(entriesOf(list), Entries({"kept"}));
        QCOMPARE(list.markedIndex(), 0);
    }
};

QTEST_MAIN(TestPictureList)
#include "tst_PictureList.moc"
