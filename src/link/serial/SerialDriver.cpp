#include "link/serial/SerialDriver.h"

#include "link/SettingsBlock.h"
#include "link/serial/Ch341Ports.h"
#include "link/serial/PortTable.h"
#include "record/LoggerType.h"

#include <QFileInfo>
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

SerialDriver::SerialDriver(CLoggerRecord& record) : SerialProtocol(&record) {}

SerialDriver::~SerialDriver()
{
    // The read thread posts on behalf of this object: it ends first.
    m_ComPort.ClosePort();
}

std::vector<int> SerialDriver::Scan()
{
    m_ComPort.ClosePort();
    return ScanCh341Ports(m_ComPort);
}

bool SerialDriver::Attach(int port)
{
    m_nComPort = port;
    return port > 0;
}

int SerialDriver::AttachPath(const QString& path, bool& isNew)
{
    isNew = false;
    const QFileInfo info(path);
    if (!info.exists())
        return 0;
    PortTable& table = PortTable::Instance();
    const QString device = info.canonicalFilePath();
    int port = table.PortOf(device);
    if (port == 0) {
        port = table.Register(device, false);
        isNew = port != 0;
    }
    if (port != 0)
        Attach(port);
    return port;
}

bool SerialDriver::OpenPort(int port)
{
    m_ComPort.ClosePort();
    m_ComPort.m_pUserData = this;
    m_ComPort.m_pfnOnData = &SerialDriver::PostChunk;
    m_ComPort.m_pfnOnQuiet = &SerialDriver::PostQuiet;
    m_ComPort.OpenPort(port);
    return m_ComPort.IsOpen();
}

DriverReply SerialDriver::Identify(bool stop)
{
    return SerialIdentify(stop ? 1 : 0) < 0 ? DriverReply::Failed : DriverReply::Sent;
}

DriverReply SerialDriver::Download(bool stop)
{
    m_nSerialMode = kDownloadMode;
    m_nReportedCount = 0;
    return Identify(stop);
}

DriverReply SerialDriver::ReadStatus()
{
    return SerialReadStatus() < 0 ? DriverReply::Failed : DriverReply::Sent;
}

DriverReply SerialDriver::Configure(const MissionSettings& settings)
{
    const int type = m_pRecord->m_nType;
    const SettingsBlock block = BuildSettingsBlock(type, SettingsLink::Serial, settings);
    const int sent = LoggerTypeOf(type).clockWithInterval ? SerialSetClockAndInterval(block.bytes[25])
                                                          : SerialWriteSettings(block.length, block.bytes.data());
    return sent < 0 ? DriverReply::Failed : DriverReply::Sent;
}

DriverReply SerialDriver::SetClock()
{
    return SerialSetClock() < 0 ? DriverReply::Failed : DriverReply::Sent;
}

int SerialDriver::Send(const SerialCommand& command, const SerialFrame& frame, bool bAnnounce)
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

SerialFrame SerialDriver::ClockFrame() const
{
    const QString& id = m_pRecord->m_strValue[ROW_ID];
    return serial::FrameSetClock(m_pRecord->m_nType, id.isEmpty() ? QChar() : id.front(), Now());
}

int SerialDriver::SerialIdentify(int flag)
{
    return Send(Command(SERIAL_IDENTIFY, flag), serial::FrameIdentify(flag), true);
}

int SerialDriver::SerialRequestBlock(int byteOffset)
{
    return Send(Command(SERIAL_BLOCK), serial::FrameRequestBlock(byteOffset), false);
}

int SerialDriver::SerialReadDescription()
{
    return Send(Command(SERIAL_READ_DESC), serial::FrameReadDescription(), true);
}

int SerialDriver::SerialWriteSettings(int length, const std::uint8_t* payload)
{
    const SerialFrame frame = serial::FrameWriteSettings(payload, payload ? length : 0);
    return Send(WithBytes(SERIAL_WRITE_SETTINGS, payload, length), frame, true);
}

int SerialDriver::SerialStop()
{
    return Send(Command(SERIAL_STOP), serial::FrameStop(), true);
}

int SerialDriver::SerialWriteDescription(int length, const std::uint8_t* text)
{
    const SerialFrame frame = serial::FrameWriteDescription(text, text ? length : 0);
    return Send(WithBytes(SERIAL_WRITE_DESC, text, length), frame, true);
}

int SerialDriver::SerialSetClock()
{
    return Send(Command(SERIAL_SET_CLOCK), ClockFrame(), true);
}

int SerialDriver::SerialReadStatus()
{
    return Send(Command(0), serial::FrameReadStatus(m_pRecord->m_nType, Now()), false);
}

int SerialDriver::SerialSetClockAndInterval(std::uint8_t interval)
{
    // The interval is kept, so that a resend sends it again.
    return Send(WithBytes(SERIAL_SET_CLOCK, &interval, 1),
                serial::FrameSetClockAndInterval(m_pRecord->m_nType, interval, Now()), true);
}

int SerialDriver::ResendLastCommand()
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

bool SerialDriver::CheckPort()
{
    if (m_ComPort.HoldsPort(m_nComPort))
        return true;
    m_nComPort = -std::abs(m_nComPort); // a second check must not bring the number back
    Events().OnPortLost();
    return false;
}

bool SerialDriver::ReceiveChunk(const unsigned char* bytes, int count)
{
    SetPresent(true);
    return Receive(bytes, count);
}

void SerialDriver::OnDownloadInformation()
{
    if (CountUsable()) // else the download fails: there is no count to download
        SerialRequestBlock(0);
}

void SerialDriver::PostChunk(void* userData, const unsigned char* bytes, int count)
{
    const auto* self = static_cast<const SerialDriver*>(userData);
    PostToMain(self->Address(), SerialChunk{QByteArray(reinterpret_cast<const char*>(bytes), count)});
}

void SerialDriver::PostQuiet(void* userData)
{
    PostToMain(static_cast<const SerialDriver*>(userData)->Address(), ::LineQuiet{});
}

bool SerialDriver::TakeMessage(const Message& message)
{
    if (message.address != Address())
        return false;
    if (const auto* chunk = std::get_if<SerialChunk>(&message.body)) {
        ReceiveChunk(chunk->bytes);
        return true;
    }
    if (std::holds_alternative<::LineQuiet>(message.body)) {
        LineQuiet();
        return true;
    }
    return false;
}
