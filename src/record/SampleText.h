#pragma once

#include "record/LoggerRecord.h"

#include <QString>

// The data list's cells, formatted on demand from a record: number, time,
// temperature (in unit, "*" past an alarm limit) and, for a
// temperature+humidity logger, humidity.
int SampleColumnCount(const CLoggerRecord& record);
// Text id of a column's header ("Num", "RecordTime", "Temperature", "Humidity").
int SampleColumnTextId(int column);
QString SampleCellText(const CLoggerRecord& record, int row, int column, TempUnit unit);
