#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

// SIGINT, SIGTERM and SIGHUP as a stop request: blocked for the whole
// process (make this before any other thread starts, so all inherit the
// mask) and taken by a thread of their own, which sets Stopped() and wakes
// the loop through the routine given.
class WatchSignals {
public:
    WatchSignals();
    ~WatchSignals();
    WatchSignals(const WatchSignals&) = delete;
    WatchSignals& operator=(const WatchSignals&) = delete;

    bool Stopped() const { return m_stopped.load(); }
    // wake is called on the signal thread; null for none.
    void WakeWith(std::function<void()> wake);

private:
    void Run();

    std::atomic<bool> m_stopped{false};
    std::atomic<bool> m_ending{false};
    std::mutex m_mutex;
    std::function<void()> m_wake;
    std::thread m_thread;
};
