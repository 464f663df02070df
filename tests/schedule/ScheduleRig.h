#pragma once

#include "MainLayout.h"
#include "TempHome.h"
#include "core/CommandStates.h"
#include "core/Rotation.h"
#include "picturelist/PictureList.h"
#include "schedule/CommandButtons.h"
#include "schedule/Countdown.h"
#include "schedule/Scheduler.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"

#include <QLabel>
#include <QListWidget>

// The rotation with its adapters on the real layout, wired as the main window wires them, with
// a clock the test moves and the others' work recorded: each application waits for `answer()`
// unless answerAtOnce.
struct ScheduleRig
{
    TempHome home;
    MainLayout layout;
    MainWindowWidgets& c = layout.controls;
    PictureList list{c.lb1};
    qint64 now = 1'000;
    Rotation rotation{[this] { return now; }};
    CommandStates commands;
    QList<int> confirmed;
    QStringList applied;
    QList<Scheduler::Done> waiting;
    bool answerAtOnce = true;
    std::function<void()> verkstall = [] {};
    int verkstallClicks = 0;
    QStringList hints, failures;
    int icons = 0;
    Scheduler scheduler;
    Countdown countdown{{.cmbTidTyp = c.cmbTidTyp,
                         .lbTimeLeft = c.lbTimeLeft,
                         .lbMinut = c.lbMinut,
                         .lbSek = c.lbSek,
                         .lbSek1 = c.lbSek1,
                         .lbTid = c.lbTid,
                         .lbDate = c.lbDate,
                         .timeLeft = c.timeLeft,
                         .timerMinSek = c.timerMinSek,
                         .timerTid = c.timerTid},
                        rotation};
    CommandButtons buttons{{.btVerkstall = c.btVerkstall,
                            .btAdd = c.btAdd,
                            .btSpara = c.btSpara,
                            .btOpen = c.btOpen,
                            .btNy = c.btNy,
                            .btStartStop = c.btStartStop,
                            .chkBlanda = c.chkBlanda,
                            .cmbTyp = c.cmbTyp,
                            .spinEditTimeInterval = c.spinEditTimeInterval,
                            .cmbTidTyp = c.cmbTidTyp,
                            .abortBild1 = c.abortBild1,
                            .redigeravaldbild1 = c.redigeravaldbild1},
                           commands};

    explicit ScheduleRig(const QString& programFolder = {})
        : scheduler({.btStartStop = c.btStartStop,
                     .spinEditTimeInterval = c.spinEditTimeInterval,
                     .cmbTidTyp = c.cmbTidTyp,
                     .chkBlanda = c.chkBlanda,
                     .img = c.img,
                     .timerStart = c.timerStart,
                     .timeLeft = c.timeLeft,
                     .timerMinSek = c.timerMinSek,
                     .starta1 = c.starta1},
                    {.confirmMarked = [this] { confirmed << list.markedIndex(); },
                     .applyMarked =
                         [this] {
                             ++verkstallClicks;
                             verkstall();
                         },
                     .apply =
                         [this](const QString& path, Scheduler::Done done) {
                             applied << path;
                             if (answerAtOnce)
                                 done(std::nullopt);
                             else
                                 waiting << done;
                         }},
                    rotation, list, programFolder.isEmpty() ? home.path() + QLatin1Char('/') : programFolder)
    {
        scheduler.bind();
        countdown.bind();
        QObject::connect(&rotation, &Rotation::runningChanged, &commands, &CommandStates::setRunning);
        QObject::connect(&scheduler, &Scheduler::hintDue, [this] { hints << countdown.hintText(); });
        QObject::connect(&scheduler, &Scheduler::tickFailed, [this](const QString& note) { failures << note; });
        QObject::connect(&scheduler, &Scheduler::iconChanged, [this] { ++icons; });
    }

    void setList(int count, int marked)
    {
        list.clear();
        for (int i = 0; i < count; ++i)
            list.append(QStringLiteral("/bilder/bild%1.jpg").arg(i).toUtf8());
        list.setMarkedIndex(marked);
        commands.setList(count, marked, marked);
    }

    // The next waiting application ends, with a failure or with its popup shown.
    void answer(const std::optional<AppError>& failure = std::nullopt) { waiting.takeFirst()(failure); }

    QString countdownLine() const
    {
        return QStringList{c.lbTimeLeft->text(), c.lbMinut->text(), c.lbSek->text(), c.lbSek1->text()}.join(' ');
    }
};
