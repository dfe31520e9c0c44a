#pragma once

#include "record/LoggerRecord.h"

#include <cstdint>
#include <optional>

// Number encodings of the USB logger protocol (big-endian throughout).
namespace usbcode {

// 16-bit two's complement hundredths; 0x8000 reads as 0.
float DecodeReading(const std::uint8_t* p);
// Bit 7 of the first byte is the sign, the other 15 bits the magnitude in hundredths.
float DecodeSignedMagnitude(const std::uint8_t* p);
// Six bytes: minute, hour, day, month, year % 100, year / 100, local time,
// seconds 0. Empty when a part is out of range or the time cannot be made.
std::optional<time64> DecodeTime6(const std::uint8_t* p);

// Seven bytes: second, minute, hour, day, month, year % 100, year / 100 in
// local time; parts the conversion cannot produce are FF (second, minute,
// hour) or 0 (day, month, year).
void EncodeTime7(time64 t, std::uint8_t* out);

void PutWord(std::uint8_t* p, std::uint16_t value);
std::int16_t ClampToInt16(long long value);
// Hundredths as signed magnitude; the magnitude is clamped to 15 bits.
void PutSignedMagnitude(std::uint8_t* p, int hundredths);
void PutTwosComplement(std::uint8_t* p, int hundredths);

} // namespace usbcode
