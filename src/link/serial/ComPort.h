#pragma once

#include "link/serial/SerialPort.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace LsComm {

// Called on the read thread with the user data, the bytes of one chunk and
// their number (1 .. 2048). The bytes are valid only during the call.
using DataCallback = void (*)(void* userData, const unsigned char* bytes, int count);
// Called on the read thread with the user data when the line has been quiet
// for m_nQuietMs after bytes arrived (after the chunk holding them).
using QuietCallback = void (*)(void* userData);

class CComPort;

// State of the read thread of one open port. The thread waits in poll() on
// the port, the close event and the write event, collects received bytes into
// chunks of at most 2048 (a pause of m_nChunkPauseMs ends a chunk), hands each
// chunk to the owner's data callback, reports a quiet line to the quiet
// callback, and writes out what WritePort could not write at once. It ends at
// the close event or when the device is gone.
class CReadComThread {
public:
    CReadComThread(CComPort* owner, int chunkPauseMs, int quietMs);
    virtual ~CReadComThread(); // joins the thread
    CReadComThread(const CReadComThread&) = delete;
    CReadComThread& operator=(const CReadComThread&) = delete;

    bool Start();

    CComPort* m_pComPort;
    const int m_nChunkPauseMs;
    const int m_nQuietMs;
    unsigned char m_byBuf[2048] = {};
    std::uint32_t m_nBytes = 0;
    std::atomic<int> m_bFinished{0};

private:
    void ThreadMain();
    void Deliver();
    void ReportQuiet();

    std::thread m_thread;
};

// The port object: opens one port by number (through PortTable), runs its read
// thread, writes without blocking, closes promptly, and lists the ports.
// OpenPort, ClosePort, WritePort and ScanPorts are called on the main thread.
class CComPort {
public:
    static constexpr int kPorts = 256;
    static constexpr int kChunkSize = 2048;
    // Bytes that could not be written by then are dropped.
    static constexpr std::chrono::milliseconds kWriteDeadline{2000};

    CComPort();
    virtual ~CComPort();
    CComPort(const CComPort&) = delete;
    CComPort& operator=(const CComPort&) = delete;

    // Opens port number `port`; the result is whether the handle is valid.
    bool OpenPort(int port);
    // Stops the read thread and closes the port; returns as soon as the
    // thread has ended. Does nothing when no port is open.
    void ClosePort();
    // Writes what the device takes at once and leaves the rest to the read
    // thread; never blocks. Returns the bytes accepted (written or queued).
    int WritePort(const unsigned char* bytes, int count);
    // Fills m_nPortNo and m_nPresent for ports 1 .. 256; returns how many
    // could be opened. A port held by anyone, this object included, is absent.
    int ScanPorts();

    bool IsOpen() const { return m_pSerialPort && m_pSerialPort->IsValid(); }
    // The open port is the device of `port` and it is still there.
    bool HoldsPort(int port) const;
    // Discards pending input (the driver's and the unfinished chunk is kept).
    void PurgeInput() const;
    // The read thread has ended (by the close event or a vanished device).
    bool ThreadFinished() const { return !m_pReadThread || m_pReadThread->m_bFinished.load(); }

    CSerialPort* m_pSerialPort = nullptr;
    CReadComThread* m_pReadThread = nullptr;
    void* m_pUserData = nullptr;
    int m_nPort = 0;
    DataCallback m_pfnOnData = nullptr;
    QuietCallback m_pfnOnQuiet = nullptr;
    int m_hCloseEvent = -1; // eventfd
    int m_nPortNo[kPorts] = {};
    int m_nPresent[kPorts] = {};
    // A pause this long ends a received chunk (taken by OpenPort).
    int m_nChunkPauseMs = 150;
    // A pause this long after received bytes is reported as a quiet line
    // (taken by OpenPort).
    int m_nQuietMs = 150;

private:
    friend class CReadComThread;

    // Write side, shared by the caller of WritePort and the read thread.
    void FlushPending();
    bool HasPending();
    int MsToDeadline();
    void DropExpired(std::chrono::steady_clock::time_point now);
    void DropExpiredLocked(std::chrono::steady_clock::time_point now);

    int m_hWriteEvent = -1; // eventfd: bytes are waiting to be written
    std::mutex m_writeMutex;
    std::vector<unsigned char> m_pending;
    std::chrono::steady_clock::time_point m_deadline;
};

} // namespace LsComm
