#pragma once

#include "platform/AppError.h"

#include <QIcon>
#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class PictureList;
class PictureView;
class QAction;
class QCheckBox;
class QComboBox;
class QTimer;
class Rotation;
class SpeedButton;
class SpinEdit;

// Between the rotation and its controls: the start/stop toggle, the change tick that applies the
// next picture, the interval value and unit with the arrows, and the thumbnail icon of each change.
class Scheduler : public QObject
{
    Q_OBJECT

public:
    // The menu action may be null.
    struct Controls
    {
        SpeedButton* btStartStop;
        SpinEdit* spinEditTimeInterval;
        QComboBox* cmbTidTyp;
        QCheckBox* chkBlanda;
        PictureView* img;
        QTimer* timerStart;
        QTimer* timeLeft;
        QTimer* timerMinSek;
        QAction* starta1 = nullptr;
    };

    // An application's end: its failure, or nothing once its popup showed.
    using Done = std::function<void(const std::optional<AppError>& failure)>;
    // The work the rotation needs from the others.
    struct Work
    {
        // Confirms the marked picture: preview, labels, the stored choice (LB1Click).
        std::function<void()> confirmMarked;
        // Applies the marked picture, or the first, at once (Verkställ).
        std::function<void()> applyMarked;
        // Applies a picture with the chosen placement. done is left out when a newer application
        // replaced this one.
        std::function<void(const QString& path, Done done)> apply;
    };

    // programFolder ends in a separator; "MinIkon.ico" is written there.
    Scheduler(Controls controls, Work work, Rotation& rotation, PictureList& list, QString programFolder,
              QObject* parent = nullptr);

    // Connects the handlers to their controls and timers, rebinds the spin edit's arrows and
    // takes the interval, unit and shuffle the controls show.
    void bind();

    void BtStartStopClick();
    void TimerStartTimer();
    void SpinEditTimeIntervalChange();
    // The unit rule, run by typing into the unit box and by choosing from its list.
    void CmbTidTypChange();
    void CmbTidTypSelect() { CmbTidTypChange(); }
    void IntervalUpClick();
    void IntervalDownClick();

    // Run by every timeout of TimerStart: runs the change tick once the whole interval has passed.
    void changeTimerElapsed();
    // The change tick as the timer runs it: never inside another tick, and a failure is shown in a
    // box only when no box of an earlier failure is still open (else only in the tip line and tray hint).
    void runTick();

    bool isRunning() const;
    bool resumePending() const;
    // The change interval in milliseconds; it may exceed what one QTimer holds.
    qint64 changeInterval() const;
    // Shows the start/stop state after the stored caption has been taken in.
    void restoreCaption(const QString& stored);
    // What "Startknapp" keeps.
    QString storedCaption() const;

signals:
    // The rotation is about to start or stop: the countdown's hint is due.
    void hintDue();
    // A change failed; note is the line for the tip line and the tray hint.
    void tickFailed(const QString& note);
    // A change made a new thumbnail icon.
    void iconChanged(const QIcon& icon);

private:
    void showRunning(bool running);
    void showInterval();
    void armChangeTimer();
    void changeApplied(const QImage& preview);
    void failed(const QString& message);
    void syncTypedUnit();

    Controls m_controls;
    Work m_work;
    Rotation& m_rotation;
    PictureList& m_list;
    QString m_programFolder;
    bool m_ticking = false;
    bool m_errorShowing = false;
};
