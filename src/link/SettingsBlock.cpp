#include "link/SettingsBlock.h"

#include "record/LoggerType.h"

#include <algorithm>
#include <ctime>

namespace {

constexpr int kIdBytes = 11;
constexpr int kSerialIdBytes = 4;

using Bytes = std::array<std::uint8_t, SettingsBlock::kSize>;

void PutId(Bytes& b, int at, const QString& id, int count)
{
    for (int i = 0; i < count; ++i)
        b[at + i] = i < id.size() ? static_cast<std::uint8_t>(id[i].unicode() & 0xFF) : 0;
}

// Second, minute, hour, day, month, year % 100, year / 100 in local time;
// FF FF FF 00 00 00 00 when the time cannot be taken apart.
void PutTimeGroup(Bytes& b, int at, time64 t)
{
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm {};
    if (!localtime_r(&tt, &tm)) {
        const std::uint8_t unknown[7] = {0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
        std::copy(unknown, unknown + 7, b.begin() + at);
        return;
    }
    const int year = tm.tm_year + 1900;
    const int parts[7] = {tm.tm_sec, tm.tm_min, tm.tm_hour, tm.tm_mday, tm.tm_mon + 1, year % 100, year / 100};
    for (int i = 0; i < 7; ++i)
        b[at + i] = static_cast<std::uint8_t>(parts[i]);
}

void PutHighFirst(Bytes& b, int at, std::uint16_t v)
{
    b[at] = static_cast<std::uint8_t>(v >> 8);
    b[at + 1] = static_cast<std::uint8_t>(v & 0xFF);
}

void PutLowFirst(Bytes& b, int at, std::uint16_t v)
{
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

std::uint16_t Interval(const MissionSettings& s)
{
    return static_cast<std::uint16_t>(std::clamp(s.intervalMinutes, 0, 0xFFFF));
}

std::uint16_t TwosComplement(int hundredths)
{
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp(hundredths, -32768, 32767)));
}

std::uint16_t SignMagnitude(int hundredths)
{
    const int magnitude = std::min(hundredths < 0 ? -hundredths : hundredths, 0x7FFF);
    return static_cast<std::uint16_t>(magnitude | (hundredths < 0 ? 0x8000 : 0));
}

time64 StartOf(const MissionSettings& s)
{
    return std::max(s.start, s.now);
}

} // namespace

SettingsBlock UsbSignMagnitudeBlock(const MissionSettings& s, int length)
{
    SettingsBlock block;
    Bytes& b = block.bytes;
    block.length = length;
    PutId(b, 7, s.id, kIdBytes);
    PutTimeGroup(b, 18, StartOf(s));
    PutHighFirst(b, 25, Interval(s));
    PutHighFirst(b, 27, SignMagnitude(s.highTemp));
    PutHighFirst(b, 29, SignMagnitude(s.lowTemp));
    PutTimeGroup(b, 31, s.now);
    return block;
}

SettingsBlock UsbTwosComplementBlock(const MissionSettings& s, int length)
{
    SettingsBlock block;
    Bytes& b = block.bytes;
    block.length = length;
    PutId(b, 7, s.id, kIdBytes);
    PutTimeGroup(b, 18, StartOf(s));
    PutTimeGroup(b, 25, s.now);
    PutHighFirst(b, 32, Interval(s));
    PutHighFirst(b, 34, TwosComplement(s.highTemp));
    PutHighFirst(b, 36, TwosComplement(s.lowTemp));
    PutHighFirst(b, 38, TwosComplement(s.humiHigh));
    PutHighFirst(b, 40, TwosComplement(s.humiLow));
    return block;
}

SettingsBlock SerialSettingsBlock(const MissionSettings& s)
{
    SettingsBlock block;
    Bytes& b = block.bytes;
    block.length = kSerialSettingsPayload;
    PutId(b, 7, s.id, kSerialIdBytes);
    PutTimeGroup(b, 11, StartOf(s));
    PutTimeGroup(b, 18, s.now);
    PutLowFirst(b, 25, Interval(s));
    PutLowFirst(b, 27, TwosComplement(s.highTemp));
    PutLowFirst(b, 29, TwosComplement(s.lowTemp));
    PutLowFirst(b, 31, TwosComplement(s.humiHigh));
    PutLowFirst(b, 33, TwosComplement(s.humiLow));
    return block;
}

SettingsBlock BuildSettingsBlock(int type, SettingsLink link, const MissionSettings& s)
{
    const LoggerType& row = LoggerTypeOf(type);
    if (link == SettingsLink::Serial)
        return row.serialConfigurable ? SerialSettingsBlock(s) : SettingsBlock {};
    if (row.usbSettingsBytes == 0)
        return {};
    return row.usbSignMagnitude ? UsbSignMagnitudeBlock(s, row.usbSettingsBytes)
                                : UsbTwosComplementBlock(s, row.usbSettingsBytes);
}
