#include "Countdown.h"

#include "resources/Resources.h"

#include "platform/Guard.h"
#include "toolkit/SpinEdit.h"

#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTimer>

namespace {

// Countdown labels only ever hold whole numbers; anything else counts as 0.
qint64 labelNumber(const QLabel* label)
{
    return label->text().toLongLong();
}

} // namespace

Countdown::Countdown(Controls controls, RotationState& state, QObject* parent)
    : QObject(parent), m_controls(controls), m_state(state), m_now([] { return QDateTime::currentDateTime(); }),
      m_locale(QLocale::system())
{
}

void Countdown::bind()
{
    connectGuarded(m_controls.timeLeft, &QTimer::timeout, this, &Countdown::TimeLeftTimer);
    connectGuarded(m_controls.timerMinSek, &QTimer::timeout, this, &Countdown::TimerMinSekTimer);
    connectGuarded(m_controls.timerTid, &QTimer::timeout, this, &Countdown::TimerTidTimer);
    // A coarse timer may drift by whole seconds against the unit tick; the countdown shows seconds.
    m_controls.timerMinSek->setTimerType(Qt::PreciseTimer);
    m_controls.timeLeft->setTimerType(Qt::PreciseTimer);
    TimerTidTimer();
    if (!m_controls.timerTid->isActive()) {
        m_controls.timerTid->setInterval(1000);
        m_controls.timerTid->start();
    }
}

QString Countdown::selectedUnitText() const
{
    const QComboBox* box = m_controls.cmbTidTyp;
    return box->currentIndex() >= 0 ? box->itemText(box->currentIndex()) : QString();
}

void Countdown::TimeLeftTimer()
{
    // 64-bit so that no stored counter can overflow on the way
    m_controls.lbTimeLeft->setText(QString::number(qint64(m_state.unitsLeft) - 1));
    if (m_state.unitsLeft > std::numeric_limits<qint32>::min())
        --m_state.unitsLeft;
    if (m_controls.lbTimeLeft->text() == QLatin1String("-1"))
        m_controls.lbTimeLeft->setText(QStringLiteral("0"));
    m_controls.lbSek->setText(QStringLiteral("0"));

    const QString unit = selectedUnitText();
    if (m_state.unitsLeft == 1) {
        if (unit == QLatin1String("Dagar"))
            m_controls.lbMinut->setText(QStringLiteral("Dag"));
        else if (unit == QLatin1String("Timmar"))
            m_controls.lbMinut->setText(QStringLiteral("Timme"));
        else if (unit == QLatin1String("Minuter"))
            m_controls.lbMinut->setText(QStringLiteral("Minut"));
    } else {
        m_controls.lbMinut->setText(unit);
    }

    if (m_state.unitsLeft == 0)
        m_state.unitsLeft = m_controls.spinEditTimeInterval->value();
}

void Countdown::TimerMinSekTimer()
{
    m_controls.lbSek->setText(QString::number(labelNumber(m_controls.lbSek) - 1));
    m_controls.lbSek1->setText(m_controls.lbSek->text() == QLatin1String("1") ? QStringLiteral("sekund")
                                                                              : QStringLiteral("sekunder"));
    if (m_controls.lbSek->text() == QLatin1String("-1"))
        m_controls.lbSek->setText(QStringLiteral("59"));

    const QComboBox* box = m_controls.cmbTidTyp;
    const QString unit = selectedUnitText();
    if (m_controls.lbTimeLeft->text() == QLatin1String("1")) {
        if (unit == QLatin1String("Dagar") || unit == QLatin1String("Timmar") || unit == QLatin1String("Minuter"))
            m_controls.lbMinut->setText(box->itemText(box->currentIndex() - 1));
    } else {
        m_controls.lbMinut->setText(unit);
    }

    renewHint();
}

void Countdown::TimerTidTimer()
{
    const QDateTime now = m_now();
    m_controls.lbTid->setText(QStringLiteral("Klockan är: ") + timeText(now.time(), m_locale));
    // Renewed whenever the calendar day has changed, not only on a tick that falls at 00:00:01.
    if (now.date() != m_shownDate) {
        m_shownDate = now.date();
        m_dateText = dateText(m_shownDate, m_locale);
    }
    m_controls.lbDate->setText(QStringLiteral("Dagens Datum: ") + m_dateText);
}

QString Countdown::creditText()
{
    return Resources::creditText();
}

QString Countdown::hintText() const
{
    const QString countdown = QStringList{m_controls.lbTimeLeft->text(), m_controls.lbMinut->text(),
                                          m_controls.lbSek->text(), m_controls.lbSek1->text()}
                                  .join(QLatin1Char(' '));
    return creditText() + QStringLiteral("\r\nTid till nästa byte:\r\n") + countdown;
}

QString Countdown::dateText(const QDate& date, const QLocale& locale)
{
    return locale.toString(date, QStringLiteral("dddd 'den' dd MMM yyyy"));
}

QString Countdown::timeText(const QTime& time, const QLocale& locale)
{
    // The long format carries seconds; a zone name after the clock would only be noise here.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.replace(zone, QStringLiteral(" "));
    return locale.toString(time, format.trimmed());
}
