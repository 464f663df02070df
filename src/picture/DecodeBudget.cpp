#include "DecodeBudget.h"

#include "platform/LargeBlocks.h"

#include <utility>

DecodeBudget& DecodeBudget::shared()
{
    // What a decode frees is free again for the next.
    static DecodeBudget budget((LargeBlocks::returnToTheSystem(), DefaultBytes));
    return budget;
}

qint64 DecodeBudget::inUse() const
{
    const QMutexLocker lock(&m_lock);
    return m_used;
}

void DecodeBudget::acquire(qint64 bytes)
{
    while (m_used > 0 && m_used + bytes > m_capacity)
        m_freed.wait(&m_lock);
    m_used += bytes;
}

void DecodeBudget::give(qint64 bytes)
{
    m_used -= bytes;
    m_freed.wakeAll();
}

DecodeBudget::Share DecodeBudget::take(qint64 bytes)
{
    bytes = qBound<qint64>(0, bytes, m_capacity);
    const QMutexLocker lock(&m_lock);
    acquire(bytes);
    Share share;
    share.m_budget = this;
    share.m_bytes = bytes;
    return share;
}

DecodeBudget::Share::Share(Share&& other) noexcept
    : m_budget(std::exchange(other.m_budget, nullptr)), m_bytes(std::exchange(other.m_bytes, 0))
{
}

DecodeBudget::Share& DecodeBudget::Share::operator=(Share&& other) noexcept
{
    if (this != &other) {
        release();
        m_budget = std::exchange(other.m_budget, nullptr);
        m_bytes = std::exchange(other.m_bytes, 0);
    }
    return *this;
}

void DecodeBudget::Share::grow(qint64 more)
{
    if (!m_budget || more <= 0)
        return;
    const qint64 wanted = qMin(m_bytes + more, m_budget->m_capacity);
    const QMutexLocker lock(&m_budget->m_lock);
    if (m_budget->m_used - m_bytes + wanted <= m_budget->m_capacity) {
        m_budget->m_used += wanted - m_bytes;
    } else {
        // Waiting while holding a part would let two growing decodes wait for each other for ever.
        m_budget->give(m_bytes);
        m_budget->acquire(wanted);
    }
    m_bytes = wanted;
}

void DecodeBudget::Share::release()
{
    if (!m_budget)
        return;
    {
        const QMutexLocker lock(&m_budget->m_lock);
        m_budget->give(m_bytes);
    }
    m_budget = nullptr;
    m_bytes = 0;
}
