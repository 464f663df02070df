#include "core/PictureListModel.h"

#include <QTest>

using Entries = QList<QByteArray>;

class TestPictureListModel : public QObject
{
    Q_OBJECT

private slots:
    void editing_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<int>("marked");
        // Steps: "a<x>" appends x, "i<k><x>" inserts x at k, "r<k><x>" replaces k by x, "m<k>" marks k,
        // "d" deletes the marked, "c" clears, "s" assigns the entries S and T.
        QTest::newRow("insert at the front") << "aA aB i0C" << QByteArray("C,A,B") << -1;
        QTest::newRow("insert in the middle") << "aA aB i1C" << QByteArray("A,C,B") << -1;
        QTest::newRow("insert past the end appends") << "aA aB i9C" << QByteArray("A,B,C") << -1;
        QTest::newRow("same path twice") << "aA aA" << QByteArray("A,A") << -1;
        // The mark stays on its picture when one is inserted before it.
        QTest::newRow("insert before the mark") << "aA aB m1 i0C" << QByteArray("C,A,B") << 2;
        QTest::newRow("mark past the end marks none") << "aA aB m1 m2" << QByteArray("A,B") << -1;
        QTest::newRow("mark below 0 marks none") << "aA aB m0 m-5" << QByteArray("A,B") << -1;
        QTest::newRow("delete the marked") << "aA aB aC m1 d" << QByteArray("A,C") << -1;
        QTest::newRow("delete with none marked") << "aA aB d" << QByteArray("A,B") << -1;
        QTest::newRow("delete twice deletes one") << "aA aB aC m0 d d" << QByteArray("B,C") << -1;
        QTest::newRow("replace leaves none marked") << "aA aB m1 r1X" << QByteArray("A,X") << -1;
        QTest::newRow("replace outside changes nothing") << "aA m0 r5X" << QByteArray("A") << 0;
        QTest::newRow("clear") << "aA aB m1 c" << QByteArray() << -1;
        QTest::newRow("assign replaces all") << "aA m0 s" << QByteArray("S,T") << -1;
    }
    void editing()
    {
        QFETCH(QString, steps);
        QFETCH(QByteArray, expected);
        QFETCH(int, marked);
        PictureListModel list;
        for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
            const QByteArray arg = step.mid(1).toLatin1();
            switch (step.at(0).toLatin1()) {
            case 'a':
                list.append(arg);
                break;
            case 'i':
                list.insert(arg.left(1).toInt(), arg.mid(1));
                break;
            case 'r':
                list.replace(arg.left(1).toInt(), arg.mid(1));
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
            case 's':
                list.assign({"S", "T"});
                break;
            }
        }
        QCOMPARE(list.entries(), expected.isEmpty() ? Entries() : expected.split(','));
        QCOMPARE(list.markedIndex(), marked);
    }

    // A window opened for one entry finds it again after the list changed around it.
    void idsFollowTheirEntries()
    {
        PictureListModel list;
        list.assign({"A", "B", "C"});
        const PictureListModel::Id b = list.id(1);
        list.insert(0, "Z");
        QCOMPARE(list.indexOf(b), 2);
        list.replace(2, "B2");
        QCOMPARE(list.indexOf(b), 2);
        list.setMarkedIndex(0);
        list.deleteMarked();
        QCOMPARE(list.indexOf(b), 1);
        list.setMarkedIndex(1);
        list.deleteMarked();
        QCOMPARE(list.indexOf(b), -1);
        // Another list read in has none of the old entries, even where the bytes are the same.
        const PictureListModel::Id a = list.id(0);
        list.assign({"A", "B2"});
        QCOMPARE(list.indexOf(a), -1);
        QCOMPARE(list.indexOf(list.id(7)), -1);
    }

    void entriesKeepTheirBytes()
    {
        PictureListModel list;
        const QByteArray latin1("/bilder/sj\xf6 och \"hav\".jpg");
        list.append(latin1);
        list.insert(0, " ");
        QCOMPARE(list.entry(1), latin1);
        QCOMPARE(list.entry(0), QByteArray(" "));
        QCOMPARE(list.entry(2), QByteArray());
    }
};

QTEST_APPLESS_MAIN(TestPictureListModel)
#include "tst_PictureListModel.moc"
