#include "cli/ConsoleLoop.h"

ConsoleLoop::ConsoleLoop(MessageQueue& queue, MessageHandler onMessage, TimerHandler onTimer)
    : m_loop(queue, std::move(onMessage)), m_onTimer(std::move(onTimer))
{
    m_loop.AddTimers(m_timers, [this](int id) {
        ++m_fired[id];
        m_onTimer(id);
    });
}

int ConsoleLoop::Fired(int id) const
{
    const auto it = m_fired.find(id);
    return it == m_fired.end() ? 0 : it->second;
}
