#include "Scheduler.h"

#include "IntervalMath.h"
#include "ThumbnailIcon.h"
#include "picturelist/PictureList.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/SettingsStore.h"
#include "toolkit/Hint.h"
#include "toolkit/PictureView.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/TransparentColour.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QTimer>
#include <chrono>
#include <random>

namespace {

const QString StartCaption = QStringLiteral("&Starta");
const QString StopCaption = QStringLiteral("&Stoppa");
const QString StartHint = QStringLiteral("Starta bakgrundsbyten med valt tidsintervall.");
const QString StopHint = QStringLiteral("Stoppa bildbyte.");

} // namespace

Scheduler::Scheduler(Controls controls, PictureList& list, QString programFolder, QObject* parent)
    : QObject(parent), m_controls(controls), m_list(list), m_programFolder(std::move(programFolder))
{
}

void Scheduler::restoreCaption(const QString& stored)
{
    m_controls.btStartStop->setText(stored);
    m_resumePending = !m_state.running && stored == StopCaption;
}

void Scheduler::bind()
{
    SpinEdit* spin = m_controls.spinEditTimeInterval;
    spin->setArrowsRebound(true);
    connectGuarded(spin, &SpinEdit::changed, this, &Scheduler::SpinEditTimeIntervalChange);
    connectGuarded(spin, &SpinEdit::upClicked, this, &Scheduler::IntervalUpClick);
    connectGuarded(spin, &SpinEdit::downClicked, this, &Scheduler::IntervalDownClick);

    QComboBox* unitBox = m_controls.cmbTidTyp;
    if (QLineEdit* edit = unitBox->lineEdit())
        connectGuarded(edit, &QLineEdit::textEdited, this, [this] {
            syncTypedUnit();
            CmbTidTypChange();
        });
    connectGuarded(unitBox, &QComboBox::activated, this, &Scheduler::CmbTidTypSelect);

    connectGuarded(m_controls.btStartStop, &QAbstractButton::clicked, this, &Scheduler::BtStartStopClick);
    if (m_controls.starta1)
        connectGuarded(m_controls.starta1, &QAction::triggered, this, &Scheduler::BtStartStopClick);
    m_controls.timerStart->setTimerType(Qt::PreciseTimer);
    connectGuarded(m_controls.timerStart, &QTimer::timeout, this, &Scheduler::changeTimerElapsed);
}

void Scheduler::BtStartStopClick()
{
    // A click while the start applies its picture (the popup's slide runs the event loop) would
    // toggle a rotation that is only half started; it is refused.
    if (m_toggling)
        return;
    const QScopedValueRollback toggling(m_toggling, true);
    SpinEdit* spin = m_controls.spinEditTimeInterval;
    // A rotation never starts with an interval below 1: the countdown would run below zero.
    // Going through the spin edit shows and stores the corrected value.
    if (!m_state.running && spin->value() < 1)
        spin->setValue(1);

    if (const auto length = IntervalMath::unitLength(m_controls.cmbTidTyp->currentIndex())) {
        if (m_controls.timeLeft->interval() != *length)
            m_controls.timeLeft->setInterval(int(*length));
    }
    UpdateChangeInterval();
    emit hintDue();

    const int value = spin->value();
    if (m_state.running) {
        m_controls.timerStart->stop();
        m_controls.timeLeft->stop();
        m_controls.timerMinSek->stop();
        setRunningLook(false);
        m_state.unitsLeft = value;
        m_controls.lbTimeLeft->setText(QString::number(value));
        m_controls.lbSek->setText(QStringLiteral("0"));
        m_controls.btVerkstall->setEnabled(true);
        m_state.running = false;
    } else {
        startChangeTimer();
        m_controls.timeLeft->start();
        m_controls.timerMinSek->start();
        setRunningLook(true);
        m_state.unitsLeft = value;
        m_controls.lbTimeLeft->setText(QString::number(qint64(value) - 1));
        // Running before the picture is applied: the state follows the controls that already read
        // "&Stoppa". A picture that cannot be applied is reported, but the rotation still starts.
        m_state.running = true;
        emit applyMarkedRequested();
        runGuarded([] { throwPendingFailure(); });
    }
    m_resumePending = false;
    emit runningChanged(m_state.running);

    SettingsStore store;
    store.writeString(Setting::Startknapp, m_controls.btStartStop->text());
}

void Scheduler::setRunningLook(bool running)
{
    SpeedButton* button = m_controls.btStartStop;
    button->setText(running ? StopCaption : StartCaption);
    m_controls.chkBlanda->setEnabled(!running);
    button->setGlyphResource(running ? QStringLiteral("STOP") : QStringLiteral("START"));
    if (m_controls.starta1) {
        m_controls.starta1->setIcon(QIcon(withBottomLeftTransparent(button->glyph())));
        m_controls.starta1->setText(button->text());
    }

    QWidget* const locked[] = {m_controls.cmbTyp,    m_controls.spinEditTimeInterval,
                               m_controls.cmbTidTyp, m_controls.btAdd,
                               m_controls.btSpara,   m_controls.btOpen,
                               m_controls.btNy};
    for (QWidget* widget : locked)
        if (widget)
            widget->setEnabled(!running);
    for (QAction* action : {m_controls.abortBild1, m_controls.redigeravaldbild1})
        if (action)
            action->setEnabled(!running);

    setHint(button, running ? StopHint : StartHint);
}

void Scheduler::TimerStartTimer()
{
    m_state.unitsLeft = m_controls.spinEditTimeInterval->value();
    const QComboBox* unitBox = m_controls.cmbTidTyp;
    m_controls.lbMinut->setText(unitBox->currentIndex() >= 0 ? unitBox->itemText(unitBox->currentIndex()) : QString());
    const int marked = m_list.markedIndex();
    m_state.rotationIndex = marked == -1 ? 0 : marked;
    if (!m_state.running)
        return;

    const int count = m_list.count();
    // An emptied list has nothing to show; the rotation waits for pictures instead of failing.
    if (count <= 0)
        return;

    int k;
    if (m_controls.chkBlanda->isChecked()) {
        k = drawShuffled(count);
    } else {
        k = IntervalMath::nextInOrder(m_state.rotationIndex, count);
        m_state.rotationIndex = k;
    }

    m_list.setMarkedIndex(k);
    emit confirmMarkedRequested();
    throwPendingFailure();
    emit applyRequested(m_list.path(k), m_controls.cmbTyp->currentIndex());
    throwPendingFailure();
    makeThumbnailIcon();
}

int Scheduler::drawShuffled(int count) const
{
    // A fresh seed from the clock at every draw; no history, so a picture may follow itself.
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq seed{quint32(ticks), quint32(quint64(ticks) >> 32)};
    std::mt19937 generator(seed);
    return std::uniform_int_distribution<int>(0, count - 1)(generator);
}

void Scheduler::makeThumbnailIcon()
{
    const QImage image = ThumbnailIcon::render(m_controls.img->image());
    const QIcon icon(QPixmap::fromImage(image));
    emit iconChanged(icon);
    QApplication::setWindowIcon(icon);
    ThumbnailIcon::save(m_programFolder + QLatin1String(ThumbnailIcon::FileName), image);
    emit iconChanged(icon);
}

void Scheduler::UpdateChangeInterval()
{
    const int value = m_controls.spinEditTimeInterval->value();
    if (value <= 0) {
        m_controls.timerStart->stop();
        return;
    }
    if (const auto ms = IntervalMath::changeInterval(value, m_controls.cmbTidTyp->currentIndex()))
        setChangeInterval(*ms);
}

void Scheduler::setChangeInterval(qint64 ms)
{
    if (ms == m_changeInterval)
        return;
    m_changeInterval = ms;
    if (m_controls.timerStart->isActive())
        startChangeTimer();
}

void Scheduler::startChangeTimer()
{
    m_changeRemaining = m_changeInterval;
    QTimer* timer = m_controls.timerStart;
    const int period = IntervalMath::armInterval(m_changeRemaining);
    if (timer->interval() != period)
        timer->setInterval(period);
    timer->start();
}

void Scheduler::changeTimerElapsed()
{
    QTimer* timer = m_controls.timerStart;
    m_changeRemaining -= timer->interval();
    if (m_changeRemaining > 0) {
        const int period = IntervalMath::armInterval(m_changeRemaining);
        if (timer->interval() != period)
            timer->setInterval(period);
        return;
    }
    // Re-armed before the tick, so a failing tick leaves the timer running with the right period.
    m_changeRemaining = m_changeInterval;
    const int period = IntervalMath::armInterval(m_changeRemaining);
    if (timer->interval() != period)
        timer->setInterval(period);
    runTick();
}

void Scheduler::runTick()
{
    // A tick that comes while another one still applies its picture would apply an older choice
    // after a newer one; it is left out.
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
    if (failure.isEmpty())
        return;
    // One box at a time: while it shows, the ticks go on, and their failures are only noted.
    const QString note = QStringLiteral("Bildbytet misslyckades: ") + failure;
    emit tickFailed(note);
    if (m_errorShowing)
        return;
    const QScopedValueRollback showing(m_errorShowing, true);
    Dialogs::instance().reportError(failure);
}

void Scheduler::SpinEditTimeIntervalChange()
{
    const int value = m_controls.spinEditTimeInterval->value();
    m_controls.lbTimeLeft->setText(QString::number(value));
    SettingsStore store;
    store.writeInteger(Setting::Mellan, value);
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
    const QComboBox* unitBox = m_controls.cmbTidTyp;
    const QString unit = unitBox->currentIndex() >= 0 ? unitBox->itemText(unitBox->currentIndex()) : QString();
    if (unit == QLatin1String("Minut") || unit == QLatin1String("Timme") || unit == QLatin1String("Dag"))
        m_controls.spinEditTimeInterval->setValue(1);
    m_controls.lbMinut->setText(unit);
}

void Scheduler::IntervalUpClick()
{
    const auto next =
        IntervalMath::stepUp({m_controls.spinEditTimeInterval->value(), m_controls.cmbTidTyp->currentIndex()});
    m_controls.spinEditTimeInterval->setValue(next.value);
    if (IntervalMath::isValidUnit(next.unit))
        m_controls.cmbTidTyp->setCurrentIndex(next.unit);
    CmbTidTypChange();
}

void Scheduler::IntervalDownClick()
{
    const auto next =
        IntervalMath::stepDown({m_controls.spinEditTimeInterval->value(), m_controls.cmbTidTyp->currentIndex()});
    m_controls.spinEditTimeInterval->setValue(next.value);
    if (IntervalMath::isValidUnit(next.unit))
        m_controls.cmbTidTyp->setCurrentIndex(next.unit);
    CmbTidTypChange();
}
