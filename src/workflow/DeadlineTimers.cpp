#include "workflow/DeadlineTimers.h"

#include <vector>

void DeadlineTimers::SetTimer(int id, int milliseconds)
{
    const std::chrono::milliseconds period(milliseconds > 0 ? milliseconds : 1);
    m_timers[id] = Timer{period, Clock::now() + period};
}

void DeadlineTimers::KillTimer(int id)
{
    m_timers.erase(id);
}

DeadlineTimers::Clock::time_point DeadlineTimers::NextDue(Clock::time_point limit) const
{
    Clock::time_point next = limit;
    for (const auto& [id, timer] : m_timers)
        if (timer.due < next)
            next = timer.due;
    return next;
}

void DeadlineTimers::FireDue(const std::function<void(int)>& onTimer)
{
    const Clock::time_point now = Clock::now();
    std::vector<int> due;
    for (const auto& [id, timer] : m_timers)
        if (timer.due <= now)
            due.push_back(id);
    for (int id : due) {
        const auto it = m_timers.find(id);
        if (it == m_timers.end() || it->second.due > now)
            continue;
        it->second.due = now + it->second.period;
        onTimer(id);
    }
}
