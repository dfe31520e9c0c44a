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
// "%.2d:%.2d:%.2d" with hours modulo 24.
QString FormatInterval(time64 seconds);
