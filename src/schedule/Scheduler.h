#pragma once

#include "RotationState.h"

#include <QIcon>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

struct MainControls;

// The rotation: the start/stop toggle, the change tick that applies the next picture (in list
// order or drawn at random), the interval value and unit with the arrows' roll-over, and the
// thumbnail icon of every automatic change.
class Scheduler : public QObject
{
    Q_OBJECT

public:
    // What other parts of the program do for the rotation. The list hooks default to the list
    // box LB1 (its current row is the marked picture, its item texts the paths).
    struct Hooks
    {
        std::function<void()> lb1Click;         // confirm the marked picture
        std::function<void()> btVerkstallClick; // apply the marked picture (or the first) at once
        // Apply a picture with the placement chosen in CmbTyp (its index, unchecked).
        std::function<void(const QString& path, int placementIndex)> applyWallpaper;
        std::function<void(const QIcon&)> setTrayIcon;
        std::function<void(const QString&)> setTrayHint;
        std::function<int()> listCount;
        std::function<int()> markedIndex;
        std::function<void(int)> setMarkedIndex; // raises no click
        std::function<QString(int)> path;
    };

    // programFolder ends in a separator; "MinIkon.ico" is written there.
    Scheduler(MainControls& controls, Hooks hooks, QString programFolder, QObject* parent = nullptr);

    // Connects the handlers to their controls and timers and rebinds the spin edit's arrows.
    void bind();

    RotationState& state() { return m_state; }
    const RotationState& state() const { return m_state; }
    bool isRunning() const { return m_state.running; }
    // The change interval in milliseconds, as last set; it may exceed what one QTimer holds.
    qint64 changeInterval() const { return m_changeInterval; }

    void BtStartStopClick();
    void TimerStartTimer();
    void UpdateChangeInterval();
    void SpinEditTimeIntervalChange();
    // The unit rule, run by typing into the unit box and by choosing from its list.
    void CmbTidTypChange();
    void CmbTidTypSelect() { CmbTidTypChange(); }
    void IntervalUpClick();
    void IntervalDownClick();

    // Run by every timeout of TimerStart: counts down an interval longer than one QTimer period
    // and runs the change tick when the whole interval has passed.
    void changeTimerElapsed();
    // The change tick as the timer runs it: never inside another tick, and its failure is shown
    // in a box only when no box of an earlier tick is still open (else only in the tip line and
    // the tray hint).
    void runTick();

private:
    void startChangeTimer();
    void setChangeInterval(qint64 ms);
    void setRunningLook(bool running);
    void makeThumbnailIcon();
    int drawShuffled(int count) const;
    void syncTypedUnit();

    MainControls& m_controls;
    Hooks m_hooks;
    QString m_programFolder;
    RotationState m_state;
    qint64 m_changeInterval = 1000; // TimerStart's designed interval
    qint64 m_changeRemaining = 0;
    bool m_toggling = false;
    bool m_ticking = false;
    bool m_errorShowing = false;
};
