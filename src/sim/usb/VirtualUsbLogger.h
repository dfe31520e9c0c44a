#pragma once

#include "record/LoggerRecord.h"
#include "sim/LiveMission.h"

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

// A USB logger as the host sees it through its request frames: identity,
// mission settings, clock, run state, battery, description and sample
// memory. Its clock moves only through Advance/SetClock, so a test steps it
// deterministically; a mission starts, records samples and stops as a real
// logger's would. The type (1..4) follows from the ID like the host decides it.
class CVirtualUsbLogger {
public:
    // A reading pair (temperature, humidity) in hundredths for sample i.
    using Generator = std::function<std::pair<std::int16_t, std::int16_t>(int index)>;

    CVirtualUsbLogger(const QByteArray& id, time64 clock);

    // Host side: one frame written, and the reply it produced (if any).
    void Receive(const std::uint8_t* frame, int n);
    bool HasReply() const { return m_bHasReply; }
    QByteArray TakeReply();

    // Steps the clock: a pending mission starts at its start time, and a
    // running one records one sample per interval until memory is full.
    void Advance(time64 seconds);
    void SetClock(time64 t);
    // From now on the clock also runs by itself, `scale` times as fast as the
    // computer's (checked at every frame), so a mission records as the
    // program runs.
    void RunClock(double scale);

    // Starts a mission as a settings frame would (clears the memory).
    void StartMission(time64 start, int intervalMinutes);
    void Stop();
    void SetSamples(std::vector<std::int16_t> temp, std::vector<std::int16_t> humi = {});
    void SetGenerator(Generator generator) { m_generator = std::move(generator); }
    void SetDescription(const QByteArray& bytes); // up to 50 bytes, zero-padded

    // The data bytes of the information reply (35, 40 or 50 by type).
    QByteArray InfoBlock() const;
    // Raw bytes that replace part of the information block from now on
    // (data byte offset), for replies no sane logger would send.
    void PatchInfo(int offset, const QByteArray& bytes) { m_patches[offset] = bytes; }
    void ClearPatches() { m_patches.clear(); }

    int Type() const { return m_nType; }
    int SampleCount() const { return static_cast<int>(m_temp.size()); }
    int MemoryCapacity() const; // samples the memory can hold

    QByteArray m_id;
    time64 m_tClock;
    time64 m_tStart;
    time64 m_tStop;          // when the last mission stopped
    int m_nIntervalMinutes = 1;
    int m_nRunState = 0;     // 0 stopped, 1 recording, 2 start pending
    int m_nBattery = 7;
    std::int16_t m_nHighLimit = 0; // hundredths of a degree C
    std::int16_t m_nLowLimit = 0;
    std::int16_t m_nHumiHigh = 0;  // hundredths of %RH
    std::int16_t m_nHumiLow = 0;
    QByteArray m_description;      // 50 bytes
    std::vector<std::int16_t> m_temp;
    std::vector<std::int16_t> m_humi;
    // The last settings frame accepted (for inspection).
    QByteArray m_lastSettings;
    // Fault knob: false makes the logger drop description writes.
    bool m_bKeepsDescription = true;

private:
    void Reply(const std::uint8_t* data, int n);
    void OnInfo(const std::uint8_t* frame);
    void OnBlock(const std::uint8_t* frame);
    void OnRunState(const std::uint8_t* frame);
    void OnReadDescription(const std::uint8_t* frame);
    void OnSettings(const std::uint8_t* frame, int n);
    void OnWriteDescription(const std::uint8_t* frame, int n);
    bool ApplySettings(const std::uint8_t* frame, int n);
    void RecordDue();
    void CatchUp();
    QByteArray Memory() const;
    int BytesPerSample() const { return m_nType == 4 ? 4 : 2; }
    bool HasRunState() const { return m_nType == 1 || m_nType == 3 || m_nType == 4; }
    bool HasDescription() const { return m_nType == 3 || m_nType == 4; }

    int m_nType;
    time64 m_tNextSample = 0;
    bool m_bDescriptionArmed = false; // first description request seen
    bool m_bHasReply = false;
    QByteArray m_reply;
    std::map<int, QByteArray> m_patches;
    Generator m_generator;
    std::optional<LiveClock> m_live;
};
