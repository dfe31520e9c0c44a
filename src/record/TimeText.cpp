#include "record/TimeText.h"

#include <ctime>

time64 MakeLocalTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return static_cast<time64>(std::mktime(&tm));
}

LocalTm ToLocal(time64 t)
{
    std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    if (!localtime_r(&tt, &tm))
        return {1970, 1, 1, 0, 0, 0};
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

static QString FormatWithGap(time64 t, const char* format)
{
    const LocalTm l = ToLocal(t);
    return QString::asprintf(format, l.year, l.month, l.day, l.hour, l.minute);
}

QString FormatDateTime(time64 t)
{
    return FormatWithGap(t, "%d-%d-%d %.2d:%.2d");
}

QString FormatSummaryTime(time64 t)
{
    return FormatWithGap(t, "%d-%d-%d  %.2d:%.2d");
}

namespace {

enum class HourWrap { AtDay, None };

QString FormatHms(time64 seconds, HourWrap wrap)
{
    const long long hours = seconds / 3600;
    return QString::asprintf("%.2lld:%.2lld:%.2lld", wrap == HourWrap::AtDay ? hours % 24 : hours,
                             static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
}

} // namespace

QString FormatInterval(time64 seconds)
{
    return FormatHms(seconds, HourWrap::AtDay);
}

QString FormatDuration(time64 seconds)
{
    return FormatHms(seconds, HourWrap::None);
}
