#include "link/serial/SerialFrames.h"

#include "link/serial/SerialLayouts.h"
#include "record/LoggerType.h"

#include <algorithm>
#include <initializer_list>

namespace serial {

namespace {

// The bytes a command leaves undefined are sent as zeros: bytes 7..16 of the
// stop frame and bytes 0..6 of the settings block (frame bytes 7..13), which
// the configuration block never fills.
constexpr int kStopLength = 17;
constexpr int kUnusedSettingsBytes = 7;

SerialFrame Head(std::initializer_list<std::uint8_t> bytes)
{
    SerialFrame frame;
    for (std::uint8_t b : bytes)
        frame.bytes[frame.length++] = b;
    return frame;
}

void Append(SerialFrame& frame, const std::uint8_t* data, int length)
{
    const int n = std::clamp(length, 0, SerialFrame::kCapacity - frame.length);
    std::copy_n(data, n, frame.bytes.begin() + frame.length);
    frame.length += n;
}

void AppendZeros(SerialFrame& frame, int count)
{
    frame.length = std::min(frame.length + count, SerialFrame::kCapacity);
}

void AppendClock(SerialFrame& frame, time64 now)
{
    PutClock(frame.bytes.data(), frame.length, now);
    frame.length += 7;
}

} // namespace

SerialFrame FrameIdentify(int flag)
{
    return flag ? Head({0xFF, 0xCF, 0xBF, 0x5F, 'S', 'T', 0x00}) : Head({0xFF, 0xCF, 0xBF, 0x5F, 0x00, 0x00, 0x00});
}

SerialFrame FrameRequestBlock(int byteOffset)
{
    return Head({0xFF, 0x5E, 0xBE, 0x6E, static_cast<std::uint8_t>(byteOffset & 0xFF),
                 static_cast<std::uint8_t>((byteOffset >> 8) & 0xFF), 0xFF});
}

SerialFrame FrameReadDescription()
{
    return Head({0xFF, 0xCA, 0x7A, 0xEA, 0xBA, 0x6A, 0x5A});
}

SerialFrame FrameWriteSettings(const std::uint8_t* payload, int length)
{
    SerialFrame frame = Head({0xFF, 0xBB, 0x5B, 0x7B, 0xCB, 0x00, 0x00});
    Append(frame, payload, length);
    std::fill_n(frame.bytes.begin() + 7, std::min(kUnusedSettingsBytes, frame.length - 7), 0);
    return frame;
}

SerialFrame FrameStop()
{
    SerialFrame frame = Head({0xFF, 0xBD, 0x5D, 0x7D, 0x8D, 0x9D, 0x6D});
    AppendZeros(frame, kStopLength - frame.length);
    return frame;
}

SerialFrame FrameWriteDescription(const std::uint8_t* text, int length)
{
    SerialFrame frame = Head({0xFF, 0x5C, 0x7C, 0xEC, 0xBC, 0x6C, 0x7C});
    Append(frame, text, length);
    return frame;
}

SerialFrame FrameSetClock(int type, QChar idFirst, time64 now)
{
    SerialFrame frame = Head({0xFF, 0xBD, 0x5D, 0x7D, 0x00, 0x00, 0x00});
    switch (SerialClockFrameOf(type, QString(idFirst))) {
    case SerialClockFrame::Padded:
        AppendZeros(frame, 3);
        AppendClock(frame, now);
        break;
    case SerialClockFrame::Short:
        AppendClock(frame, now);
        break;
    default:
        frame.length = 0;
        break;
    }
    return frame;
}

SerialFrame FrameReadStatus(int type, time64 now)
{
    SerialFrame frame = Head({0xFF, 0xBD, 0x5D, 0x7D, 0x7D, 0xBD, 0x5D});
    if (!LoggerTypeOf(type).shortStatusRequest)
        AppendZeros(frame, 3);
    AppendClock(frame, now);
    return frame;
}

SerialFrame FrameSetClockAndInterval(int type, std::uint8_t interval, time64 now)
{
    if (!LoggerTypeOf(type).clockWithInterval)
        return {};
    SerialFrame frame = Head({0xFF, 0xBD, 0x5D, 0x7D, 0x00, kMarkClockIntervalByte5, interval});
    AppendClock(frame, now);
    return frame;
}

} // namespace serial
