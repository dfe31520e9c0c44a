#include "sim/usb/VirtualCh375.h"

#include "link/usb/UsbFrames.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace {
constexpr unsigned long kVersion = 0x0201;
constexpr unsigned long kUsbId = (0x5537ul << 16) | 0x4348ul;
} // namespace

void CVirtualCh375::Plug(int index, std::shared_ptr<CVirtualUsbLogger> logger, bool notify)
{
    NotifyRoutine routine;
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= kMaxDevices)
            return;
        m_places[index] = Place{std::move(logger)};
        routine = m_notify;
    }
    if (notify && routine)
        routine(kDeviceArrived);
}

void CVirtualCh375::Unplug(int index, bool notify)
{
    NotifyRoutine routine;
    {
        std::lock_guard lock(m_mutex);
        if (index < 0 || index >= kMaxDevices)
            return;
        m_places[index] = Place{};
        routine = m_notify;
    }
    if (notify && routine)
        routine(kDeviceRemoved);
}

std::shared_ptr<CVirtualUsbLogger> CVirtualCh375::Logger(int index) const
{
    std::lock_guard lock(m_mutex);
    return index >= 0 && index < kMaxDevices ? m_places[index].logger : nullptr;
}

bool CVirtualCh375::IsOpen(int index) const
{
    std::lock_guard lock(m_mutex);
    return index >= 0 && index < kMaxDevices && m_places[index].open;
}

std::vector<std::string> CVirtualCh375::Calls() const
{
    std::lock_guard lock(m_mutex);
    return m_calls;
}

void CVirtualCh375::ClearCalls()
{
    std::lock_guard lock(m_mutex);
    m_calls.clear();
}

void CVirtualCh375::Log(const std::string& call, unsigned long index)
{
    m_calls.push_back(call + " " + std::to_string(index));
}

bool CVirtualCh375::Consume(int& counter)
{
    if (counter < 0)
        return true;
    if (counter == 0)
        return false;
    --counter;
    return true;
}

void CVirtualCh375::Wait(unsigned long ms)
{
    m_nElapsedMs += static_cast<long long>(ms);
    if (m_bRealTime && ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

CVirtualCh375::Place* CVirtualCh375::OpenPlace(unsigned long index)
{
    if (index >= m_places.size() || !m_places[index].logger || !m_places[index].open)
        return nullptr;
    return &m_places[index];
}

std::intptr_t CVirtualCh375::CH375OpenDevice(unsigned long index)
{
    std::lock_guard lock(m_mutex);
    Log("OpenDevice", index);
    if (index >= m_places.size() || !m_places[index].logger)
        return kInvalidHandle;
    m_places[index].open = true;
    m_places[index].readTimeoutMs = 1000;
    return static_cast<std::intptr_t>(0x100 + index);
}

void CVirtualCh375::CH375CloseDevice(unsigned long index)
{
    std::lock_guard lock(m_mutex);
    Log("CloseDevice", index);
    if (index < m_places.size())
        m_places[index].open = false;
}

bool CVirtualCh375::CH375ResetDevice(unsigned long index)
{
    std::lock_guard lock(m_mutex);
    Log("ResetDevice", index);
    return OpenPlace(index) && !(m_faults.failChecks & CheckReset);
}

unsigned long CVirtualCh375::CH375GetDrvVersion()
{
    std::lock_guard lock(m_mutex);
    m_calls.push_back("GetDrvVersion");
    return (m_faults.failChecks & CheckVersion) ? 0 : kVersion;
}

unsigned long CVirtualCh375::CH375GetUsbID(unsigned long index)
{
    std::lock_guard lock(m_mutex);
    Log("GetUsbID", index);
    return OpenPlace(index) && !(m_faults.failChecks & CheckUsbId) ? kUsbId : 0;
}

bool CVirtualCh375::CH375SetTimeoutEx(unsigned long index, unsigned long, unsigned long readMs,
                                      unsigned long, unsigned long)
{
    std::lock_guard lock(m_mutex);
    Log("SetTimeoutEx", index);
    Place* place = OpenPlace(index);
    if (!place || (m_faults.failChecks & CheckTimeout))
        return false;
    place->readTimeoutMs = readMs;
    return true;
}

bool CVirtualCh375::CH375WriteData(unsigned long index, const void* buffer, unsigned long* length)
{
    std::lock_guard lock(m_mutex);
    Log("WriteData", index);
    if (length)
        m_calls.back().append(1, ' ').append(std::to_string(*length));
    Place* place = OpenPlace(index);
    if (!place || !length || *length > usbframe::kMaxFrame || Consume(m_faults.failWrites)) {
        if (length)
            *length = 0;
        return false;
    }
    const auto* frame = static_cast<const std::uint8_t*>(buffer);
    const int n = static_cast<int>(*length);
    place->logger->Receive(frame, n);
    if (n == usbframe::kRequestLength && usbframe::HasSignature(frame, usbframe::kReadBlock)
        && Consume(m_faults.failBlockReads))
        place->logger->TakeReply();
    return true;
}

bool CVirtualCh375::CH375ReadData(unsigned long index, void* buffer, unsigned long* length)
{
    std::lock_guard lock(m_mutex);
    Place* place = OpenPlace(index);
    const unsigned long wanted = length ? *length : 0;
    Log("ReadData", index);
    m_calls.back().append(1, ' ').append(std::to_string(wanted));
    if (length)
        *length = 0;
    if (!place || !length || Consume(m_faults.failReads))
        return false;
    if (!place->logger->HasReply()) {
        Wait(place->readTimeoutMs); // nothing comes: the read times out
        return false;
    }
    QByteArray reply = place->logger->TakeReply();
    if (static_cast<unsigned long>(m_faults.latencyMs) > place->readTimeoutMs) {
        Wait(place->readTimeoutMs);
        return false;
    }
    Wait(static_cast<unsigned long>(m_faults.latencyMs));
    if (m_faults.echoByte >= 0 && m_faults.echoByte < reply.size() && !Consume(m_faults.echoAfter)
        && Consume(m_faults.echoCount))
        reply[m_faults.echoByte] = static_cast<char>(reply[m_faults.echoByte] ^ 0x5A);
    if (m_faults.replyShortBy > 0)
        reply.chop(m_faults.replyShortBy);
    const unsigned long n = std::min<unsigned long>(wanted, static_cast<unsigned long>(reply.size()));
    std::memcpy(buffer, reply.constData(), n);
    *length = n;
    return true;
}

bool CVirtualCh375::CH375SetDeviceNotify(unsigned long, const char*, NotifyRoutine routine)
{
    std::lock_guard lock(m_mutex);
    m_notify = std::move(routine);
    return true;
}

bool CVirtualCh375::CH375DevicePresent(unsigned long index)
{
    std::lock_guard lock(m_mutex);
    return index < m_places.size() && m_places[index].logger != nullptr;
}
