#pragma once

#include <QObject>
#include <QTimer>
#include <exception>
#include <functional>
#include <vector>

// One operation run as steps from the event loop: a pause is a timer, never a sleep, so the
// window is drawn and clicks and ticks are handled between steps. Cancelling stops it at once;
// a step that is running when it is cancelled is the last.
class Steps : public QObject
{
    Q_OBJECT

public:
    using Done = std::function<void()>;
    using Finished = std::function<void(std::exception_ptr failure)>;

    explicit Steps(QObject* parent = nullptr);
    ~Steps() override;

    Steps& then(std::function<void()> step);
    // A step whose work ends later: the steps go on when it calls done.
    Steps& thenWait(std::function<void(Done done)> step);
    // For i from 0 below count() (asked when the loop is reached): body(i), a pause, after(i).
    Steps& loop(std::function<int()> count, std::function<void(int)> body, int pauseMs,
                std::function<void(int)> after = {});

    // Runs the steps from the next turn of the event loop. finished gets the exception that ended
    // them, or null when every step ran; it is not called after a cancel.
    void start(Finished finished);
    void cancel();
    bool isRunning() const { return m_running; }

private:
    struct Item
    {
        std::function<void()> run = {};
        std::function<void(Done)> wait = {};
        std::function<int()> count = {};
        std::function<void(int)> body = {};
        std::function<void(int)> after = {};
        int pauseMs = 0;
    };

    void advance();
    void finish(std::exception_ptr failure);

    std::vector<Item> m_items;
    size_t m_index = 0;
    int m_loopIndex = -1; // inside a loop: the turn; -1 before it
    int m_loopCount = 0;
    bool m_afterPending = false;
    bool m_running = false;
    quint64 m_generation = 0;
    QTimer m_timer;
    Finished m_finished;
};
