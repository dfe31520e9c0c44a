#include "workflow/StationLoop.h"

StationLoop::StationLoop(MessageQueue& queue)
    : m_loop(queue, [this](const Message& m) {
          for (const auto& station : m_stations)
              station->connection->Workflow().OnMessage(m);
      })
{
}

StationLoop::~StationLoop()
{
    for (const auto& station : m_stations)
        station->connection->Workflow().Shutdown();
}

LoggerConnection& StationLoop::Add(IWorkflowView& view, DisplaySettings& display)
{
    auto station = std::make_unique<Station>();
    station->connection = std::make_unique<LoggerConnection>(view, station->timers, display);
    LoggerWorkflow& workflow = station->connection->Workflow();
    workflow.SetHotPlug(false);
    m_loop.AddTimers(station->timers, [&workflow](int id) { workflow.OnTimer(id); });
    m_stations.push_back(std::move(station));
    return *m_stations.back()->connection;
}
