#pragma once

#include <cstdint>

// Request signatures of the USB logger protocol. A request is 7 bytes: the
// signature and three parameter bytes; a request carrying data has three
// zero bytes after the signature and the data from byte 7. Every reply
// except the description write's begins with a 7-byte echo.
namespace usbframe {

constexpr int kRequestLength = 7;
constexpr int kEchoLength = 7;
constexpr int kMaxFrame = 64;

constexpr std::uint8_t kReadInfo[4] = {0xC3, 0x73, 0x75, 0x6D};
constexpr std::uint8_t kReadBlock[4] = {0xC2, 0x52, 0x34, 0xA2};
constexpr std::uint8_t kReadRunState[4] = {0xC6, 0x42, 0x41, 0x54};
constexpr std::uint8_t kReadDescription[4] = {0xC9, 0x44, 0x45, 0x53};
constexpr std::uint8_t kWriteSettings[4] = {0xC5, 0xBA, 0x51, 0x17};
constexpr std::uint8_t kWriteDescription[4] = {0xCA, 0x44, 0x45, 0x53};

// Parameter bytes 4 and 5 of the information request that stop recording.
constexpr std::uint8_t kStopParam[2] = {0x53, 0x54};

constexpr int kDescriptionBytes = 50;
constexpr int kDescriptionFrame = kRequestLength + kDescriptionBytes; // 57
constexpr int kClockFrame = 26;
constexpr int kSettingsFrameShort = 40; // types 1, 3, 6
constexpr int kSettingsFrameHumidity = 42; // type 4

// Data bytes of the information reply asked for, by the type stored
// before the request (a logger not yet identified gets the shortest).
inline int InfoDataLength(int storedType)
{
    switch (storedType) {
    case 1: case 3: return 40;
    case 4: return 50;
    default: return 35;
    }
}

inline bool HasSignature(const std::uint8_t* frame, const std::uint8_t (&signature)[4])
{
    return frame[0] == signature[0] && frame[1] == signature[1] && frame[2] == signature[2]
           && frame[3] == signature[3];
}

} // namespace usbframe
