#pragma once

#include "record/LoggerRecord.h"

#include <cstdint>

// Byte layouts of the serial reply frames, as tables of field positions, and
// the field codecs both the parser and the virtual logger use.
//
// Reply frame: FF, 3 signature bytes, 3 sub-code bytes, data length L in byte
// 7, data in bytes 8 .. h-1 (h = L + 8), 16-bit checksum low byte first.

namespace serial {

constexpr int kLengthByte = 7;
constexpr int kDataStart = 8;
constexpr int kIdLength = 11;

using Signature = std::uint8_t[3];
constexpr Signature kSigInfo = {0xCF, 0xBF, 0x5F};
constexpr Signature kSigBlock = {0x5E, 0xBE, 0x6E};
constexpr Signature kSigStatus = {0xBD, 0x5D, 0x7D};
constexpr Signature kSigDescription = {0xCA, 0x7A, 0xEA};
constexpr Signature kSigSettings = {0xBB, 0x5B, 0x7B};
constexpr Signature kSigSkip = {0xB8, 0x68, 0xC8};
constexpr Signature kSigWriteDescription = {0x5C, 0x7C, 0xEC};

// Marks of status frames (bytes 4..6).
constexpr Signature kMarkClockSet = {0x00, 0x00, 0x00};
constexpr Signature kMarkStatus = {0x7D, 0xBD, 0x5D};
constexpr Signature kMarkStop = {0x8D, 0x9D, 0x6D};
// A clock set with interval: bytes 4..5 are 00 9D, byte 6 the interval.
constexpr std::uint8_t kMarkClockIntervalByte5 = 0x9D;

constexpr int kNone = -1;

// Information frame: one row per layout.
struct InfoLayout {
    int h;            // L + 8
    int stop;         // 6 time bytes
    int interval;     // minutes
    int intervalWidth; // 1 or 2 bytes
    int highLimit, lowLimit, humiHighLimit, humiLowLimit;
    int max, min, avg;
    int sum;          // 32-bit sum of hundredths, when avg is kNone
    int humiMax, humiMin, humiAvg;
    int count;
    int status;
    bool statusIsRunState; // also the run state, and the logger clock row flag
    bool timeCheckNeedsCount;
    bool type2Rules;  // a zero status byte or count empties the record
};
constexpr int kInfoId = 8;
constexpr int kInfoStart = 20;

enum class InfoKind { Type2, Type56, Type3, Type4 };
const InfoLayout& InfoLayoutOf(InfoKind kind);
// The layout the parser uses for a logger type and a frame of h = L + 8, or
// null when that combination has none.
const InfoLayout* ChooseInfoLayout(int type, int h);

// Status frame layouts by L.
struct StatusLayout {
    int length;
    int clock;    // 7 bytes: second, minute, hour, day, month, year % 100, year / 100
    int status;   // status byte / run state
    int battery;  // level 1..7, or kNone
    int batteryRaw; // 16-bit voltage reading, or kNone
    bool checksumB;
};
const StatusLayout* StatusLayoutOf(int length);

// Sample blocks.
constexpr int kBlockShortLength = 32; // 16 readings
constexpr int kBlockLongLength = 64;  // 32 temperatures, or 16 temperature/humidity pairs (type 4)
constexpr int kDescriptionLength = 50;

// ---- field codecs ----
inline int GetU16(const std::uint8_t* b, int pos) { return b[pos] | (b[pos + 1] << 8); }
inline void PutU16(std::uint8_t* b, int pos, int v)
{
    b[pos] = static_cast<std::uint8_t>(v & 0xFF);
    b[pos + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}
// A reading: 16-bit two's complement hundredths; 0x8000 reads as 0.
float GetReading(const std::uint8_t* b, int pos);
void PutReading(std::uint8_t* b, int pos, float value);
std::int32_t GetI32(const std::uint8_t* b, int pos);
void PutI32(std::uint8_t* b, int pos, std::int32_t v);

// Information frame time (minute, hour, day, month, year % 100, year / 100):
// local time, or 0 when the fields are out of range.
time64 GetInfoTime(const std::uint8_t* b, int pos);
void PutInfoTime(std::uint8_t* b, int pos, time64 t);
// Clock bytes (second first): local time, or 0 when out of range.
time64 GetClock(const std::uint8_t* b, int pos);
// Clock bytes of t; when t's local time cannot be obtained (t < 0), the
// second, minute and hour bytes are FF and the others 0.
void PutClock(std::uint8_t* b, int pos, time64 t);

// Appends the checksum of bytes 0 .. h-1 at h (A, or B when bChecksumB).
void PutChecksum(std::uint8_t* b, int h, bool bChecksumB);

} // namespace serial
