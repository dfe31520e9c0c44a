#include "link/serial/ComPort.h"

#include "link/FrameTrace.h"
#include "link/serial/PortTable.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace LsComm {

namespace {

constexpr const char* kLink = "serial";

using Clock = std::chrono::steady_clock;

void ClearEvent(int fd)
{
    eventfd_t value = 0;
    ::eventfd_read(fd, &value);
}

// Milliseconds from now to t, at least 0.
int MsUntil(Clock::time_point t)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(t - Clock::now());
    return std::max(0, static_cast<int>(left.count()));
}

int EarlierTimeout(int timeout, int ms)
{
    return timeout < 0 ? ms : std::min(timeout, ms);
}

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

// ---- read thread ----

CReadComThread::CReadComThread(CComPort* owner, int chunkPauseMs, int quietMs)
    : m_pComPort(owner)
    , m_nChunkPauseMs(chunkPauseMs)
    , m_nQuietMs(quietMs)
{
}

CReadComThread::~CReadComThread()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool CReadComThread::Start()
{
    try {
        m_thread = std::thread([this] { ThreadMain(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CReadComThread::Deliver()
{
    if (m_nBytes == 0)
        return;
    const int count = static_cast<int>(m_nBytes);
    m_nBytes = 0;
    FrameTrace::Instance().Record(kLink, FrameTrace::Dir::In, m_byBuf, count);
    if (m_pComPort->m_pfnOnData)
        m_pComPort->m_pfnOnData(m_pComPort->m_pUserData, m_byBuf, count);
}

void CReadComThread::ReportQuiet()
{
    if (m_pComPort->m_pfnOnQuiet)
        m_pComPort->m_pfnOnQuiet(m_pComPort->m_pUserData);
}

void CReadComThread::ThreadMain()
{
    CComPort& port = *m_pComPort;
    const int fd = port.m_pSerialPort->m_hPort;
    const auto pause = std::chrono::milliseconds(m_nChunkPauseMs);
    const auto quiet = std::chrono::milliseconds(m_nQuietMs);
    Clock::time_point lastByte;
    bool awaitQuiet = false; // bytes arrived since the last quiet report
    bool running = true;
    while (running) {
        int timeout = -1;
        if (m_nBytes > 0)
            timeout = MsUntil(lastByte + pause);
        if (awaitQuiet)
            timeout = EarlierTimeout(timeout, MsUntil(lastByte + quiet));
        const bool pending = port.HasPending();
        if (pending)
            timeout = EarlierTimeout(timeout, port.MsToDeadline());
        pollfd fds[3] = {{port.m_hCloseEvent, POLLIN, 0},
                         {port.m_hWriteEvent, POLLIN, 0},
                         {fd, static_cast<short>(POLLIN | (pending ? POLLOUT : 0)), 0}};
        const int ready = ::poll(fds, 3, timeout);
        if (ready < 0 && errno != EINTR)
            break;
        if (fds[0].revents)
            break;
        if (fds[1].revents)
            ClearEvent(port.m_hWriteEvent);
        if (fds[2].revents & POLLIN) {
            const ssize_t n = ::read(fd, m_byBuf + m_nBytes, sizeof m_byBuf - m_nBytes);
            if (n > 0) {
                m_nBytes += static_cast<std::uint32_t>(n);
                lastByte = Clock::now();
                awaitQuiet = true;
                if (m_nBytes == sizeof m_byBuf)
                    Deliver();
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                running = false; // the device is gone
            }
        } else if (fds[2].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            running = false;
        }
        if (running && (fds[2].revents & POLLOUT))
            port.FlushPending();
        if (m_nBytes > 0 && (!running || Clock::now() - lastByte >= pause))
            Deliver();
        if (running && awaitQuiet && m_nBytes == 0 && Clock::now() - lastByte >= quiet) {
            awaitQuiet = false;
            ReportQuiet();
        }
        port.DropExpired(Clock::now());
    }
    port.m_pSerialPort->PurgeInput();
    m_bFinished = 1;
}

// ---- port object ----

CComPort::CComPort() = default;

CComPort::~CComPort()
{
    ClosePort();
    delete m_pReadThread;
    delete m_pSerialPort;
    CloseFd(m_hCloseEvent);
    CloseFd(m_hWriteEvent);
}

bool CComPort::OpenPort(int port)
{
    ClosePort();
    delete m_pReadThread;
    m_pReadThread = nullptr;
    delete m_pSerialPort;
    m_pSerialPort = new CSerialPort;
    m_nPort = port;
    const QString path = PortTable::Instance().PathOf(port);
    if (path.isEmpty() || !m_pSerialPort->Open(path)) {
        FrameTrace::Instance().Note(kLink, QStringLiteral("open port %1 (%2) failed").arg(port).arg(path));
        return false;
    }
    FrameTrace::Instance().Note(kLink, QStringLiteral("open port %1 (%2)").arg(port).arg(path));
    m_hCloseEvent = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_hWriteEvent = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    {
        std::lock_guard lock(m_writeMutex);
        m_pending.clear();
    }
    m_pReadThread = new CReadComThread(this, m_nChunkPauseMs, m_nQuietMs);
    if (m_hCloseEvent < 0 || m_hWriteEvent < 0 || !m_pReadThread->Start())
        FrameTrace::Instance().Note(kLink, QStringLiteral("CreateThread failed."));
    return true;
}

void CComPort::ClosePort()
{
    if (!IsOpen())
        return;
    if (m_hCloseEvent >= 0)
        ::eventfd_write(m_hCloseEvent, 1);
    delete m_pReadThread; // joins: the thread leaves poll() at the close event
    m_pReadThread = nullptr;
    CloseFd(m_hCloseEvent);
    CloseFd(m_hWriteEvent);
    m_pSerialPort->Close();
    delete m_pSerialPort;
    m_pSerialPort = nullptr;
    {
        std::lock_guard lock(m_writeMutex);
        m_pending.clear();
    }
    FrameTrace::Instance().Note(kLink, QStringLiteral("close port %1").arg(m_nPort));
}

int CComPort::WritePort(const unsigned char* bytes, int count)
{
    if (!IsOpen() || count <= 0)
        return 0;
    FrameTrace::Instance().Record(kLink, FrameTrace::Dir::Out, bytes, count);
    std::lock_guard lock(m_writeMutex);
    DropExpiredLocked(Clock::now());
    int written = 0;
    if (m_pending.empty()) {
        const ssize_t n = ::write(m_pSerialPort->m_hPort, bytes, static_cast<size_t>(count));
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return 0;
        written = n > 0 ? static_cast<int>(n) : 0;
    }
    if (written < count) {
        if (m_pending.empty())
            m_deadline = Clock::now() + kWriteDeadline;
        m_pending.insert(m_pending.end(), bytes + written, bytes + count);
        if (m_hWriteEvent >= 0)
            ::eventfd_write(m_hWriteEvent, 1);
    }
    return count;
}

void CComPort::FlushPending()
{
    std::lock_guard lock(m_writeMutex);
    if (m_pending.empty() || !IsOpen())
        return;
    const ssize_t n = ::write(m_pSerialPort->m_hPort, m_pending.data(), m_pending.size());
    if (n > 0)
        m_pending.erase(m_pending.begin(), m_pending.begin() + n);
}

bool CComPort::HasPending()
{
    std::lock_guard lock(m_writeMutex);
    return !m_pending.empty();
}

int CComPort::MsToDeadline()
{
    std::lock_guard lock(m_writeMutex);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now());
    return std::max(0, static_cast<int>(left.count()));
}

void CComPort::DropExpired(Clock::time_point now)
{
    std::lock_guard lock(m_writeMutex);
    DropExpiredLocked(now);
}

void CComPort::DropExpiredLocked(Clock::time_point now)
{
    if (m_pending.empty() || now < m_deadline)
        return;
    FrameTrace::Instance().Note(kLink, QStringLiteral("write timed out, %1 bytes dropped").arg(m_pending.size()));
    m_pending.clear();
}

int CComPort::ScanPorts()
{
    int found = 0;
    for (int i = 0; i < kPorts; ++i) {
        m_nPortNo[i] = i + 1;
        m_nPresent[i] = CSerialPort::Probe(PortTable::Instance().PathOf(i + 1)) ? 1 : 0;
        found += m_nPresent[i];
    }
    return found;
}

bool CComPort::HoldsPort(int port) const
{
    return IsOpen() && m_nPort == port && m_pSerialPort->Holds(PortTable::Instance().PathOf(port));
}

void CComPort::PurgeInput() const
{
    if (IsOpen())
        m_pSerialPort->PurgeInput();
}

} // namespace LsComm
