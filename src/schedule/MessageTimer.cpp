#include "MessageTimer.h"

#include <QCoreApplication>
#include <QHash>
#include <QObject>
#include <QTimerEvent>

// The one hidden object that owns the system timers of every MessageTimer and hands each
// tick to the timer it belongs to.
class MessageTimerDispatcher : public QObject
{
public:
    int setTimer(MessageTimer* timer, int interval)
    {
        const int id = startTimer(interval, Qt::PreciseTimer);
        if (id != 0)
            m_timers.insert(id, timer);
        return id;
    }

    bool killSystemTimer(int id)
    {
        if (id == 0 || !m_timers.remove(id))
            return false;
        killTimer(id);
        return true;
    }

    int refCount = 0;
    int dispatching = 0;

protected:
    void timerEvent(QTimerEvent* event) override
    {
        MessageTimer* timer = m_timers.value(event->timerId());
        if (!timer)
            return;
        ++dispatching;
        timer->tick();
        --dispatching;
    }

private:
    QHash<int, MessageTimer*> m_timers;
};

namespace {

MessageTimerDispatcher* dispatcher = nullptr;

// Timers still alive when the application object goes lose their dispatcher with it.
void freeAtShutdown()
{
    delete dispatcher;
    dispatcher = nullptr;
}

void addTimer()
{
    static const bool registered = (qAddPostRoutine(freeAtShutdown), true);
    Q_UNUSED(registered);
    if (!dispatcher)
        dispatcher = new MessageTimerDispatcher;
    ++dispatcher->refCount;
}

void removeTimer()
{
    if (!dispatcher)
        return;
    dispatcher->refCount = std::max(0, dispatcher->refCount - 1);
    if (dispatcher->refCount == 0) {
        // The last timer may be destroyed by its own tick, inside the dispatcher's event handler.
        if (dispatcher->dispatching > 0)
            dispatcher->deleteLater();
        else
            delete dispatcher;
        dispatcher = nullptr;
    }
}

} // namespace

MessageTimer::MessageTimer()
{
    addTimer();
}

MessageTimer::MessageTimer(int interval, Handler handler) : m_interval(interval)
{
    setOnTimer(std::move(handler));
    addTimer();
}

MessageTimer::~MessageTimer()
{
    if (m_enabled)
        stop(true);
    removeTimer();
}

void MessageTimer::setEnabled(bool enabled)
{
    if (enabled)
        start();
    else
        stop(true);
}

void MessageTimer::setInterval(int interval)
{
    if (interval == m_interval)
        return;
    m_interval = interval;
    if (m_enabled) {
        if (m_interval != 0)
            start();
        else
            stop(false);
    }
}

void MessageTimer::setOnTimer(Handler handler)
{
    m_onTimer = std::move(handler);
    if (!m_onTimer && m_enabled)
        stop(false);
}

bool MessageTimer::start()
{
    if (m_interval == 0)
        return false;
    if (m_enabled)
        stop(true);
    if (!dispatcher || m_interval < 0)
        return false;
    m_systemId = dispatcher->setTimer(this, m_interval);
    m_enabled = m_systemId != 0;
    return m_enabled;
}

bool MessageTimer::stop(bool disable)
{
    if (disable)
        m_enabled = false;
    const bool killed = dispatcher && dispatcher->killSystemTimer(m_systemId);
    m_systemId = 0;
    return killed;
}

void MessageTimer::tick()
{
    if (m_autoDisable)
        stop(true);
    if (m_onTimer) {
        // A copy: the handler may replace itself or destroy this timer.
        const Handler handler = m_onTimer;
        handler(*this);
    }
}

bool MessageTimer::dispatcherExists()
{
    return dispatcher != nullptr;
}

int MessageTimer::timerCount()
{
    return dispatcher ? dispatcher->refCount : 0;
}
