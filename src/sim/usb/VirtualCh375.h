#pragma once

#include "link/usb/Ch375Library.h"
#include "sim/usb/VirtualUsbLogger.h"

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The CH375 library with virtual USB loggers plugged into its 16 places
// instead of hardware. Frames go to the logger object and its replies come
// back through the same calls the libusb library offers, with knobs for the
// faults a real link shows. Reply latency is counted on a virtual clock
// (ElapsedMs) unless real time is switched on, so tests never sleep.
class CVirtualCh375 : public Ch375Library {
public:
    // Link checks of the open sequence that can be made to fail.
    enum LinkCheck : unsigned { CheckReset = 1, CheckVersion = 2, CheckUsbId = 4, CheckTimeout = 8 };

    struct Faults {
        int failWrites = 0;      // the next N writes fail; -1: every write
        int failReads = 0;       // the next N reads fail; -1: every read
        int echoByte = -1;       // reply byte to corrupt ...
        int echoCount = 0;       // ... in the next N replies; -1: in every reply
        int echoAfter = 0;       // replies to let pass before corrupting
        int failBlockReads = 0;  // the next N sample-block requests get no reply
        int replyShortBy = 0;    // bytes missing at the end of every reply
        int latencyMs = 0;       // time each reply takes; beyond the read timeout it is lost
        unsigned failChecks = 0; // LinkCheck bits
    };

    // Puts a logger at index; notify announces the arrival to the routine.
    void Plug(int index, std::shared_ptr<CVirtualUsbLogger> logger, bool notify = true);
    void Unplug(int index, bool notify = true);
    std::shared_ptr<CVirtualUsbLogger> Logger(int index) const;

    Faults& GetFaults() { return m_faults; }
    void SetRealTime(bool sleep) { m_bRealTime = sleep; }
    long long ElapsedMs() const { return m_nElapsedMs; }
    bool IsOpen(int index) const;

    // Calls made, e.g. "OpenDevice 0", "GetDrvVersion", "WriteData 0 7"
    // (bytes to send), "ReadData 0 42" (bytes wanted).
    std::vector<std::string> Calls() const;
    void ClearCalls();

    std::intptr_t CH375OpenDevice(unsigned long index) override;
    void CH375CloseDevice(unsigned long index) override;
    bool CH375ResetDevice(unsigned long index) override;
    unsigned long CH375GetDrvVersion() override;
    unsigned long CH375GetUsbID(unsigned long index) override;
    bool CH375SetTimeoutEx(unsigned long index, unsigned long writeMs, unsigned long readMs,
                           unsigned long auxWriteMs, unsigned long auxReadMs) override;
    bool CH375WriteData(unsigned long index, const void* buffer, unsigned long* length) override;
    bool CH375ReadData(unsigned long index, void* buffer, unsigned long* length) override;
    // Arrivals and removals are announced on the thread that calls Plug/Unplug.
    bool CH375SetDeviceNotify(unsigned long index, const char* deviceName, NotifyRoutine routine) override;
    bool CH375DevicePresent(unsigned long index) override;

private:
    struct Place {
        std::shared_ptr<CVirtualUsbLogger> logger;
        bool open = false;
        unsigned long readTimeoutMs = 1000;
    };

    Place* OpenPlace(unsigned long index);
    void Log(const std::string& call, unsigned long index);
    static bool Consume(int& counter);
    void Wait(unsigned long ms);

    mutable std::mutex m_mutex;
    std::array<Place, kMaxDevices> m_places{};
    Faults m_faults;
    bool m_bRealTime = false;
    long long m_nElapsedMs = 0;
    std::vector<std::string> m_calls;
    NotifyRoutine m_notify;
};
