#include "link/serial/SerialLayouts.h"

#include "link/serial/SerialChecksum.h"
#include "record/TimeText.h"

#include <cmath>
#include <ctime>

namespace serial {

namespace {

//                     h  stop intv w   hiL  loL  hHi  hLo  max  min  avg  sum   hMax hMin hAvg cnt stat run    count  type2
const InfoLayout kType2 {43, 28, 26, 1, kNone, kNone, kNone, kNone, 34, 36, 38, kNone, kNone, kNone, kNone, 40, 42, false, false, true};
const InfoLayout kType56{45, 27, 43, 1, kNone, kNone, kNone, kNone, 33, 35, kNone, 37, kNone, kNone, kNone, 41, 44, false, true, false};
const InfoLayout kType3 {49, 27, 33, 2, 35, 37, kNone, kNone, 39, 41, 43, kNone, kNone, kNone, kNone, 45, 48, true, true, false};
const InfoLayout kType4 {59, 27, 33, 2, 35, 37, 39, 41, 43, 45, 47, kNone, 49, 51, 53, 55, 58, true, false, false};

const StatusLayout kStatus[] = {
    {8, 9, 8, kNone, kNone, false},
    {11, 10, 17, 18, kNone, false},
    {10, 9, 8, kNone, 16, true},
};

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

time64 ValidLocalTime(int year, int month, int day, int hour, int minute, int second)
{
    if (!InRange(year, 1900, 3000) || !InRange(month, 1, 12) || !InRange(day, 1, 31) || !InRange(hour, 0, 23)
        || !InRange(minute, 0, 59) || !InRange(second, 0, 59))
        return 0;
    const time64 t = MakeLocalTime(year, month, day, hour, minute, second);
    return t == -1 ? 0 : t;
}

} // namespace

const InfoLayout& InfoLayoutOf(InfoKind kind)
{
    switch (kind) {
    case InfoKind::Type2: return kType2;
    case InfoKind::Type56: return kType56;
    case InfoKind::Type3: return kType3;
    case InfoKind::Type4: return kType4;
    }
    return kType3;
}

// The layouts each logger type answers with; a type 2 logger may answer
// with the type 3 layout as well.
struct TypeLayout {
    int type;
    const InfoLayout* layout;
};
const TypeLayout kTypeLayouts[] = {
    {2, &kType2}, {5, &kType56}, {6, &kType56}, {3, &kType3}, {2, &kType3}, {4, &kType4},
};

const InfoLayout* ChooseInfoLayout(int type, int h)
{
    for (const TypeLayout& row : kTypeLayouts)
        if (row.type == type && row.layout->h == h)
            return row.layout;
    return nullptr;
}

const StatusLayout* StatusLayoutOf(int length)
{
    for (const StatusLayout& layout : kStatus)
        if (layout.length == length)
            return &layout;
    return nullptr;
}

float GetReading(const std::uint8_t* b, int pos)
{
    const int raw = GetU16(b, pos);
    if (raw == 0x8000)
        return 0.0f;
    return static_cast<float>(static_cast<std::int16_t>(raw) / 100.0);
}

void PutReading(std::uint8_t* b, int pos, float value)
{
    const long hundredths = std::lround(static_cast<double>(value) * 100.0);
    PutU16(b, pos, static_cast<int>(hundredths) & 0xFFFF);
}

std::int32_t GetI32(const std::uint8_t* b, int pos)
{
    const std::uint32_t v = static_cast<std::uint32_t>(GetU16(b, pos)) | (static_cast<std::uint32_t>(GetU16(b, pos + 2)) << 16);
    return static_cast<std::int32_t>(v);
}

void PutI32(std::uint8_t* b, int pos, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    PutU16(b, pos, static_cast<int>(u & 0xFFFF));
    PutU16(b, pos + 2, static_cast<int>(u >> 16));
}

time64 GetInfoTime(const std::uint8_t* b, int pos)
{
    return ValidLocalTime(b[pos + 5] * 100 + b[pos + 4], b[pos + 3], b[pos + 2], b[pos + 1], b[pos], 0);
}

void PutInfoTime(std::uint8_t* b, int pos, time64 t)
{
    const LocalTm l = ToLocal(t);
    const std::uint8_t bytes[6] = {static_cast<std::uint8_t>(l.minute), static_cast<std::uint8_t>(l.hour),
                                   static_cast<std::uint8_t>(l.day), static_cast<std::uint8_t>(l.month),
                                   static_cast<std::uint8_t>(l.year % 100), static_cast<std::uint8_t>(l.year / 100)};
    for (int i = 0; i < 6; ++i)
        b[pos + i] = bytes[i];
}

time64 GetClock(const std::uint8_t* b, int pos)
{
    return ValidLocalTime(b[pos + 6] * 100 + b[pos + 5], b[pos + 4], b[pos + 3], b[pos + 2], b[pos + 1], b[pos]);
}

void PutClock(std::uint8_t* b, int pos, time64 t)
{
    std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm {};
    if (t < 0 || !localtime_r(&tt, &tm)) {
        const std::uint8_t unknown[7] = {0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
        for (int i = 0; i < 7; ++i)
            b[pos + i] = unknown[i];
        return;
    }
    const int year = tm.tm_year + 1900;
    const int fields[7] = {tm.tm_sec, tm.tm_min, tm.tm_hour, tm.tm_mday, tm.tm_mon + 1, year % 100, year / 100};
    for (int i = 0; i < 7; ++i)
        b[pos + i] = static_cast<std::uint8_t>(fields[i]);
}

void PutChecksum(std::uint8_t* b, int h, bool bChecksumB)
{
    const std::uint32_t sum = bChecksumB ? SerialChecksumB(b, h) : SerialChecksumA(b, h);
    PutU16(b, h, static_cast<int>(sum & 0xFFFF));
}

} // namespace serial
