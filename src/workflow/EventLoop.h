#pragma once

#include "base/Messages.h"
#include "workflow/DeadlineTimers.h"

#include <functional>
#include <vector>

// A single-threaded event loop: the message queue the other threads post
// to, waited on until the next deadline of any of its timer sets. Every
// message goes to the message handler, every due timer to the handler of
// its set.
class EventLoop {
public:
    using MessageHandler = std::function<void(const Message&)>;
    using TimerHandler = std::function<void(int)>;

    EventLoop(MessageQueue& queue, MessageHandler onMessage);

    // Runs timers (which must outlive the loop) with onTimer.
    void AddTimers(DeadlineTimers& timers, TimerHandler onTimer);

    // Delivers messages and timer ticks until done() holds (true) or
    // timeoutMs have passed (false); a negative timeout waits for ever.
    bool RunUntil(const std::function<bool()>& done, int timeoutMs);
    // Delivers the messages already waiting, without waiting for more.
    void DeliverPending() { m_queue.Drain(m_onMessage); }

private:
    using Clock = DeadlineTimers::Clock;
    struct TimerSet {
        DeadlineTimers* timers;
        TimerHandler onTimer;
    };

    Clock::time_point NextDue(Clock::time_point limit) const;

    MessageQueue& m_queue;
    MessageHandler m_onMessage;
    std::vector<TimerSet> m_timerSets;
};
