#include "link/serial/SerialLink.h"

#include "base/Messages.h"
#include "base/TextTable.h"
#include "link/LinkGlobals.h"
#include "link/serial/PortTable.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

std::int32_t g_nKeptIdentFlag = 0;
std::uint8_t g_byKeptSettings[252] = {};
std::int32_t g_nKeptSettingsLen = 0;
std::int32_t g_nKeptSettingsType = 0;
std::uint8_t g_byKeptDesc[252] = {};
std::int32_t g_nKeptDescLen = 0;
std::int32_t g_nKeptStopType = 0;

namespace {

constexpr int kTextDisconnecting = 4;

int Keep(std::uint8_t* kept, const std::uint8_t* bytes, int length)
{
    const int n = std::clamp(length, 0, serial::kMaxPayload);
    if (bytes)
        std::copy_n(bytes, n, kept);
    return n;
}

} // namespace

CSerialLink::CSerialLink() = default;

time64 CSerialLink::Now() const
{
    return m_fnNow ? m_fnNow() : static_cast<time64>(std::time(nullptr));
}

int CSerialLink::Send(int code, const SerialFrame& frame, bool bAnnounce)
{
    if (code)
        m_nReply = code;
    if (bAnnounce)
        PostToMain(WMU_SERIAL_SENT, 0, 4);
    if (!CheckPort())
        return -1;
    return frame.length > 0 ? m_ComPort.WritePort(frame.bytes.data(), frame.length) : 0;
}

int CSerialLink::SerialIdentify(int flag)
{
    const SerialFrame frame = serial::FrameIdentify(flag);
    g_nKeptIdentFlag = flag;
    return Send(SERIAL_IDENTIFY, frame, true);
}

int CSerialLink::SerialRequestBlock(int byteOffset)
{
    return Send(SERIAL_BLOCK, serial::FrameRequestBlock(byteOffset), false);
}

int CSerialLink::SerialReadDescription()
{
    return Send(SERIAL_READ_DESC, serial::FrameReadDescription(), true);
}

int CSerialLink::SerialWriteSettings(int length, int type, const std::uint8_t* payload)
{
    const SerialFrame frame = serial::FrameWriteSettings(payload, payload ? length : 0);
    g_nKeptSettingsLen = Keep(g_byKeptSettings, payload, length);
    g_nKeptSettingsType = type;
    return Send(SERIAL_WRITE_SETTINGS, frame, true);
}

int CSerialLink::SerialStop(int type)
{
    const SerialFrame frame = serial::FrameStop();
    g_nKeptStopType = type;
    return Send(SERIAL_STOP, frame, true);
}

int CSerialLink::SerialWriteDescription(int length, const std::uint8_t* text)
{
    const SerialFrame frame = serial::FrameWriteDescription(text, text ? length : 0);
    g_nKeptDescLen = Keep(g_byKeptDesc, text, length);
    return Send(SERIAL_WRITE_DESC, frame, true);
}

int CSerialLink::SerialSetClock()
{
    const QString& id = m_pRecord->m_strValue[ROW_ID];
    const SerialFrame frame = serial::FrameSetClock(m_pRecord->m_nType, id.isEmpty() ? QChar() : id.front(), Now());
    return Send(SERIAL_SET_CLOCK, frame, true);
}

int CSerialLink::SerialReadStatus()
{
    return Send(0, serial::FrameReadStatus(m_pRecord->m_nType, Now()), false);
}

int CSerialLink::SerialSetClockAndInterval(std::uint8_t interval)
{
    return Send(SERIAL_SET_CLOCK, serial::FrameSetClockAndInterval(m_pRecord->m_nType, interval, Now()), true);
}

bool CSerialLink::CheckPort()
{
    if (m_ComPort.HoldsPort(m_nComPort))
        return true;
    g_bSerialConnected = false;
    m_nComPort = -std::abs(m_nComPort); // a second check must not bring the number back
    g_strLinkLostText = GetText(kTextDisconnecting);
    PostToMain(WMU_SERIAL_LOST, 0, 0);
    return false;
}

bool CSerialLink::ReceiveChunk(const unsigned char* bytes, int count)
{
    if (count > 0 && m_nRxLen + count <= kRxSize) {
        std::copy_n(bytes, count, m_byRx + m_nRxLen);
        m_nRxLen += count;
    }
    const bool bInfo = ParseReplies();
    if (bInfo)
        PostToMain(WMU_SERIAL_INFO, 1, 1);
    return bInfo;
}

void CSerialLink::PostChunk(void*, const unsigned char* bytes, int count)
{
    PostToMain(WMU_SERIAL_DATA, 0, 0, QByteArray(reinterpret_cast<const char*>(bytes), count));
}
