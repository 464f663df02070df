#pragma once

#include <functional>

// A timer object that needs no owner and no window of its own: all message timers share one
// hidden dispatcher, which lives from the creation of the first timer to the destruction of the
// last, and each tick reaches its timer through the user-interface event loop.
class MessageTimer
{
public:
    using Handler = std::function<void(MessageTimer& sender)>;

    MessageTimer();
    MessageTimer(int interval, Handler handler);
    ~MessageTimer();
    MessageTimer(const MessageTimer&) = delete;
    MessageTimer& operator=(const MessageTimer&) = delete;

    bool enabled() const { return m_enabled; }
    // true starts the timer, false stops it.
    void setEnabled(bool enabled);

    int interval() const { return m_interval; }
    // A different value restarts a running timer; 0 stops its ticks but keeps it enabled, so that a
    // later non-zero interval starts it again.
    void setInterval(int interval);

    // An empty handler stops the ticks of an enabled timer, which stays enabled.
    void setOnTimer(Handler handler);

    // When true, each tick stops the timer before its handler runs.
    bool autoDisable() const { return m_autoDisable; }
    void setAutoDisable(bool autoDisable) { m_autoDisable = autoDisable; }

    // Starts (or restarts) the ticks; false for an interval of 0 or when no timer can be set.
    bool start();
    // Stops the ticks; with disable the timer is no longer enabled. False when no ticks were running.
    bool stop(bool disable);

    // Whether the shared dispatcher exists, and how many timers hold it.
    static bool dispatcherExists();
    static int timerCount();

private:
    friend class MessageTimerDispatcher;
    void tick();

    int m_interval = 1000;
    Handler m_onTimer;
    bool m_enabled = false;
    bool m_autoDisable = false;
    int m_systemId = 0; // the dispatcher's timer while ticks run, else 0
};
