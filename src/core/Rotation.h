#pragma once

#include "RotationInterval.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

// The rotation as a state machine: running or not, the interval value and unit, the units left
// until the next change, the list position the in-order change counts from, shuffle, and what the
// countdown shows. Its clock is injected, so every rule can be driven without waiting; the widgets
// only show this state and forward what the user does.
class Rotation : public QObject
{
    Q_OBJECT

public:
    // Milliseconds of a monotonic clock.
    using Clock = std::function<qint64()>;
    // A position drawn uniformly from 0 to count - 1.
    using Draw = std::function<int(int count)>;

    // What the countdown labels show: the units (LbTimeLeft), the seconds (LbSek) and which unit
    // item names them (LbMinut; none shows an empty word).
    struct Countdown
    {
        qint64 units = 30;
        qint64 seconds = 0;
        std::optional<UnitChoice> word = UnitChoice{TimeUnit::Minute, true};
        bool oneSecond() const { return seconds == 1; }
    };

    // By default the steady clock, and a draw reseeded from it each time.
    explicit Rotation(Clock clock = {}, Draw draw = {}, QObject* parent = nullptr);

    int value() const { return m_value; }
    void setValue(int value);
    std::optional<UnitChoice> unit() const { return m_unit; }
    void setUnit(std::optional<UnitChoice> unit);
    bool shuffle() const { return m_shuffle; }
    void setShuffle(bool on) { m_shuffle = on; }

    // The unit in force: the selected one, else the one selected last (at first the designed "Minuter").
    qint64 unitLength() const { return RotationInterval::unitLength(m_lastUnit); }
    qint64 changeInterval() const { return RotationInterval::changeInterval(m_value, m_lastUnit); }

    // The value was changed (typed, stepped, restored): the countdown shows it.
    void showInterval();
    // The unit was chosen: a singular unit sets the value 1, and the countdown names the unit.
    void applyUnitRule();
    // The arrow buttons, each followed by the unit rule.
    void stepUp();
    void stepDown();

    bool isRunning() const { return m_running; }
    // A rotation never starts below 1: the countdown would run below zero.
    void correctValueForStart();
    // Starts (the change falls due one interval from now) or stops.
    void toggle();

    // The start/stop caption for a running state, as the button shows it and "Startknapp" stores it.
    static QString caption(bool running);
    QString caption() const { return caption(m_running); }
    // A stored caption naming the running state means the rotation ran at the last close: it
    // resumes after the list is loaded, unless toggled before.
    void restoreCaption(const QString& stored);
    bool resumePending() const { return m_resumePending; }
    // What "Startknapp" keeps: a rotation waiting to resume is still one that runs.
    QString storedCaption() const { return caption(m_running || m_resumePending); }

    // The change tick: resets the counter and the countdown's word, takes the position from the
    // marked index (-1: none), and when running with pictures chooses the next position.
    std::optional<int> changeTick(int marked, int count);
    // The change timer's next period: the time left, or as much of it as one QTimer holds.
    int changePeriod() const { return RotationInterval::armInterval(m_remainingMs); }
    // The change timer ran out after changePeriod(): true when the whole interval has passed (the
    // next one starts now), false when a longer interval still has time left.
    bool changeTimerElapsed();
    // Time left until the change by the clock; 0 when the rotation is stopped.
    qint64 msUntilChange() const;

    // The countdown's unit tick (once per unit length) and seconds tick (once a second).
    void unitTick();
    void secondTick();

    const Countdown& countdown() const { return m_countdown; }
    qint32 unitsLeft() const { return m_unitsLeft; }
    qint32 rotationIndex() const { return m_rotationIndex; }

signals:
    // The value or the unit was changed by a rule of the rotation (not by setValue/setUnit).
    void intervalChanged();
    void countdownChanged();
    void runningChanged(bool running);

private:
    void setValueByRule(int value);
    void setUnitByRule(std::optional<UnitChoice> unit);

    Clock m_clock;
    Draw m_draw;
    int m_value = 30;
    std::optional<UnitChoice> m_unit = UnitChoice{TimeUnit::Minute, true};
    TimeUnit m_lastUnit = TimeUnit::Minute;
    bool m_shuffle = false;
    bool m_running = false;
    bool m_resumePending = false;
    qint32 m_unitsLeft = 0;
    qint32 m_rotationIndex = 0;
    qint64 m_intervalMs = 0;
    qint64 m_remainingMs = 0; // of the interval when the change timer was last armed
    qint64 m_armedAt = 0;
    Countdown m_countdown;
};
