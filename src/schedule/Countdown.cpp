#include "Countdown.h"

#include "core/Rotation.h"
#include "platform/Guard.h"
#include "resources/Resources.h"

#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTimer>

Countdown::Countdown(Controls controls, Rotation& rotation, QObject* parent)
    : QObject(parent), m_controls(controls), m_rotation(rotation), m_now([] { return QDateTime::currentDateTime(); }),
      m_locale(QLocale::system())
{
}

void Countdown::bind()
{
    connect(&m_rotation, &Rotation::countdownChanged, this, &Countdown::showCountdown);
    connectGuarded(m_controls.timeLeft, &QTimer::timeout, this, &Countdown::TimeLeftTimer);
    connectGuarded(m_controls.timerMinSek, &QTimer::timeout, this, &Countdown::TimerMinSekTimer);
    connectGuarded(m_controls.timerTid, &QTimer::timeout, this, &Countdown::TimerTidTimer);
    TimerTidTimer();
    if (!m_controls.timerTid->isActive()) {
        m_controls.timerTid->setInterval(1000);
        m_controls.timerTid->start();
    }
}

void Countdown::showCountdown()
{
    const Rotation::Countdown& shown = m_rotation.countdown();
    m_controls.lbTimeLeft->setText(QString::number(shown.units));
    m_controls.lbMinut->setText(shown.word ? m_controls.cmbTidTyp->itemText(shown.word->index()) : QString());
    m_controls.lbSek->setText(QString::number(shown.seconds));
    m_controls.lbSek1->setText(shown.oneSecond() ? QStringLiteral("sekund") : QStringLiteral("sekunder"));
}

void Countdown::TimeLeftTimer()
{
    m_rotation.unitTick();
}

void Countdown::TimerMinSekTimer()
{
    m_rotation.secondTick();
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
