#pragma once

#include "base/Messages.h"
#include "workflow/WorkflowView.h"

#include <chrono>
#include <functional>
#include <map>

// A single-threaded event loop for the CLI: the workflow's timers as
// deadlines, and the message queue the other threads post to, waited on
// until the next deadline. Timers repeat until killed, like window timers.
class ConsoleLoop : public ITimerHost {
public:
    using MessageHandler = std::function<void(const Message&)>;
    using TimerHandler = std::function<void(int)>;

    ConsoleLoop(MessageQueue& queue, MessageHandler onMessage, TimerHandler onTimer);

    void SetTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;

    // Delivers messages and timer ticks until done() holds (true) or
    // timeoutMs have passed (false); a negative timeout waits for ever.
    bool RunUntil(const std::function<bool()>& done, int timeoutMs);
    // Delivers the messages already waiting, without waiting for more.
    void DeliverPending() { m_queue.Drain(m_onMessage); }
    // How often timer id has fired.
    int Fired(int id) const;
    bool Running(int id) const { return m_timers.count(id) != 0; }

private:
    using Clock = std::chrono::steady_clock;
    struct Timer {
        std::chrono::milliseconds period;
        Clock::time_point due;
    };

    void FireDue();
    Clock::time_point NextDue(Clock::time_point limit) const;

    MessageQueue& m_queue;
    MessageHandler m_onMessage;
    TimerHandler m_onTimer;
    std::map<int, Timer> m_timers;
    std::map<int, int> m_fired;
};
