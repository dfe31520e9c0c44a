#pragma once

#include "workflow/EventLoop.h"

#include <map>

// The CLI's event loop for one workflow: its timers as deadlines, and the
// message queue the other threads post to, waited on until the next
// deadline. Timers repeat until killed, like window timers.
class ConsoleLoop : public ITimerHost {
public:
    using MessageHandler = EventLoop::MessageHandler;
    using TimerHandler = EventLoop::TimerHandler;

    ConsoleLoop(MessageQueue& queue, MessageHandler onMessage, TimerHandler onTimer);

    void SetTimer(int id, int milliseconds) override { m_timers.SetTimer(id, milliseconds); }
    void KillTimer(int id) override { m_timers.KillTimer(id); }

    // Delivers messages and timer ticks until done() holds (true) or
    // timeoutMs have passed (false); a negative timeout waits for ever.
    bool RunUntil(const std::function<bool()>& done, int timeoutMs) { return m_loop.RunUntil(done, timeoutMs); }
    // Delivers the messages already waiting, without waiting for more.
    void DeliverPending() { m_loop.DeliverPending(); }
    // How often timer id has fired.
    int Fired(int id) const;
    bool Running(int id) const { return m_timers.Running(id); }

private:
    DeadlineTimers m_timers;
    EventLoop m_loop;
    TimerHandler m_onTimer;
    std::map<int, int> m_fired;
};
