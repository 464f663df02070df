#pragma once

#include <QObject>

// Which of the shared commands can be used, worked out in one place from the state they depend
// on. Nothing else decides whether such a command is enabled.
class CommandStates : public QObject
{
    Q_OBJECT

public:
    struct Inputs
    {
        bool running = false; // the rotation runs
        int count = 0;        // entries in the list
        int marked = -1;      // the marked entry, -1 for none
        int confirmed = 0;    // the entry last confirmed (CurrentIndex)
        // Applying the confirmed picture again would change something: the placement was edited or
        // the rotation stopped since the last application.
        bool applyAgain = false;
        friend bool operator==(const Inputs&, const Inputs&) = default;
    };

    struct States
    {
        bool verkstall = false;
        bool add = false;
        bool save = false;
        bool open = false;
        bool newList = false;
        bool removeMarked = false; // abortBild1
        bool editMarked = false;   // Redigeravaldbild1
        bool startStop = false;
        bool intervalAndPlacement = false; // ChkBlanda, CmbTyp, SpinEditTimeInterval, CmbTidTyp
        friend bool operator==(const States&, const States&) = default;
    };

    static States compute(const Inputs& in);

    explicit CommandStates(QObject* parent = nullptr) : QObject(parent) {}

    const Inputs& inputs() const { return m_in; }
    States states() const { return compute(m_in); }

    void setRunning(bool running);
    void setList(int count, int marked, int confirmed);
    void setApplyAgain(bool again);

signals:
    void changed(const CommandStates::States& states);

private:
    void update(const Inputs& in);

    Inputs m_in;
};
