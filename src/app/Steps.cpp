#include "Steps.h"

#include "platform/Pause.h"

#include <QPointer>

Steps::Steps(QObject* parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Steps::advance);
}

Steps::~Steps() = default;

Steps& Steps::then(std::function<void()> step)
{
    m_items.push_back({.run = std::move(step)});
    return *this;
}

Steps& Steps::thenWait(std::function<void(Done)> step)
{
    m_items.push_back({.wait = std::move(step)});
    return *this;
}

Steps& Steps::loop(std::function<int()> count, std::function<void(int)> body, int pauseMs,
                   std::function<void(int)> after)
{
    m_items.push_back(
        {.count = std::move(count), .body = std::move(body), .after = std::move(after), .pauseMs = pauseMs});
    return *this;
}

void Steps::start(Finished finished)
{
    cancel();
    m_finished = std::move(finished);
    m_index = 0;
    m_loopIndex = -1;
    m_afterPending = false;
    m_running = true;
    m_timer.start(0);
}

void Steps::cancel()
{
    ++m_generation;
    m_running = false;
    m_timer.stop();
}

void Steps::advance()
{
    const quint64 generation = m_generation;
    const auto cancelled = [&] { return generation != m_generation; };
    try {
        while (m_index < m_items.size()) {
            const Item& item = m_items[m_index];
            if (item.run) {
                item.run();
                if (cancelled())
                    return;
                ++m_index;
            } else if (item.wait) {
                ++m_index;
                item.wait([self = QPointer<Steps>(this), generation] {
                    if (self && generation == self->m_generation)
                        self->m_timer.start(0);
                });
                return;
            } else {
                if (m_loopIndex < 0) {
                    m_loopCount = item.count();
                    m_loopIndex = 0;
                }
                if (m_afterPending) {
                    m_afterPending = false;
                    if (item.after)
                        item.after(m_loopIndex);
                    if (cancelled())
                        return;
                    ++m_loopIndex;
                }
                if (m_loopIndex >= m_loopCount) {
                    m_loopIndex = -1;
                    ++m_index;
                    continue;
                }
                item.body(m_loopIndex);
                if (cancelled())
                    return;
                m_afterPending = true;
                m_timer.start(Pause::interval(item.pauseMs));
                return;
            }
        }
        finish(nullptr);
    } catch (...) {
        if (!cancelled())
            finish(std::current_exception());
    }
}

void Steps::finish(std::exception_ptr failure)
{
    m_running = false;
    if (Finished finished = m_finished)
        finished(failure);
}
