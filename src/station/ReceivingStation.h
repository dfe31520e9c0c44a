#pragma once

#include "base/Messages.h"
#include "station/StationLogger.h"
#include "station/StationSettings.h"
#include "workflow/DeadlineTimers.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class CArchive;

// The receiving station: every logger attached (USB and serial, plugged in
// now or later) gets its own connection, is identified, downloaded once
// and filed into the archive folder with the reports chosen, several at
// once on one thread. The front end runs the loop: it hands every message
// to OnMessage and runs Timers(), whose ticks go to OnTimer. Events go to
// the listener as they happen.
class ReceivingStation {
public:
    using Listener = std::function<void(const StationEvent&)>;

    ReceivingStation(StationSettings settings, DisplaySettings& display, Listener listener);
    ~ReceivingStation();
    ReceivingStation(const ReceivingStation&) = delete;
    ReceivingStation& operator=(const ReceivingStation&) = delete;

    // Where filed missions are indexed (null: nowhere); it must outlive the station.
    void SetIndex(CArchive* archive);
    // Called at each filing to index the data file, so an archive that could
    // not be reached at first is used once it can be.
    void SetIndexer(std::function<ImportResult(const QString& dataFile)> indexer)
    {
        m_context.index = std::move(indexer);
    }
    // Where the loggers' downloads and stops are recorded (null: nowhere);
    // it must outlive the station.
    void SetAudit(IAuditSink* audit) { m_context.audit = audit; }
    const StationSettings& Settings() const { return m_settings; }

    // Takes the device notifications and attaches the loggers present.
    void Start();
    // Lets go of every logger and of the notifications; the rows stay.
    void Stop();
    bool Running() const { return m_running; }

    void OnMessage(const Message& message);
    void OnTimer(int id);
    DeadlineTimers& Timers() { return m_timers; }

    // Every logger seen, in the order they came.
    std::vector<StationRow> Rows() const;
    // The connection of the row with key, null once its logger is gone.
    LoggerConnection* ConnectionOf(int key);
    // A logger is being identified or downloaded.
    bool Busy() const;
    // Fails every logger still being identified, for reason.
    void FailIdentifying(const QString& reason);
    // A write into the archive folder failed (for any logger, so far).
    bool AnyWriteFailed() const;

private:
    void OnUsbNotify(unsigned long event);
    void OnSerialNotify(int value);
    void ScanUsb();
    void ScanPorts();
    bool Watched(const QString& path) const;
    StationLogger* LoggerOnUsb(int index);
    StationLogger* LoggerOnPort(const QString& path);
    StationLogger& NewLogger();
    void Attached(StationLogger& logger);
    void AdvanceAll();
    void Emit(StationEvent::Kind kind, const StationRow& row);

    StationSettings m_settings;
    StationContext m_context;
    Listener m_listener;
    const MessageAddress m_address;
    DeadlineTimers m_timers;
    bool m_running = false;
    int m_nextKey = 1;
    std::map<int, std::unique_ptr<StationLogger>> m_loggers; // attached, by key
    std::map<int, StationRow> m_gone;                        // rows of loggers pulled out
    bool m_writeFailed = false;
};
