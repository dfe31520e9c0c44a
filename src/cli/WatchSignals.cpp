#include "cli/WatchSignals.h"

#include <csignal>
#include <pthread.h>

namespace {

sigset_t WatchedSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGUSR1})
        sigaddset(&set, s);
    return set;
}

} // namespace

WatchSignals::WatchSignals()
{
    const sigset_t set = WatchedSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    m_thread = std::thread([this] { Run(); });
}

WatchSignals::~WatchSignals()
{
    m_ending = true;
    pthread_kill(m_thread.native_handle(), SIGUSR1);
    m_thread.join();
}

void WatchSignals::WakeWith(std::function<void()> wake)
{
    std::lock_guard lock(m_mutex);
    m_wake = std::move(wake);
}

void WatchSignals::Run()
{
    const sigset_t set = WatchedSignals();
    for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0 || m_ending)
            return;
        if (signal == SIGUSR1)
            continue;
        m_stopped = true;
        std::lock_guard lock(m_mutex);
        if (m_wake)
            m_wake();
    }
}
