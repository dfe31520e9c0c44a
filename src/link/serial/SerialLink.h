#pragma once

#include "link/LinkCommon.h"
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

// Serial part of the link object: the port and the commands, over the
// protocol's receive buffer and decoder. Everything here runs on the main
// thread: the port's read thread only posts each received chunk (PostChunk,
// WMU_SERIAL_DATA) and each quiet line (PostQuiet, WMU_SERIAL_DATA with
// wParam kLineQuiet), and the main thread hands them to ReceiveMessage.
class CSerialLink : public virtual CLinkCommon, public SerialProtocol {
public:
    CSerialLink();

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

    // The receive routine (main thread): marks the link open and hands the
    // chunk to the protocol; true when an information frame was decoded.
    bool ReceiveChunk(const unsigned char* bytes, int count);
    bool ReceiveChunk(const QByteArray& chunk)
    {
        return ReceiveChunk(reinterpret_cast<const unsigned char*>(chunk.constData()), static_cast<int>(chunk.size()));
    }
    // A WMU_SERIAL_DATA message: a chunk, or the line went quiet.
    void ReceiveMessage(std::intptr_t wParam, const QByteArray& payload);
    // Data callback for m_ComPort (read thread): posts a copy of the chunk as
    // WMU_SERIAL_DATA for ReceiveChunk.
    static void PostChunk(void* userData, const unsigned char* bytes, int count);
    // Quiet callback for m_ComPort (read thread): posts WMU_SERIAL_DATA with
    // wParam kLineQuiet.
    static void PostQuiet(void* userData);
    static constexpr std::intptr_t kLineQuiet = 1;

    std::int32_t m_nComPort = 0;
    LsComm::CComPort m_ComPort;
    QString m_strPendingDesc;
    SerialCommand m_lastCommand;

protected:
    void OnDownloadInformation() override;

private:
    int Send(const SerialCommand& command, const SerialFrame& frame, bool bAnnounce);
    SerialFrame ClockFrame() const;
};
