#pragma once

#include "link/LoggerDriver.h"
#include "link/serial/ComPort.h"
#include "link/serial/SerialFrames.h"
#include "link/serial/SerialProtocol.h"

#include <QString>
#include <array>
#include <cstdint>

// The last command that waits for an answer, with what it takes to send it
// again: its reply code, the identification flag, and the settings or
// description bytes it carried.
struct SerialCommand {
    std::int32_t code = 0;
    std::int32_t identifyFlag = 0;
    std::array<std::uint8_t, serial::kMaxPayload> bytes {};
    std::int32_t length = 0;
};

// The driver of a serial logger: the port and the commands, over the
// protocol's receive buffer and decoder. Everything here runs on the main
// thread: the port's read thread only posts each received chunk
// (SerialChunk) and each quiet line (LineQuiet), addressed to this driver,
// and the main thread hands them to TakeMessage.
class SerialDriver : public ILoggerDriver, public SerialProtocol {
public:
    explicit SerialDriver(CLoggerRecord& record);
    ~SerialDriver() override;

    Link Kind() const override { return Link::Serial; }
    // The CH341 ports there are (the port of this driver closed first).
    std::vector<int> Scan() override;
    // Takes port number port; the port is opened by OpenPort.
    bool Attach(int port) override;
    // Takes the tty at path under the port number it has, or registers it
    // under a free one (isNew); 0 when there is no such file or no free
    // number, else the port number.
    int AttachPath(const QString& path, bool& isNew);
    int Device() const override { return m_nComPort; }
    void Detach() override { m_ComPort.ClosePort(); }
    DriverReply Identify(bool stop) override;
    // The identification in download mode: the blocks follow by themselves.
    DriverReply Download(bool stop) override;
    DriverReply ReadStatus() override;
    DriverReply Configure(const MissionSettings& settings) override;
    DriverReply SetClock() override;

    // Opens port with this driver's read callbacks; true when it is open.
    bool OpenPort(int port);

    // ---- commands: store the expected answer and the command, report a
    // command that waits for an answer as sent, check the port and write.
    // They return WritePort's result, or -1 when the port check failed.
    int SerialIdentify(int flag);
    int SerialRequestBlock(int byteOffset);
    int SerialReadDescription();
    int SerialWriteSettings(int length, const std::uint8_t* payload);
    int SerialStop();
    int SerialWriteDescription(int length, const std::uint8_t* text);
    int SerialSetClock();
    int SerialReadStatus();
    int SerialSetClockAndInterval(std::uint8_t interval);
    // Sends the last command again under its reply code (the retry timer),
    // without reporting it as sent: a resend keeps the first send's retry
    // budget. Returns 0 when there is none to resend.
    int ResendLastCommand();

    // True while port m_nComPort exists and this object holds it open;
    // otherwise negates the port number and reports the port lost.
    bool CheckPort();

    // The receive routine (main thread): marks the logger present and
    // hands the chunk to the protocol; true when an information frame was
    // decoded.
    bool ReceiveChunk(const unsigned char* bytes, int count);
    bool ReceiveChunk(const QByteArray& chunk)
    {
        return ReceiveChunk(reinterpret_cast<const unsigned char*>(chunk.constData()), static_cast<int>(chunk.size()));
    }
    // Takes a chunk or a quiet line addressed to this driver; false for any
    // other message.
    bool TakeMessage(const Message& message);

    std::int32_t m_nComPort = 0;
    // The logger answered its identification; the workflow clears it when
    // the port goes away.
    bool m_bLinked = false;
    LsComm::CComPort m_ComPort;
    QString m_strPendingDesc;
    SerialCommand m_lastCommand;

protected:
    void OnDownloadInformation() override;

private:
    // The port's callbacks (read thread): post a copy of the chunk, or that
    // the line went quiet, addressed to the driver in userData.
    static void PostChunk(void* userData, const unsigned char* bytes, int count);
    static void PostQuiet(void* userData);

    int Send(const SerialCommand& command, const SerialFrame& frame, bool bAnnounce);
    SerialFrame ClockFrame() const;
};
