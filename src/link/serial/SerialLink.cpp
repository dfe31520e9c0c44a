#include "link/serial/SerialLink.h"

#include "base/Messages.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The retry budget of a command that waits for an answer.
constexpr int kCommandRetries = 4;

SerialCommand Command(int code, int identifyFlag = 0)
{
    SerialCommand command;
    command.code = code;
    command.identifyFlag = identifyFlag;
    return command;
}

SerialCommand WithBytes(int code, const std::uint8_t* bytes, int length)
{
    SerialCommand command = Command(code);
    if (bytes) {
        command.length = std::clamp(length, 0, serial::kMaxPayload);
        std::copy_n(bytes, command.length, command.bytes.begin());
    }
    return command;
}

} // namespace

CSerialLink::CSerialLink() : SerialProtocol(&g_LoggerRecord) {}

int CSerialLink::Send(const SerialCommand& command, const SerialFrame& frame, bool bAnnounce)
{
    if (command.code) {
        m_nReply = command.code;
        m_lastCommand = command;
    }
    if (bAnnounce)
        Events().OnCommandSent(kCommandRetries);
    if (!CheckPort())
        return -1;
    return frame.length > 0 ? m_ComPort.WritePort(frame.bytes.data(), frame.length) : 0;
}

SerialFrame CSerialLink::ClockFrame() const
{
    const QString& id = m_pRecord->m_strValue[ROW_ID];
    return serial::FrameSetClock(m_pRecord->m_nType, id.isEmpty() ? QChar() : id.front(), Now());
}

int CSerialLink::SerialIdentify(int flag)
{
    return Send(Command(SERIAL_IDENTIFY, flag), serial::FrameIdentify(flag), true);
}

int CSerialLink::SerialRequestBlock(int byteOffset)
{
    return Send(Command(SERIAL_BLOCK), serial::FrameRequestBlock(byteOffset), false);
}

int CSerialLink::SerialReadDescription()
{
    return Send(Command(SERIAL_READ_DESC), serial::FrameReadDescription(), true);
}

int CSerialLink::SerialWriteSettings(int length, const std::uint8_t* payload)
{
    const SerialFrame frame = serial::FrameWriteSettings(payload, payload ? length : 0);
    return Send(WithBytes(SERIAL_WRITE_SETTINGS, payload, length), frame, true);
}

int CSerialLink::SerialStop()
{
    return Send(Command(SERIAL_STOP), serial::FrameStop(), true);
}

int CSerialLink::SerialWriteDescription(int length, const std::uint8_t* text)
{
    const SerialFrame frame = serial::FrameWriteDescription(text, text ? length : 0);
    return Send(WithBytes(SERIAL_WRITE_DESC, text, length), frame, true);
}

int CSerialLink::SerialSetClock()
{
    return Send(Command(SERIAL_SET_CLOCK), ClockFrame(), true);
}

int CSerialLink::SerialReadStatus()
{
    return Send(Command(0), serial::FrameReadStatus(m_pRecord->m_nType, Now()), false);
}

int CSerialLink::SerialSetClockAndInterval(std::uint8_t interval)
{
    // The interval is kept, so that a resend sends it again.
    return Send(WithBytes(SERIAL_SET_CLOCK, &interval, 1),
                serial::FrameSetClockAndInterval(m_pRecord->m_nType, interval, Now()), true);
}

int CSerialLink::ResendLastCommand()
{
    const SerialCommand c = m_lastCommand;
    switch (c.code) {
    case SERIAL_IDENTIFY: return Send(c, serial::FrameIdentify(c.identifyFlag), false);
    case SERIAL_READ_DESC: return Send(c, serial::FrameReadDescription(), false);
    case SERIAL_WRITE_SETTINGS: return Send(c, serial::FrameWriteSettings(c.bytes.data(), c.length), false);
    case SERIAL_STOP: return Send(c, serial::FrameStop(), false);
    case SERIAL_WRITE_DESC: return Send(c, serial::FrameWriteDescription(c.bytes.data(), c.length), false);
    case SERIAL_SET_CLOCK:
        if (c.length == 1)
            return Send(c, serial::FrameSetClockAndInterval(m_pRecord->m_nType, c.bytes[0], Now()), false);
        return Send(c, ClockFrame(), false);
    default: return 0;
    }
}

bool CSerialLink::CheckPort()
{
    if (m_ComPort.HoldsPort(m_nComPort))
        return true;
    m_nComPort = -std::abs(m_nComPort); // a second check must not bring the number back
    Events().OnPortLost();
    return false;
}

bool CSerialLink::ReceiveChunk(const unsigned char* bytes, int count)
{
    m_bUsbOpen = 1;
    return Receive(bytes, count);
}

void CSerialLink::OnDownloadInformation()
{
    if (CountUsable()) // else the download fails: there is no count to download
        SerialRequestBlock(0);
}

void CSerialLink::PostChunk(void*, const unsigned char* bytes, int count)
{
    PostToMain(WMU_SERIAL_DATA, 0, 0, QByteArray(reinterpret_cast<const char*>(bytes), count));
}

void CSerialLink::PostQuiet(void*)
{
    PostToMain(WMU_SERIAL_DATA, kLineQuiet, 0);
}

void CSerialLink::ReceiveMessage(std::intptr_t wParam, const QByteArray& payload)
{
    if (wParam == kLineQuiet)
        LineQuiet();
    else
        ReceiveChunk(payload);
}
