#pragma once

#include "base/DisplaySettings.h"
#include "base/Messages.h"
#include "station/ReceivingStation.h"

#include <QObject>
#include <QTimer>
#include <memory>

class CArchive;

// Runs a receiving station on the window's event loop: the window hands it
// every message, and one single-shot timer, re-armed to the station's next
// deadline after every message and tick, fires its timers. Its missions are
// indexed in the archive the window's index source gives, and its actions
// recorded in the window's audit trail.
class CStationRunner : public QObject {
public:
    CStationRunner(DisplaySettings& display, ReceivingStation::Listener listener, QObject* parent = nullptr);
    ~CStationRunner() override;

    // Starts a station with settings (stopping one that runs), indexing its
    // missions' data files with indexer and recording into audit.
    void Start(const StationSettings& settings, const std::function<ImportResult(const QString& dataFile)>& indexer,
               IAuditSink* audit);
    // Lets go of every logger; the station's rows are dropped with it.
    void Stop();
    bool Running() const { return m_station != nullptr; }

    void OnMessage(const Message& message);
    ReceivingStation* Station() const { return m_station.get(); }
    // The timer that fires the station's deadlines (tests look at it).
    const QTimer& Timer() const { return m_timer; }

private:
    void Rearm();
    void Tick();

    DisplaySettings& m_display;
    ReceivingStation::Listener m_listener;
    std::unique_ptr<ReceivingStation> m_station;
    QTimer m_timer;
};
