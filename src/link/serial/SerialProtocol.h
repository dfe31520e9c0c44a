#pragma once

#include "link/serial/SerialEvents.h"
#include "record/LoggerRecord.h"

#include <QByteArray>
#include <cstdint>
#include <functional>

namespace serial {
struct InfoLayout;
}

// Codes in m_nReply: the answer a command waits for; + SERIAL_REPLY_ARRIVED
// once it came.
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

// The decoding half of the serial protocol: bytes in, the record filled and
// events out. It keeps the receive buffer, synchronises on frame heads over
// it and decodes the frames at its front. It knows no port and posts
// nothing, so it can be fed any bytes (tests, fuzzing, benchmarks).
class SerialProtocol {
public:
    static constexpr int kRxSize = 8192;
    static constexpr int kDownloadMode = 2;

    explicit SerialProtocol(CLoggerRecord* record, ISerialEvents* events = nullptr);
    virtual ~SerialProtocol() = default;
    SerialProtocol(const SerialProtocol&) = delete;
    SerialProtocol& operator=(const SerialProtocol&) = delete;

    // Appends a chunk (dropped whole when it would overflow the buffer) and
    // decodes the complete frames; true when an information frame of one of
    // the layouts was decoded. Reports the arrived reply and the information
    // after the whole chunk, in that order.
    bool Receive(const std::uint8_t* bytes, int count);
    bool Receive(const QByteArray& chunk)
    {
        return Receive(reinterpret_cast<const std::uint8_t*>(chunk.constData()), static_cast<int>(chunk.size()));
    }
    // The line went quiet: a frame still incomplete now will never complete
    // (a noise head whose length byte promises more than follows, or a frame
    // cut short). Gives up each such head, decodes the frames behind it and
    // drops the rest; reports as Receive does when something was buffered.
    bool LineQuiet();
    void ClearReceive() { m_nRxLen = 0; }

    std::uint8_t m_byRx[kRxSize] = {};
    std::int32_t m_nRxLen = 0;
    // The answer the last command waits for (SerialReplyCode).
    std::int32_t m_nReply = 0;
    // kDownloadMode while a download streams: the identification keeps the
    // description row, and its information asks for the first block.
    std::int32_t m_nSerialMode = 0;
    // The sample count the last information frame reported, before it was
    // bounded to what a record holds (0: none decoded since the reset), and
    // the count that frame left in the record (the mission's times give it
    // when the reported one does not fit).
    std::int32_t m_nReportedCount = 0;
    std::int32_t m_nBoundedCount = 0;
    // False when a count beyond the record could not be replaced from the
    // times either: there is no count of samples to download.
    bool CountUsable() const { return m_nReportedCount <= MAX_SAMPLES || m_nBoundedCount > 0; }
    // The record the frames are decoded into, and that the frames read the
    // type from.
    CLoggerRecord* m_pRecord;
    // How the information frames write the record's texts.
    const DisplaySettings* m_pDisplay = &kDefaultDisplay;
    // Who hears of what was decoded (and, for the driver, sent); may be null.
    ISerialEvents* m_pEvents;
    // The PC clock (seconds); tests may fix it.
    std::function<time64()> m_fnNow;

protected:
    time64 Now() const;
    ISerialEvents& Events() const;
    // An information frame was decoded in download mode: the samples follow
    // on request. The driver asks for the first block.
    virtual void OnDownloadInformation() {}

private:
    bool Report(bool bInfo);
    bool Parse();
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
