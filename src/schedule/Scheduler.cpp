#include "Scheduler.h"

#include "ThumbnailIcon.h"
#include "core/Rotation.h"
#include "picturelist/PictureList.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/SettingsStore.h"
#include "toolkit/GlyphIcon.h"
#include "toolkit/Hint.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QTimer>

Scheduler::Scheduler(Controls controls, Work work, Rotation& rotation, PictureList& list, QString programFolder,
                     QObject* parent)
    : QObject(parent), m_controls(controls), m_work(std::move(work)), m_rotation(rotation), m_list(list),
      m_programFolder(std::move(programFolder))
{
}

void Scheduler::bind()
{
    SpinEdit* spin = m_controls.spinEditTimeInterval;
    QComboBox* unitBox = m_controls.cmbTidTyp;
    m_rotation.setValue(spin->value());
    m_rotation.setUnit(UnitChoice::fromIndex(unitBox->currentIndex()));
    m_rotation.setShuffle(m_controls.chkBlanda->isChecked());

    // The controls show the rotation's values: what the user or the start-up sets is taken over
    // as it is, and what the rotation's rules change is shown.
    connect(unitBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_rotation.setUnit(UnitChoice::fromIndex(index)); });
    connect(m_controls.chkBlanda, &QCheckBox::toggled, this, [this](bool on) { m_rotation.setShuffle(on); });
    connect(&m_rotation, &Rotation::intervalChanged, this, &Scheduler::showInterval);
    connect(&m_rotation, &Rotation::runningChanged, this, &Scheduler::showRunning);

    spin->setArrowsRebound(true);
    connectGuarded(spin, &SpinEdit::changed, this, [this] {
        m_rotation.setValue(m_controls.spinEditTimeInterval->value());
        SpinEditTimeIntervalChange();
    });
    connectGuarded(spin, &SpinEdit::upClicked, this, &Scheduler::IntervalUpClick);
    connectGuarded(spin, &SpinEdit::downClicked, this, &Scheduler::IntervalDownClick);

    if (QLineEdit* edit = unitBox->lineEdit())
        connectGuarded(edit, &QLineEdit::textEdited, this, [this] {
            syncTypedUnit();
            CmbTidTypChange();
        });
    connectGuarded(unitBox, &QComboBox::activated, this, &Scheduler::CmbTidTypSelect);

    connectGuarded(m_controls.btStartStop, &QAbstractButton::clicked, this, &Scheduler::BtStartStopClick);
    if (m_controls.starta1)
        connectGuarded(m_controls.starta1, &QAction::triggered, this, &Scheduler::BtStartStopClick);
    for (QTimer* timer : {m_controls.timerStart, m_controls.timeLeft, m_controls.timerMinSek})
        timer->setTimerType(Qt::PreciseTimer);
    connectGuarded(m_controls.timerStart, &QTimer::timeout, this, &Scheduler::changeTimerElapsed);
}

void Scheduler::showInterval()
{
    SpinEdit* spin = m_controls.spinEditTimeInterval;
    if (spin->value() != m_rotation.value())
        spin->setValue(m_rotation.value());
    if (const auto unit = m_rotation.unit(); unit && m_controls.cmbTidTyp->currentIndex() != unit->index())
        m_controls.cmbTidTyp->setCurrentIndex(unit->index());
}

void Scheduler::restoreCaption(const QString& stored)
{
    m_rotation.restoreCaption(stored);
    // A rotation waiting to resume already shows as running, as it was left.
    m_controls.btStartStop->setText(m_rotation.storedCaption());
    if (m_controls.starta1)
        m_controls.starta1->setText(m_rotation.storedCaption());
}

bool Scheduler::isRunning() const
{
    return m_rotation.isRunning();
}

bool Scheduler::resumePending() const
{
    return m_rotation.resumePending();
}

qint64 Scheduler::changeInterval() const
{
    return m_rotation.changeInterval();
}

QString Scheduler::storedCaption() const
{
    return m_rotation.storedCaption();
}

void Scheduler::BtStartStopClick()
{
    // Going through the spin edit shows and stores a corrected value before the hint is made.
    m_rotation.correctValueForStart();
    emit hintDue();
    m_rotation.toggle();
    // A picture that cannot be applied is reported, but the rotation still starts.
    if (m_rotation.isRunning())
        runGuarded([this] { m_work.applyMarked(); });

    SettingsStore store;
    store.writeString(Setting::Startknapp, m_rotation.storedCaption());
}

void Scheduler::showRunning(bool running)
{
    QTimer* unitTimer = m_controls.timeLeft;
    if (running) {
        if (unitTimer->interval() != m_rotation.unitLength())
            unitTimer->setInterval(int(m_rotation.unitLength()));
        armChangeTimer();
        unitTimer->start();
        m_controls.timerMinSek->start();
    } else {
        m_controls.timerStart->stop();
        unitTimer->stop();
        m_controls.timerMinSek->stop();
    }

    SpeedButton* button = m_controls.btStartStop;
    button->setText(m_rotation.caption());
    button->setGlyphResource(running ? QStringLiteral("STOP") : QStringLiteral("START"));
    if (m_controls.starta1) {
        m_controls.starta1->setIcon(glyphIcon(button->glyphResource()));
        m_controls.starta1->setText(button->text());
    }
    setHint(button, running ? QStringLiteral("Stoppa bildbyte.")
                            : QStringLiteral("Starta bakgrundsbyten med valt tidsintervall."));
}

void Scheduler::armChangeTimer()
{
    QTimer* timer = m_controls.timerStart;
    const int period = m_rotation.changePeriod();
    if (timer->interval() != period)
        timer->setInterval(period);
    timer->start();
}

void Scheduler::changeTimerElapsed()
{
    if (!m_rotation.isRunning())
        return;
    // Armed again before the tick, so a failing tick leaves the timer running with the right period.
    const bool due = m_rotation.changeTimerElapsed();
    armChangeTimer();
    if (due)
        runTick();
}

void Scheduler::TimerStartTimer()
{
    const auto k = m_rotation.changeTick(m_list.markedIndex(), m_list.count());
    if (!k)
        return;
    m_list.setMarkedIndex(*k);
    m_work.confirmMarked();
    // The picture is applied once the preview shows it, and not when it cannot be shown.
    const QString path = m_list.path(*k);
    m_controls.img->whenLoaded(this, [this, index = *k, path](const PictureView::Failure& failure) {
        if (failure) {
            failed(*failure);
            return;
        }
        // A list replaced meanwhile no longer holds the picture.
        if (index >= m_list.count() || m_list.path(index) != path)
            return;
        const QImage preview = m_controls.img->image();
        try {
            m_work.apply(path, [this, preview](const std::optional<AppError>& failure) {
                if (failure)
                    failed(failure->message());
                else
                    changeApplied(preview);
            });
        } catch (const AppError& error) {
            failed(error.message());
        }
    });
}

void Scheduler::changeApplied(const QImage& preview)
{
    try {
        const QImage image = ThumbnailIcon::render(preview);
        const QIcon icon(QPixmap::fromImage(image));
        emit iconChanged(icon);
        QApplication::setWindowIcon(icon);
        ThumbnailIcon::save(m_programFolder + QLatin1String(ThumbnailIcon::FileName), image);
        emit iconChanged(icon);
    } catch (const AppError& error) {
        failed(error.message());
    }
}

void Scheduler::runTick()
{
    // A tick that comes while another one waits on a message box would mark a picture under it.
    if (m_ticking)
        return;
    QString failure;
    {
        const QScopedValueRollback ticking(m_ticking, true);
        try {
            TimerStartTimer();
        } catch (const AppError& error) {
            failure = error.message();
        }
    }
    if (!failure.isEmpty())
        failed(failure);
}

void Scheduler::failed(const QString& message)
{
    // One box at a time: while it shows, the ticks go on, and their failures are only noted.
    emit tickFailed(QStringLiteral("Bildbytet misslyckades: ") + message);
    if (m_errorShowing)
        return;
    const QScopedValueRollback showing(m_errorShowing, true);
    Dialogs::instance().reportError(message);
}

void Scheduler::SpinEditTimeIntervalChange()
{
    m_rotation.showInterval();
    SettingsStore store;
    store.writeInteger(Setting::Mellan, m_rotation.value());
}

void Scheduler::syncTypedUnit()
{
    // Typed text that names an item selects it; other text leaves the last unit in force.
    QComboBox* unitBox = m_controls.cmbTidTyp;
    const int typed = unitBox->findText(unitBox->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (typed >= 0 && typed != unitBox->currentIndex())
        unitBox->setCurrentIndex(typed);
}

void Scheduler::CmbTidTypChange()
{
    m_rotation.applyUnitRule();
}

void Scheduler::IntervalUpClick()
{
    m_rotation.stepUp();
}

void Scheduler::IntervalDownClick()
{
    m_rotation.stepDown();
}
