#include "cli/ConsoleLoop.h"

#include <vector>

ConsoleLoop::ConsoleLoop(MessageQueue& queue, MessageHandler onMessage, TimerHandler onTimer)
    : m_queue(queue), m_onMessage(std::move(onMessage)), m_onTimer(std::move(onTimer))
{
}

void ConsoleLoop::SetTimer(int id, int milliseconds)
{
    const std::chrono::milliseconds period(milliseconds > 0 ? milliseconds : 1);
    m_timers[id] = Timer{period, Clock::now() + period};
}

void ConsoleLoop::KillTimer(int id)
{
    m_timers.erase(id);
}

int ConsoleLoop::Fired(int id) const
{
    const auto it = m_fired.find(id);
    return it == m_fired.end() ? 0 : it->second;
}

ConsoleLoop::Clock::time_point ConsoleLoop::NextDue(Clock::time_point limit) const
{
    Clock::time_point next = limit;
    for (const auto& [id, timer] : m_timers)
        if (timer.due < next)
            next = timer.due;
    return next;
}

void ConsoleLoop::FireDue()
{
    const Clock::time_point now = Clock::now();
    std::vector<int> due;
    for (const auto& [id, timer] : m_timers)
        if (timer.due <= now)
            due.push_back(id);
    for (int id : due) {
        // A handler may kill or restart any timer, this one included.
        const auto it = m_timers.find(id);
        if (it == m_timers.end() || it->second.due > now)
            continue;
        it->second.due = now + it->second.period;
        ++m_fired[id];
        m_onTimer(id);
    }
}

bool ConsoleLoop::RunUntil(const std::function<bool()>& done, int timeoutMs)
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
        FireDue();
    }
    return true;
}
