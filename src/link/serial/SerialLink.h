#pragma once

#include "link/LinkCommon.h"
#include "link/serial/ComPort.h"
#include "link/serial/SerialFrames.h"
#include "record/LoggerRecord.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

namespace serial {
struct InfoLayout;
}

// Parameters of the last commands, kept so the workflow can resend them.
extern std::int32_t g_nKeptIdentFlag;
extern std::uint8_t g_byKeptSettings[252];
extern std::int32_t g_nKeptSettingsLen;
extern std::int32_t g_nKeptSettingsType;
extern std::uint8_t g_byKeptDesc[252];
extern std::int32_t g_nKeptDescLen;
extern std::int32_t g_nKeptStopType;

// Codes in m_nReply: the answer a command waits for; + kReplyArrived once it came.
enum SerialReplyCode : std::int32_t {
    SERIAL_IDENTIFY = 1,
    SERIAL_BLOCK = 2,
    SERIAL_READ_DESC = 4,
    SERIAL_WRITE_SETTINGS = 5,
    SERIAL_STOP = 6,
    SERIAL_WRITE_DESC = 7,
    SERIAL_SET_CLOCK = 8,
    SERIAL_REPLY_ARRIVED = 256,
};

// Serial part of the link object: the port, the receive buffer and the
// serial protocol. Everything here runs on the main thread: the port's read
// thread only posts each received chunk (PostChunk, WMU_SERIAL_DATA), and the
// main thread hands it to ReceiveChunk.
class CSerialLink : public virtual CLinkCommon {
public:
    static constexpr int kRxSize = 8192;

    CSerialLink();

    // ---- commands: store the expected answer, keep the parameters, post
    // WMU_SERIAL_SENT (0, 4) where the command expects an answer, check the
    // port and write. They return WritePort's result, or -1 when the port
    // check failed.
    int SerialIdentify(int flag);
    int SerialRequestBlock(int byteOffset);
    int SerialReadDescription();
    int SerialWriteSettings(int length, int type, const std::uint8_t* payload);
    int SerialStop(int type);
    int SerialWriteDescription(int length, const std::uint8_t* text);
    int SerialSetClock();
    int SerialReadStatus();
    int SerialSetClockAndInterval(std::uint8_t interval);

    // True while port m_nComPort exists and this object holds it open;
    // otherwise marks the link lost and posts WMU_SERIAL_LOST (0, 0).
    bool CheckPort();

    // Decodes the complete frames at the front of m_byRx; true when an
    // information frame of one of the four layouts was decoded.
    bool ParseReplies();

    // The receive routine: appends a chunk (dropped whole when it would
    // overflow m_byRx), parses, and posts WMU_SERIAL_INFO (1, 1) when an
    // information frame was decoded. Main thread.
    bool ReceiveChunk(const unsigned char* bytes, int count);
    bool ReceiveChunk(const QByteArray& chunk)
    {
        return ReceiveChunk(reinterpret_cast<const unsigned char*>(chunk.constData()), static_cast<int>(chunk.size()));
    }
    // Data callback for m_ComPort (read thread): posts a copy of the chunk as
    // WMU_SERIAL_DATA for ReceiveChunk.
    static void PostChunk(void* userData, const unsigned char* bytes, int count);

    std::int32_t m_nComPort = 0;
    LsComm::CComPort m_ComPort;
    std::uint8_t m_byRx[kRxSize] = {};
    std::int32_t m_nRxLen = 0;
    std::int32_t m_nReply = 0;
    std::int32_t m_nSerialMode = 0;
    std::int32_t m_nRetries = 0;
    QString m_strPendingDesc;

    // The record the parser fills and the frames read the type from.
    CLoggerRecord* m_pRecord = &g_LoggerRecord;
    // The PC clock (seconds); tests may fix it.
    std::function<time64()> m_fnNow;

private:
    time64 Now() const;
    int Send(int code, const SerialFrame& frame, bool bAnnounce);

    bool Synchronise();
    void Consume(int count);
    // Each returns whether the frame at the front was accepted.
    bool HandleFrame(bool& bInfoDecoded);
    bool HandleInfo(int h, bool& bInfoDecoded);
    void DecodeInfo(const serial::InfoLayout& layout);
    bool HandleBlock(int length, int h);
    bool HandleStatus(int length, int h);
    void HandleStatus8(time64 clock);
    void HandleStatus11(time64 clock);
    void HandleStatus10(time64 clock);
    bool HandleDescription(int length, int h);
    bool HandleSettingsReply(int length, int h);
};
