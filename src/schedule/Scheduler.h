#pragma once

#include "RotationState.h"

#include <QIcon>
#include <QObject>
#include <QString>

class PictureList;
class PictureView;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QTimer;
class SpeedButton;
class SpinEdit;

// The rotation: the start/stop toggle, the change tick that applies the next picture (in list
// order or drawn at random), the interval value and unit with the arrows' roll-over, and the
// thumbnail icon of every automatic change.
class Scheduler : public QObject
{
    Q_OBJECT

public:
    // The controls the rotation works on. The menu actions may be null.
    struct Controls
    {
        SpeedButton* btStartStop;
        SpinEdit* spinEditTimeInterval;
        QComboBox* cmbTidTyp;
        QComboBox* cmbTyp;
        QCheckBox* chkBlanda;
        PictureView* img;
        QLabel* lbTimeLeft;
        QLabel* lbMinut;
        QLabel* lbSek;
        QTimer* timerStart;
        QTimer* timeLeft;
        QTimer* timerMinSek;
        // Locked while the rotation runs.
        SpeedButton* btVerkstall;
        SpeedButton* btNy;
        SpeedButton* btAdd;
        SpeedButton* btSpara;
        SpeedButton* btOpen;
        QAction* starta1 = nullptr;
        QAction* abortBild1 = nullptr;
        QAction* redigeravaldbild1 = nullptr;
    };
    // The controls taken by name from a set of widgets that holds them all: the window's, or a test's.
    template <typename Widgets> static Controls controlsFrom(const Widgets& w)
    {
        return {w.btStartStop, w.spinEditTimeInterval,
                w.cmbTidTyp,   w.cmbTyp,
                w.chkBlanda,   w.img,
                w.lbTimeLeft,  w.lbMinut,
                w.lbSek,       w.timerStart,
                w.timeLeft,    w.timerMinSek,
                w.btVerkstall, w.btNy,
                w.btAdd,       w.btSpara,
                w.btOpen,      w.starta1,
                w.abortBild1,  w.redigeravaldbild1};
    }

    // programFolder ends in a separator; "MinIkon.ico" is written there.
    Scheduler(Controls controls, PictureList& list, QString programFolder, QObject* parent = nullptr);

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

    // Shows the start/stop caption as stored. The stored stop caption means the rotation ran
    // when the program closed: it resumes with the next list load, unless toggled before.
    void restoreCaption(const QString& stored);
    bool resumePending() const { return m_resumePending; }

signals:
    // Requests (connectRequest): their receivers' failures end the step that asked.
    // Starting: apply the marked picture (or the first) at once.
    void applyMarkedRequested();
    // A change tick marked a new picture: confirm it (preview, labels, the stored choice).
    void confirmMarkedRequested();
    // Apply a picture with the placement chosen in CmbTyp (its index, unchecked).
    void applyRequested(const QString& path, int placementIndex);
    // The rotation is about to start or stop: the countdown's hint is due.
    void hintDue();
    // A change tick failed; note is the line for the tip line and the tray hint.
    void tickFailed(const QString& note);
    // A change made a new thumbnail icon.
    void iconChanged(const QIcon& icon);
    // The rotation started or stopped.
    void runningChanged(bool running);

private:
    void startChangeTimer();
    void setChangeInterval(qint64 ms);
    void setRunningLook(bool running);
    void makeThumbnailIcon();
    int drawShuffled(int count) const;
    void syncTypedUnit();

    Controls m_controls;
    PictureList& m_list;
    QString m_programFolder;
    bool m_resumePending = false;
    RotationState m_state;
    qint64 m_changeInterval = 1000; // TimerStart's designed interval
    qint64 m_changeRemaining = 0;
    bool m_toggling = false;
    bool m_ticking = false;
    bool m_errorShowing = false;
};
