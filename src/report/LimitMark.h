#pragma once

#include "record/LoggerRecord.h"

#include <QString>

// The mark a report's table puts after a value beyond an alarm limit in
// force: " [<2.00]" below the lower limit, " [>8.00]" above the upper one,
// the limit as "%.2f" in the value's unit; empty within the limits or when
// the channel has no alarm.
QString TempLimitMark(const CLoggerRecord& record, float celsius, TempUnit unit);
QString HumiLimitMark(const CLoggerRecord& record, float humidity);
