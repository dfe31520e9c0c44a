// Feeds arbitrary bytes to the serial protocol decoder as a run of received
// chunks. The first byte sets the scene: the logger type in the record (bits
// 0..2), download mode (bit 3) and the answer a command waits for (bits
// 4..7). Then each chunk is a length byte and that many bytes; a length of
// 0 says the line went quiet.
#include "link/serial/SerialProtocol.h"
#include "record/TimeText.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

constexpr std::int32_t kPendingReplies[] = {
    0, SERIAL_IDENTIFY, SERIAL_BLOCK, SERIAL_READ_DESC, SERIAL_WRITE_SETTINGS, SERIAL_STOP, SERIAL_WRITE_DESC,
    SERIAL_SET_CLOCK,
};

CLoggerRecord& Record()
{
    static const std::unique_ptr<CLoggerRecord> record = std::make_unique<CLoggerRecord>();
    return *record;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    CLoggerRecord& record = Record();
    record.Reset();
    record.m_nType = data[0] & 0x07;
    record.m_nCount = 100;
    SerialProtocol protocol(&record);
    protocol.m_fnNow = [] { return MakeLocalTime(2024, 6, 3, 12, 0, 0); };
    protocol.m_nSerialMode = (data[0] & 0x08) ? SerialProtocol::kDownloadMode : 0;
    protocol.m_nReply = kPendingReplies[(data[0] >> 4) % std::size(kPendingReplies)];
    std::size_t pos = 1;
    while (pos < size) {
        const std::size_t length = std::min<std::size_t>(data[pos], size - pos - 1);
        if (data[pos] == 0)
            protocol.LineQuiet();
        else
            protocol.Receive(data + pos + 1, static_cast<int>(length));
        pos += length + 1;
    }
    if (record.m_nReceived < 0 || record.m_nReceived > MAX_SAMPLES || protocol.m_nRxLen > SerialProtocol::kRxSize)
        __builtin_trap();
    return 0;
}
