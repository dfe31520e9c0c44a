#include "link/usb/UsbDriver.h"

#include "link/FrameTrace.h"
#include "link/SettingsBlock.h"
#include "link/usb/BlockDecode.h"
#include "link/usb/Ch375Library.h"
#include "link/usb/InfoLayout.h"
#include "link/usb/SettingsFrame.h"
#include "link/usb/UsbFrames.h"
#include "record/LoggerRecord.h"
#include "record/LoggerType.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace {

constexpr char kLink[] = "usb";
constexpr unsigned long kTimeoutMs = 1000;

void Request(std::uint8_t* out, const std::uint8_t (&signature)[4])
{
    std::memcpy(out, signature, 4);
    out[4] = out[5] = out[6] = 0;
}

} // namespace

UsbDriver::UsbDriver(CLoggerRecord& record)
    : m_pRecord(&record)
{
}

std::vector<int> UsbDriver::Scan()
{
    Ch375Library& lib = GetCh375Library();
    std::vector<int> found;
    for (int index = 0; index < Ch375Library::kMaxDevices; ++index) {
        if (lib.CH375OpenDevice(index) == Ch375Library::kInvalidHandle)
            continue;
        lib.CH375CloseDevice(index);
        found.push_back(index);
    }
    return found;
}

bool UsbDriver::Attach(int index)
{
    Ch375Library& lib = GetCh375Library();
    const auto device = static_cast<unsigned long>(index);
    if (lib.CH375OpenDevice(device) == Ch375Library::kInvalidHandle)
        return false;
    lib.CH375CloseDevice(device);
    m_nDeviceIndex = index;
    return true;
}

void UsbDriver::Detach()
{
    GetCh375Library().CH375CloseDevice(Index());
}

DriverReply UsbDriver::Identify(bool stop)
{
    return ReadInfo(stop) ? DriverReply::Done : DriverReply::Failed;
}

DriverReply UsbDriver::Download(bool stop)
{
    return Identify(stop);
}

DriverReply UsbDriver::ReadStatus()
{
    return ReadRunState(m_pRecord->m_nRunState, m_pRecord->m_nBattery) ? DriverReply::Done : DriverReply::Failed;
}

DriverReply UsbDriver::Configure(const MissionSettings& settings)
{
    const SettingsBlock block = BuildSettingsBlock(m_pRecord->m_nType, SettingsLink::Usb, settings);
    if (block.length <= 0)
        return DriverReply::Refused;
    return WriteSettings(block.bytes.data(), block.length) ? DriverReply::Done : DriverReply::Failed;
}

DriverReply UsbDriver::SetClock()
{
    UsbFrame frame;
    const QString id = m_pRecord->m_strValue[ROW_ID].left(11);
    if (!BuildClockFrame(id, static_cast<time64>(std::time(nullptr)), frame))
        return DriverReply::Refused;
    return WriteSettings(frame.bytes.data(), frame.length) ? DriverReply::Done : DriverReply::Failed;
}

unsigned long UsbDriver::Index() const
{
    return static_cast<unsigned long>(m_nDeviceIndex);
}

bool UsbDriver::OpenUsbDevice()
{
    Ch375Library& lib = GetCh375Library();
    const unsigned long index = Index();
    if (Present()) {
        lib.CH375CloseDevice(index);
        SetPresent(false);
    }
    m_hDevice = lib.CH375OpenDevice(index);
    if (m_hDevice == Ch375Library::kInvalidHandle) {
        FrameTrace::Instance().Note(kLink, QStringLiteral("no device at index %1").arg(index));
        return true;
    }
    // The first link check that answers ends the sequence.
    if (lib.CH375ResetDevice(index) || lib.CH375GetDrvVersion() || lib.CH375GetUsbID(index)
        || lib.CH375SetTimeoutEx(index, kTimeoutMs, kTimeoutMs, kTimeoutMs, kTimeoutMs)) {
        SetPresent(true);
        FrameTrace::Instance().Note(kLink, QStringLiteral("opened device %1").arg(index));
        return true;
    }
    lib.CH375CloseDevice(index);
    SetPresent(false);
    FrameTrace::Instance().Note(kLink, QStringLiteral("device %1 failed the link checks").arg(index));
    return false;
}

bool UsbDriver::WriteFrame(const std::uint8_t* frame, int n, unsigned long& written)
{
    written = static_cast<unsigned long>(n);
    FrameTrace::Instance().Record(kLink, FrameTrace::Dir::Out, frame, n);
    if (GetCh375Library().CH375WriteData(Index(), frame, &written))
        return true;
    FrameTrace::Instance().Note(kLink, QStringLiteral("write failed"));
    return false;
}

bool UsbDriver::ReadReply(unsigned long wanted)
{
    // A short reply must not leave bytes of an earlier one to be decoded.
    std::memset(m_byReply, 0, sizeof m_byReply);
    m_nReplyLength = 0;
    unsigned long length = std::min<unsigned long>(wanted, kReplySize);
    if (!GetCh375Library().CH375ReadData(Index(), m_byReply, &length)) {
        FrameTrace::Instance().Note(kLink, QStringLiteral("read of %1 bytes failed").arg(wanted));
        return false;
    }
    m_nReplyLength = static_cast<int>(length);
    FrameTrace::Instance().Record(kLink, FrameTrace::Dir::In, m_byReply,
                                  std::min(m_nReplyLength, kReplySize));
    return true;
}

bool UsbDriver::Exchange(const std::uint8_t* request, int n, int dataLength)
{
    unsigned long written = 0;
    return WriteFrame(request, n, written) && ReadReply(written + static_cast<unsigned long>(dataLength));
}

bool UsbDriver::EchoMatches(const std::uint8_t* request, int count) const
{
    return m_nReplyLength >= count && std::memcmp(m_byReply, request, static_cast<size_t>(count)) == 0;
}

bool UsbDriver::ReadInfo(bool bStop)
{
    std::uint8_t request[usbframe::kRequestLength];
    Request(request, usbframe::kReadInfo);
    if (bStop) {
        request[4] = usbframe::kStopParam[0];
        request[5] = usbframe::kStopParam[1];
    }
    CLoggerRecord& r = Record();
    if (!Exchange(request, usbframe::kRequestLength, usbframe::InfoDataLength(r.m_nType))
        || !EchoMatches(request, usbframe::kEchoLength))
        return false;

    const std::uint8_t* data = m_byReply + usbframe::kEchoLength;
    r.m_strValue[ROW_ID] = QString::fromLatin1(reinterpret_cast<const char*>(data), 11);
    r.m_nType = TypeFromIdUsb(r.m_strValue[ROW_ID]);
    r.m_nRowFlags = RF_ID;
    r.m_bTimesValid = 0;
    if (infolayout::Decode(data, r) != infolayout::Result::Ok)
        return false;
    FinishInfo();
    return true;
}

void UsbDriver::FinishInfo()
{
    CLoggerRecord& r = Record();
    if (r.m_tStart <= r.m_tStop)
        r.m_bTimesValid = 1;
    else
        r.m_nRowFlags = LoggerTypeOf(r.m_nType).clockCommand ? RF_ID : RF_ID | RF_START;
    r.m_fMax = r.m_fLoggerMax;
    r.m_fMin = r.m_fLoggerMin;
    r.m_fAvg = r.m_fLoggerAvg;
    r.FormatStatTexts(m_pUsbDisplay->unit);
    r.BuildTimeTable();
    r.m_bTempAlarm = LoggerTypeOf(r.m_nType).alarmLimits && r.m_fLowLimit < r.m_fHighLimit;
    r.m_bHumiAlarm = r.HasHumidity() && r.m_fHumiLowLimit < r.m_fHumiHighLimit;
}

bool UsbDriver::ReadRunState(std::int32_t& runState, std::int32_t& battery)
{
    if (!OpenUsbDevice())
        return false;
    std::uint8_t request[usbframe::kRequestLength];
    Request(request, usbframe::kReadRunState);
    // Bytes 5 and 6 of the reply carry the answer, so only 0..4 echo.
    if (!Exchange(request, usbframe::kRequestLength, 0) || m_nReplyLength < usbframe::kEchoLength
        || !EchoMatches(request, 5))
        return false;
    runState = m_byReply[5];
    battery = m_byReply[6];
    return true;
}

bool UsbDriver::ReadDescription(std::uint8_t* buffer, int n)
{
    if (n < 1 || n > kReplySize - usbframe::kEchoLength)
        return false;
    std::uint8_t request[usbframe::kRequestLength];
    Request(request, usbframe::kReadDescription);
    if (!Exchange(request, usbframe::kRequestLength, 0) || !EchoMatches(request, usbframe::kEchoLength))
        return false;
    if (!Exchange(request, usbframe::kRequestLength, n) || m_nReplyLength > usbframe::kEchoLength + n
        || !EchoMatches(request, usbframe::kEchoLength))
        return false;
    std::memcpy(buffer, m_byReply + usbframe::kEchoLength, static_cast<size_t>(n));
    return true;
}

bool UsbDriver::ReadBlock(int address, int nBytes, float* out)
{
    if (address < 0 || address > 0xFFFF || nBytes < 1 || nBytes > 2 * kBlockValues)
        return false;
    std::uint8_t request[usbframe::kRequestLength];
    Request(request, usbframe::kReadBlock);
    request[4] = static_cast<std::uint8_t>(address >> 8);
    request[5] = static_cast<std::uint8_t>(address & 0xFF);
    request[6] = static_cast<std::uint8_t>(nBytes);
    unsigned long written = 0;
    if (!WriteFrame(request, usbframe::kRequestLength, written)
        || !ReadReply(written + static_cast<unsigned long>(nBytes)))
        return false;
    // No echo check here.
    return usbcode::DecodeBlock(m_byReply, m_nReplyLength, nBytes, out);
}

bool UsbDriver::WriteSettings(const std::uint8_t* frame, int n)
{
    if (n <= usbframe::kRequestLength || n > usbframe::kMaxFrame)
        return false;
    std::uint8_t request[usbframe::kMaxFrame];
    std::memcpy(request, frame, static_cast<size_t>(n));
    Request(request, usbframe::kWriteSettings);
    if (!OpenUsbDevice())
        return false;
    // The logger's last two bytes are its own, not an echo.
    return Exchange(request, n, 0) && EchoMatches(request, n - 2);
}

bool UsbDriver::WriteDescription(const std::uint8_t* text50)
{
    std::uint8_t request[usbframe::kDescriptionFrame];
    Request(request, usbframe::kWriteDescription);
    std::memcpy(request + usbframe::kRequestLength, text50, usbframe::kDescriptionBytes);
    if (!OpenUsbDevice())
        return false;
    unsigned long written = 0;
    return WriteFrame(request, usbframe::kDescriptionFrame, written);
}
