#include "toolkit/SpinEdit.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

class TestSpinEdit : public QObject
{
    Q_OBJECT

private slots:
    void textReadsAsAWholeNumberOrZero_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("number") << "30" << 30;
        QTest::newRow("negative, no lower bound") << "-17" << -17;
        QTest::newRow("large, no upper bound") << "2000000000" << 2000000000;
        QTest::newRow("plus sign") << "+5" << 5;
        QTest::newRow("surrounding blanks") << " 12 " << 12;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("word") << "abc" << 0;
        QTest::newRow("trailing letters") << "12a" << 0;
        QTest::newRow("fraction") << "1.5" << 0;
        QTest::newRow("beyond 32 bits") << "2147483648" << 0;
        QTest::newRow("lone minus") << "-" << 0;
    }

    void textReadsAsAWholeNumberOrZero()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        SpinEdit spin;
        spin.setText(text);
        QCOMPARE(spin.value(), value);
        QCOMPARE(spin.text(), text);
    }

    void arrowsStepOrEmitWhenRebound_data()
    {
        QTest::addColumn<bool>("rebound");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("press"); // "up", "down", "key up", "key down"
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("ups");
        QTest::addColumn<int>("downs");

        QTest::newRow("up steps") << false << "30"
                                  << "up"
                                  << "31" << 0 << 0;
        QTest::newRow("down steps below zero") << false << "0"
                                               << "down"
                                               << "-1" << 0 << 0;
        QTest::newRow("up from text that is no number") << false << "x"
                                                        << "up"
                                                        << "1" << 0 << 0;
        QTest::newRow("arrow key steps") << false << "7"
                                         << "key down"
                                         << "6" << 0 << 0;
        QTest::newRow("rebound up only signals") << true << "30"
                                                 << "up"
                                                 << "30" << 1 << 0;
        QTest::newRow("rebound down only signals") << true << "30"
                                                   << "down"
                                                   << "30" << 0 << 1;
        QTest::newRow("rebound: the key still steps by one") << true << "59"
                                                             << "key up"
                                                             << "60" << 0 << 0;
    }

    void arrowsStepOrEmitWhenRebound()
    {
        QFETCH(bool, rebound);
        QFETCH(QString, start);
        QFETCH(QString, press);
        QFETCH(QString, after);
        QFETCH(int, ups);
        QFETCH(int, downs);

        SpinEdit spin;
        spin.setText(start);
        spin.setArrowsRebound(rebound);
        QSignalSpy up(&spin, &SpinEdit::upClicked);
        QSignalSpy down(&spin, &SpinEdit::downClicked);
        if (press == "up")
            spin.upButton()->click();
        else if (press == "down")
            spin.downButton()->click();
        else
            QTest::keyClick(spin.lineEdit(), press == "key up" ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(spin.text(), after);
        QCOMPARE(up.count(), ups);
        QCOMPARE(down.count(), downs);
    }

    void changedOnEveryTextChange()
    {
        SpinEdit spin;
        spin.setValue(8);
        QSignalSpy changed(&spin, &SpinEdit::changed);
        spin.setValue(9);
        spin.upButton()->click();
        QTest::keyClicks(spin.lineEdit(), "5");
        spin.setValue(spin.value()); // same text: no change
        QCOMPARE(changed.count(), 3);
        QCOMPARE(spin.value(), 105);
    }

    void typingAdmitsDigitsAndSignsOnly()
    {
        SpinEdit spin;
        spin.setText(QString());
        QTest::keyClicks(spin.lineEdit(), "-1a2 b3");
        QCOMPARE(spin.text(), QStringLiteral("-123"));
    }
};

QTEST_MAIN(TestSpinEdit)
#include "tst_SpinEdit.moc"
