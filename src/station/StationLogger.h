#pragma once

#include "archive/Archive.h"
#include "station/MissionFiles.h"
#include "station/StationRow.h"
#include "station/StationSettings.h"
#include "workflow/DeadlineTimers.h"
#include "workflow/DownloadAuditHold.h"
#include "workflow/LoggerConnection.h"

#include <chrono>
#include <functional>


// What every logger of a station files its mission with.
struct StationContext {
    const StationSettings& settings;
    DisplaySettings& display;
    // Indexes an archived mission's data file in the archive (Failed with
    // the reason when it cannot be reached now); none at all: nowhere.
    std::function<ImportResult(const QString& dataFile)> index;
    IAuditSink* audit = nullptr; // where downloads and stops are recorded; null: nowhere
};

// One logger's timers inside the set its station shares: workflow timer id
// becomes Base(key) + id.
class SharedTimers : public ITimerHost {
public:
    static constexpr int kIdsPerLogger = 8;
    static int Base(int key) { return key * kIdsPerLogger; }

    SharedTimers(DeadlineTimers& timers, int key) : m_timers(timers), m_base(Base(key)) {}
    void SetTimer(int id, int milliseconds) override { m_timers.SetTimer(m_base + id, milliseconds); }
    void KillTimer(int id) override { m_timers.KillTimer(m_base + id); }
    void KillAll();

private:
    DeadlineTimers& m_timers;
    int m_base;
};

// One logger in the receiving station: its own connection, driven from
// identification through the download to its filed mission, once per
// attachment. Its row says how far it got.
class StationLogger : private IWorkflowView {
public:
    using Emit = std::function<void(StationEvent::Kind, const StationRow&)>;

    StationLogger(int key, DeadlineTimers& timers, const StationContext& context);
    ~StationLogger() override;
    StationLogger(const StationLogger&) = delete;
    StationLogger& operator=(const StationLogger&) = delete;

    // Attaches the CH375 device at index, or the tty at path; false when it
    // is not there.
    bool AttachUsb(int index);
    bool AttachPort(const QString& path);

    // Moves the logger on after a message or a timer tick.
    void Advance(const Emit& tell);
    // The logger was pulled out: a mission not yet filed fails.
    void Detach(const Emit& tell);
    // Ends the logger's work without filing anything, for reason.
    void Fail(const QString& reason, const Emit& tell);

    const StationRow& Row() const { return m_row; }
    LoggerConnection& Connection() { return m_connection; }
    bool Busy() const { return m_row.attached && (m_row.state == StationState::Identifying || m_row.state == StationState::Downloading); }
    int UsbIndex() const { return m_usbIndex; }
    // The serial port number the logger is attached under, 0 over USB.
    int SerialPort() const { return m_port; }
    // A write into the archive folder failed for this logger.
    bool WriteFailed() const { return m_writeFailed; }

private:
    void Identified(const Emit& tell);
    void StartDownload(const Emit& tell);
    void Progress(const Emit& tell, bool force);
    void DownloadEnded(const Emit& tell);
    void File(const Emit& tell);
    void Index();
    void Release();

    const StationContext& m_context;
    SharedTimers m_timers;
    CDownloadAuditHold m_audit; // a download's entry waits for its filed data file
    LoggerConnection m_connection;
    StationRow m_row;
    int m_usbIndex = -1;
    int m_port = 0;
    bool m_registeredPort = false;
    bool m_writeFailed = false;
    std::chrono::steady_clock::time_point m_lastProgress{};
};
