#pragma once

#include "record/LoggerRecord.h"

#include <QString>

// Local calendar time <-> seconds. Returns -1 when mktime cannot represent it.
time64 MakeLocalTime(int year, int month, int day, int hour, int minute, int second = 0);
struct LocalTm {
    int year, month, day, hour, minute, second;
};
LocalTm ToLocal(time64 t);

// "%d-%d-%d %.2d:%.2d": data list, graph readouts, reports, data-file rows.
QString FormatDateTime(time64 t);
// "%d-%d-%d  %.2d:%.2d" (two blanks): summary start/stop rows of a read-out.
QString FormatSummaryTime(time64 t);
// A span of seconds as "HH:MM:SS". The sampling interval wraps its hours at
// a day, as the loggers and data files show it; a duration (an alarm
// excursion, its totals) counts every hour: 90061 s is "01:01:01" as an
// interval and "25:01:01" as a duration.
QString FormatInterval(time64 seconds);
QString FormatDuration(time64 seconds);
