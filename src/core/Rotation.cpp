#include "Rotation.h"

#include <chrono>
#include <limits>
#include <random>

namespace {

qint64 steadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// A fresh seed from the clock at every draw; no history, so a picture may follow itself.
int drawFromClock(int count)
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq seed{quint32(ticks), quint32(quint64(ticks) >> 32)};
    std::mt19937 generator(seed);
    return std::uniform_int_distribution<int>(0, count - 1)(generator);
}

const QString StartCaption = QStringLiteral("&Starta");
const QString StopCaption = QStringLiteral("&Stoppa");

} // namespace

Rotation::Rotation(Clock clock, Draw draw, QObject* parent)
    : QObject(parent), m_clock(clock ? std::move(clock) : Clock(steadyMs)),
      m_draw(draw ? std::move(draw) : Draw(drawFromClock))
{
    m_lastUnit = m_unit->unit;
}

void Rotation::setValue(int value)
{
    m_value = value;
}

void Rotation::setUnit(std::optional<UnitChoice> unit)
{
    m_unit = unit;
    if (unit)
        m_lastUnit = unit->unit;
}

void Rotation::setValueByRule(int value)
{
    if (value == m_value)
        return;
    setValue(value);
    emit intervalChanged();
}

void Rotation::setUnitByRule(std::optional<UnitChoice> unit)
{
    if (unit == m_unit)
        return;
    setUnit(unit);
    emit intervalChanged();
}

void Rotation::showInterval()
{
    m_countdown.units = m_value;
    emit countdownChanged();
}

void Rotation::applyUnitRule()
{
    if (m_unit && !m_unit->plural)
        setValueByRule(1);
    m_countdown.word = m_unit;
    emit countdownChanged();
}

void Rotation::stepUp()
{
    const auto next = RotationInterval::stepUp({m_value, m_unit});
    setValueByRule(next.value);
    setUnitByRule(next.unit);
    applyUnitRule();
}

void Rotation::stepDown()
{
    const auto next = RotationInterval::stepDown({m_value, m_unit});
    setValueByRule(next.value);
    setUnitByRule(next.unit);
    applyUnitRule();
}

void Rotation::correctValueForStart()
{
    if (!m_running && m_value < 1)
        setValueByRule(1);
}

void Rotation::toggle()
{
    correctValueForStart();
    m_unitsLeft = m_value;
    if (m_running) {
        m_countdown.units = m_value;
        m_countdown.seconds = 0;
    } else {
        m_countdown.units = qint64(m_value) - 1;
        m_intervalMs = changeInterval();
        m_remainingMs = m_intervalMs;
        m_armedAt = m_clock();
    }
    m_running = !m_running;
    m_resumePending = false;
    emit countdownChanged();
    emit runningChanged(m_running);
}

QString Rotation::caption(bool running)
{
    return running ? StopCaption : StartCaption;
}

void Rotation::restoreCaption(const QString& stored)
{
    m_resumePending = !m_running && stored == StopCaption;
}

std::optional<int> Rotation::changeTick(int marked, int count)
{
    m_unitsLeft = m_value;
    m_countdown.word = m_unit;
    emit countdownChanged();
    m_rotationIndex = marked == -1 ? 0 : marked;
    // An emptied list has nothing to show; the rotation waits for pictures instead of failing.
    if (!m_running || count <= 0)
        return std::nullopt;
    if (m_shuffle)
        return m_draw(count);
    m_rotationIndex = m_rotationIndex + 1 >= count ? 0 : m_rotationIndex + 1;
    return m_rotationIndex;
}

qint64 Rotation::msUntilChange() const
{
    return m_running ? std::max<qint64>(0, m_remainingMs - (m_clock() - m_armedAt)) : 0;
}

bool Rotation::changeTimerElapsed()
{
    if (!m_running)
        return false;
    m_remainingMs -= changePeriod();
    m_armedAt = m_clock();
    if (m_remainingMs > 0)
        return false;
    m_remainingMs = m_intervalMs;
    return true;
}

void Rotation::unitTick()
{
    // 64-bit so that no counter can overflow on the way
    m_countdown.units = qint64(m_unitsLeft) - 1;
    if (m_unitsLeft > std::numeric_limits<qint32>::min())
        --m_unitsLeft;
    if (m_countdown.units == -1)
        m_countdown.units = 0;
    m_countdown.seconds = 0;
    if (m_unitsLeft != 1)
        m_countdown.word = m_unit;
    else if (m_unit && m_unit->plural)
        m_countdown.word = m_unit->singular();
    if (m_unitsLeft == 0)
        m_unitsLeft = m_value;
    emit countdownChanged();
}

void Rotation::secondTick()
{
    --m_countdown.seconds;
    if (m_countdown.seconds == -1)
        m_countdown.seconds = 59;
    if (m_countdown.units != 1)
        m_countdown.word = m_unit;
    else if (m_unit && m_unit->plural)
        m_countdown.word = m_unit->singular();
    emit countdownChanged();
}
