#pragma once

#include <QMutex>
#include <QWaitCondition>
#include <QtGlobal>

// The memory that decodes running at the same time may hold together: the file's bytes, the
// decoder's buffers and the picture. A decode takes a share before it allocates; when the budget
// is spent it waits for other decodes to end, so a list full of the largest pictures allowed
// stays within the budget however many workers decode it.
class DecodeBudget
{
public:
    // With the program's own memory, this keeps a decoding program well under 300 MB.
    static constexpr qint64 DefaultBytes = 200LL * 1024 * 1024;

    explicit DecodeBudget(qint64 capacity = DefaultBytes) : m_capacity(capacity) {}
    DecodeBudget(const DecodeBudget&) = delete;
    DecodeBudget& operator=(const DecodeBudget&) = delete;

    // The budget every decode of the program shares.
    static DecodeBudget& shared();

    class Share
    {
    public:
        Share() = default;
        Share(Share&& other) noexcept;
        Share& operator=(Share&& other) noexcept;
        ~Share() { release(); }

        qint64 bytes() const { return m_bytes; }
        // Adds to the share, waiting when the budget is spent. Deadlock-free: a share that cannot
        // grow at once is given back whole while it waits.
        void grow(qint64 more);
        void release();

    private:
        friend class DecodeBudget;
        DecodeBudget* m_budget = nullptr;
        qint64 m_bytes = 0;
    };

    qint64 capacity() const { return m_capacity; }
    qint64 inUse() const;
    // A share of bytes (at most the capacity: callers refuse larger decodes first).
    Share take(qint64 bytes);

private:
    void acquire(qint64 bytes);
    void give(qint64 bytes);

    const qint64 m_capacity;
    mutable QMutex m_lock;
    QWaitCondition m_freed;
    qint64 m_used = 0;
};
