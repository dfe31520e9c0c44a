#pragma once

#include "record/LoggerRecord.h"

#include <QChar>
#include <array>
#include <cstdint>

// Command frames of the serial protocol (host to logger): FF, a 3-byte
// signature, 3 sub-code or parameter bytes, then clock bytes, a payload or a
// text. They carry no length byte and no checksum.
struct SerialFrame {
    static constexpr int kCapacity = 64;
    std::array<std::uint8_t, kCapacity> bytes {};
    int length = 0;
};

namespace serial {

// Largest payload or text after the 7 head bytes.
constexpr int kMaxPayload = SerialFrame::kCapacity - 7;

SerialFrame FrameIdentify(int flag);
SerialFrame FrameRequestBlock(int byteOffset);
SerialFrame FrameReadDescription();
SerialFrame FrameWriteSettings(const std::uint8_t* payload, int length);
SerialFrame FrameStop();
SerialFrame FrameWriteDescription(const std::uint8_t* text, int length);
// The type-dependent frames take the logger type and the first character of
// its ID; `now` is the PC's local time to send (-1: not available).
SerialFrame FrameSetClock(int type, QChar idFirst, time64 now);
SerialFrame FrameReadStatus(int type, time64 now);
SerialFrame FrameSetClockAndInterval(int type, std::uint8_t interval, time64 now);

} // namespace serial
