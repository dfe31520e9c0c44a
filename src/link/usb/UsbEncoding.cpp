#include "link/usb/UsbEncoding.h"

#include "record/TimeText.h"

#include <algorithm>
#include <ctime>

namespace usbcode {

float DecodeReading(const std::uint8_t* p)
{
    const std::uint16_t raw = static_cast<std::uint16_t>((p[0] << 8) | p[1]);
    if (raw == 0x8000)
        return 0.0f;
    return static_cast<float>(static_cast<std::int16_t>(raw)) / 100.0f;
}

float DecodeSignedMagnitude(const std::uint8_t* p)
{
    const int magnitude = ((p[0] & 0x7F) << 8) | p[1];
    const float value = static_cast<float>(magnitude) / 100.0f;
    return (p[0] & 0x80) ? -value : value;
}

std::optional<time64> DecodeTime6(const std::uint8_t* p)
{
    const int minute = p[0], hour = p[1], day = p[2], month = p[3];
    const int year = p[5] * 100 + p[4];
    if (year < 1900 || year > 3000 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23
        || minute > 59)
        return std::nullopt;
    const time64 t = MakeLocalTime(year, month, day, hour, minute, 0);
    if (t == -1)
        return std::nullopt;
    return t;
}

void EncodeTime7(time64 t, std::uint8_t* out)
{
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    if (!localtime_r(&tt, &tm)) {
        const std::uint8_t unknown[7] = {0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
        std::copy(unknown, unknown + 7, out);
        return;
    }
    const int year = tm.tm_year + 1900;
    out[0] = static_cast<std::uint8_t>(tm.tm_sec);
    out[1] = static_cast<std::uint8_t>(tm.tm_min);
    out[2] = static_cast<std::uint8_t>(tm.tm_hour);
    out[3] = static_cast<std::uint8_t>(tm.tm_mday);
    out[4] = static_cast<std::uint8_t>(tm.tm_mon + 1);
    out[5] = static_cast<std::uint8_t>(year % 100);
    out[6] = static_cast<std::uint8_t>(year / 100);
}

void PutWord(std::uint8_t* p, std::uint16_t value)
{
    p[0] = static_cast<std::uint8_t>(value >> 8);
    p[1] = static_cast<std::uint8_t>(value & 0xFF);
}

std::int16_t ClampToInt16(long long value)
{
    return static_cast<std::int16_t>(std::clamp<long long>(value, -32768, 32767));
}

void PutSignedMagnitude(std::uint8_t* p, int hundredths)
{
    const int magnitude = std::min(hundredths < 0 ? -hundredths : hundredths, 0x7FFF);
    PutWord(p, static_cast<std::uint16_t>(magnitude | (hundredths < 0 ? 0x8000 : 0)));
}

void PutTwosComplement(std::uint8_t* p, int hundredths)
{
    PutWord(p, static_cast<std::uint16_t>(ClampToInt16(hundredths)));
}

} // namespace usbcode
