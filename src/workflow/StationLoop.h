#pragma once

#include "workflow/EventLoop.h"
#include "workflow/LoggerConnection.h"

#include <memory>
#include <vector>

// Several logger connections on one thread, each attached to its own
// device: one message queue, whose messages every connection is offered
// (each takes those addressed to it), and each connection's timers. The
// connections leave hot-plug alone.
class StationLoop {
public:
    explicit StationLoop(MessageQueue& queue);
    ~StationLoop();
    StationLoop(const StationLoop&) = delete;
    StationLoop& operator=(const StationLoop&) = delete;

    // A new connection whose workflow shows on view, its texts as display says.
    LoggerConnection& Add(IWorkflowView& view, DisplaySettings& display);

    bool RunUntil(const std::function<bool()>& done, int timeoutMs) { return m_loop.RunUntil(done, timeoutMs); }

private:
    struct Station {
        DeadlineTimers timers;
        std::unique_ptr<LoggerConnection> connection;
    };

    std::vector<std::unique_ptr<Station>> m_stations;
    EventLoop m_loop;
};
