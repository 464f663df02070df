#pragma once

#include "picturelist/PictureList.h"
#include "schedule/Countdown.h"
#include "schedule/Scheduler.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QWidget>
#include <memory>

// The controls the rotation and the countdown work on, built by hand as the layout would,
// with their designed texts and states, and a picture list.
struct ControlsFixture
{
    std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
    struct Widgets
    {
        SpeedButton *btNy, *btAdd, *btSpara, *btOpen, *btStartStop, *btVerkstall;
        SpinEdit* spinEditTimeInterval;
        QComboBox *cmbTidTyp, *cmbTyp;
        QCheckBox* chkBlanda;
        PictureView* img;
        QLabel *lbTimeLeft, *lbMinut, *lbSek, *lbSek1, *lbTid, *lbDate;
        QTimer *timerTid, *timeLeft, *timerStart, *timerMinSek;
        QAction *starta1, *abortBild1, *redigeravaldbild1;
    } c;
    PictureList list{new QListWidget(form.get())};

    ControlsFixture()
    {
        QWidget* f = form.get();
        for (SpeedButton** b : {&c.btNy, &c.btAdd, &c.btSpara, &c.btOpen, &c.btStartStop, &c.btVerkstall})
            *b = new SpeedButton(f);
        c.spinEditTimeInterval = new SpinEdit(f);
        c.spinEditTimeInterval->setValue(30);
        c.cmbTidTyp = new QComboBox(f);
        c.cmbTidTyp->setEditable(true);
        c.cmbTidTyp->setInsertPolicy(QComboBox::NoInsert);
        c.cmbTidTyp->addItems({"Minut", "Minuter", "Timme", "Timmar", "Dag", "Dagar"});
        c.cmbTidTyp->setCurrentIndex(1);
        c.cmbTyp = new QComboBox(f);
        c.cmbTyp->addItems({"Centrerad", "Sida vid Sida", "Anpassad"});
        c.cmbTyp->setCurrentIndex(2);
        c.chkBlanda = new QCheckBox(QStringLiteral("Blanda"), f);
        c.btStartStop->setText(QStringLiteral("&Starta"));
        c.btStartStop->setGlyphResource(QStringLiteral("START"));
        c.img = new PictureView(f);
        c.lbTimeLeft = new QLabel(QStringLiteral("30"), f);
        c.lbMinut = new QLabel(QStringLiteral("Minuter"), f);
        c.lbSek = new QLabel(QStringLiteral("0"), f);
        c.lbSek1 = new QLabel(QStringLiteral("sekunder"), f);
        c.lbTid = new QLabel(QStringLiteral("LbTid"), f);
        c.lbDate = new QLabel(QStringLiteral("LbDate"), f);
        for (QTimer** timer : {&c.timerTid, &c.timeLeft, &c.timerStart, &c.timerMinSek}) {
            *timer = new QTimer(f);
            (*timer)->setInterval(1000);
        }
        c.starta1 = new QAction(QStringLiteral("&Starta"), f);
        c.abortBild1 = new QAction(QStringLiteral("&Ta Bort Markerad Bild"), f);
        c.redigeravaldbild1 = new QAction(QStringLiteral("&Redigera Markerad bild..."), f);
    }

    Scheduler::Controls schedulerControls() const { return Scheduler::controlsFrom(c); }

    Countdown::Controls countdownControls() const
    {
        return {c.spinEditTimeInterval,
                c.cmbTidTyp,
                c.lbTimeLeft,
                c.lbMinut,
                c.lbSek,
                c.lbSek1,
                c.lbTid,
                c.lbDate,
                c.timeLeft,
                c.timerMinSek,
                c.timerTid};
    }

    void setList(int count, int marked)
    {
        list.clear();
        for (int i = 0; i < count; ++i)
            list.append(QStringLiteral("/bilder/bild%1.jpg").arg(i).toUtf8());
        list.setMarkedIndex(marked);
    }

    QString countdownLine() const
    {
        return QStringList{c.lbTimeLeft->text(), c.lbMinut->text(), c.lbSek->text(), c.lbSek1->text()}.join(' ');
    }
};
