#pragma once

#include "workflow/WorkflowView.h"

#include <chrono>
#include <functional>
#include <map>

// A workflow's timers as deadlines, for a loop that waits for them itself.
// Timers repeat until killed, like window timers.
class DeadlineTimers : public ITimerHost {
public:
    using Clock = std::chrono::steady_clock;

    void SetTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;
    bool Running(int id) const { return m_timers.count(id) != 0; }

    // The earliest deadline, or limit when none comes before it.
    Clock::time_point NextDue(Clock::time_point limit) const;
    // Calls onTimer for each timer due now and starts its next period; a
    // handler may kill or restart any timer, its own included.
    void FireDue(const std::function<void(int)>& onTimer);

private:
    struct Timer {
        std::chrono::milliseconds period;
        Clock::time_point due;
    };
    std::map<int, Timer> m_timers;
};
