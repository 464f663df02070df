#include "core/CommandStates.h"

#include <QSignalSpy>
#include <QTest>

using Inputs = CommandStates::Inputs;
Q_DECLARE_METATYPE(CommandStates::Inputs)

namespace {

// The enabled commands as letters: V Verkställ, A add, S save, O open, N new list, R remove
// marked, E edit marked, T start/stop, I the interval and placement settings.
QString letters(const CommandStates::States& s)
{
    QString out;
    const std::pair<bool, char> flags[] = {{s.verkstall, 'V'},  {s.add, 'A'},       {s.save, 'S'},
                                           {s.open, 'O'},       {s.newList, 'N'},   {s.removeMarked, 'R'},
                                           {s.editMarked, 'E'}, {s.startStop, 'T'}, {s.intervalAndPlacement, 'I'}};
    for (const auto& [on, letter] : flags)
        if (on)
            out += QLatin1Char(letter);
    return out;
}

} // namespace

class TestCommandStates : public QObject
{
    Q_OBJECT

private slots:
    void states_data()
    {
        QTest::addColumn<Inputs>("in");
        QTest::addColumn<QString>("enabled");
        // running, count, marked, confirmed, applyAgain
        QTest::newRow("confirmed picture marked") << Inputs{false, 3, 1, 1, false} << "ASONRETI";
        QTest::newRow("another picture marked") << Inputs{false, 3, 2, 1, false} << "VASONRETI";
        QTest::newRow("none marked: Verkställ takes the first") << Inputs{false, 3, -1, 1, false} << "VASONRETI";
        QTest::newRow("placement edited or stopped") << Inputs{false, 3, 1, 1, true} << "VASONRETI";
        QTest::newRow("running: only Verkställ and the toggle") << Inputs{true, 3, 2, 1, false} << "VT";
        QTest::newRow("empty list") << Inputs{false, 0, -1, 0, true} << "SONTI";
        QTest::newRow("empty list while running") << Inputs{true, 0, -1, 0, false} << "T";
    }
    void states()
    {
        QFETCH(Inputs, in);
        QFETCH(QString, enabled);
        QCOMPARE(letters(CommandStates::compute(in)), enabled);
    }

    // Each setter counts, and a change that leaves every state as it was announces nothing.
    void announcesChangesOnly()
    {
        CommandStates states;
        QSignalSpy spy(&states, &CommandStates::changed);
        states.setList(3, 1, 1);
        QCOMPARE(spy.size(), 1);
        states.setList(3, 2, 2);
        QCOMPARE(spy.size(), 1);
        states.setApplyAgain(true);
        states.setRunning(true);
        states.setRunning(true);
        QCOMPARE(spy.size(), 3);
        QCOMPARE(letters(spy.last().first().value<CommandStates::States>()), QStringLiteral("VT"));
        QCOMPARE(states.inputs(), (Inputs{true, 3, 2, 2, true}));
    }
};

QTEST_APPLESS_MAIN(TestCommandStates)
#include "tst_CommandStates.moc"
