#pragma once

#include "base/DisplaySettings.h"
#include "record/Excursions.h"

#include <QString>

// The alarms command's outputs.
// Text: one tab-separated line per excursion (channel, limit, limit value,
// first and last sample time, duration, peak), then one totals line per
// channel whose alarm is in force; captions and values as display shows them.
QString AlarmLines(const AlarmReport& report, const DisplaySettings& display);
// One JSON object: unit, excursions and totals per channel in force.
QString AlarmJson(const AlarmReport& report, TempUnit unit);
