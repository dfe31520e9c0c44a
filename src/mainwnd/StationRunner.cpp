#include "mainwnd/StationRunner.h"

#include "archive/Archive.h"
#include "archive/ArchiveAddress.h"

#include <chrono>

namespace {

// Longest wait between two looks at the station's deadlines when none is due.
constexpr std::chrono::hours kIdle(1);

} // namespace

CStationRunner::CStationRunner(DisplaySettings& display, ReceivingStation::Listener listener, QObject* parent)
    : QObject(parent), m_display(display), m_listener(std::move(listener))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CStationRunner::Tick);
}

CStationRunner::~CStationRunner()
{
    Stop();
}

void CStationRunner::Start(const StationSettings& settings,
                           const std::function<ImportResult(const QString& dataFile)>& indexer, IAuditSink* audit)
{
    Stop();
    m_station = std::make_unique<ReceivingStation>(settings, m_display, m_listener);
    m_station->SetIndexer(indexer);
    m_station->SetAudit(audit);
    m_station->Start();
    Rearm();
}

void CStationRunner::Stop()
{
    m_timer.stop();
    m_station.reset();
}

void CStationRunner::OnMessage(const Message& message)
{
    if (!m_station)
        return;
    m_station->OnMessage(message);
    Rearm();
}

void CStationRunner::Rearm()
{
    if (!m_station)
        return;
    using Clock = DeadlineTimers::Clock;
    const Clock::time_point now = Clock::now();
    const Clock::time_point due = m_station->Timers().NextDue(now + kIdle);
    if (due >= now + kIdle) {
        m_timer.stop();
        return;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - now).count();
    m_timer.start(static_cast<int>(wait > 0 ? wait : 0));
}

void CStationRunner::Tick()
{
    if (!m_station)
        return;
    m_station->Timers().FireDue([this](int id) { m_station->OnTimer(id); });
    Rearm();
}
