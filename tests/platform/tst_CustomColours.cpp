#include "TestFiles.h"
#include "platform/CustomColours.h"

#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

// "Clr.frg": a bad line or an unusable file never blocks the colour dialog, and every message
// names the file.
class TestCustomColours : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString file() const { return m_dir.filePath("Clr.frg"); }

private slots:
    void badContentLeavesSlotsEmptyAndNamesTheFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("problem");     // a part of the message, empty for none
        QTest::addColumn<QList<QColor>>("first"); // the first three slots
        QTest::newRow("good") << QByteArray("ColorA=0000FF\r\nColorB=FF0000\r\nColorC=FFFFFFFF\r\n") << QString()
                              << QList<QColor>{QColor(255, 0, 0), QColor(0, 0, 255), QColor()};
        QTest::newRow("one bad line") << QByteArray("ColorA=0000FF\r\nColorB=blå\r\nColorC=00FF00\r\n") << "ColorB=blå"
                                      << QList<QColor>{QColor(255, 0, 0), QColor(), QColor(0, 255, 0)};
        QTest::newRow("beyond 32 bits") << QByteArray("ColorA=1FFFFFFFF\nColorC=00FF00") << "ColorA=1FFFFFFFF"
                                        << QList<QColor>{QColor(), QColor(), QColor(0, 255, 0)};
        QTest::newRow("too large to be one")
            << QByteArray(CustomColours::MaxFileBytes + 1, 'x') << "ingen vanlig liten textfil"
            << QList<QColor>{QColor(), QColor(), QColor()};
    }

    void badContentLeavesSlotsEmptyAndNamesTheFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, problem);
        QFETCH(QList<QColor>, first);
        QFile out(file());
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(content);
        out.close();

        CustomColours colours;
        const QString message = colours.load(file());
        if (problem.isEmpty()) {
            QCOMPARE(message, QString());
        } else {
            QVERIFY2(message.contains('"' + file() + '"') && message.contains(problem), qPrintable(message));
        }
        QCOMPARE(colours.colourSlots().mid(0, 3), first);

        // Saving replaces the bad lines, so the next load is clean; a file that could not be read stays as it was.
        colours.setColourSlots(colours.colourSlots());
        if (!colours.save(file())) {
            QFile in(file());
            QVERIFY(in.open(QIODevice::ReadOnly));
            QCOMPARE(in.readAll(), content);
            return;
        }
        CustomColours again;
        QCOMPARE(again.load(file()), QString());
        QCOMPARE(again.colourSlots(), colours.colourSlots());
    }

    void pipeIsNotRead()
    {
        const QString pipe = m_dir.filePath("pipe.frg");
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        CustomColours colours;
        QVERIFY(colours.load(pipe).contains('"' + pipe + '"'));
        QCOMPARE(colours.colourSlots(), QList<QColor>(CustomColours::Count));
    }
};

QTEST_APPLESS_MAIN(TestCustomColours)

#include "tst_CustomColours.moc"
