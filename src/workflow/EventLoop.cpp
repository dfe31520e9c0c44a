#include "workflow/EventLoop.h"

EventLoop::EventLoop(MessageQueue& queue, MessageHandler onMessage)
    : m_queue(queue), m_onMessage(std::move(onMessage))
{
}

void EventLoop::AddTimers(DeadlineTimers& timers, TimerHandler onTimer)
{
    m_timerSets.push_back(TimerSet{&timers, std::move(onTimer)});
}

EventLoop::Clock::time_point EventLoop::NextDue(Clock::time_point limit) const
{
    Clock::time_point next = limit;
    for (const TimerSet& set : m_timerSets)
        next = set.timers->NextDue(next);
    return next;
}

bool EventLoop::RunUntil(const std::function<bool()>& done, int timeoutMs)
{
    // Waits are cut into slices so nothing sleeps long on a stale deadline.
    constexpr auto kSlice = std::chrono::milliseconds(250);
    const bool limited = timeoutMs >= 0;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(limited ? timeoutMs : 0);
    while (!done()) {
        const Clock::time_point now = Clock::now();
        if (limited && now >= end)
            return false;
        Clock::time_point limit = now + kSlice;
        if (limited && end < limit)
            limit = end;
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(NextDue(limit) - now);
        if (wait.count() > 0)
            m_queue.Wait(static_cast<int>(wait.count()));
        m_queue.Drain(m_onMessage);
        if (done())
            return true;
        for (const TimerSet& set : m_timerSets)
            set.timers->FireDue(set.onTimer);
    }
    return true;
}
