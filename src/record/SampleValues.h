#pragma once

#include "record/LoggerRecord.h"

// A sample's value as the data list shows it, as a number: in the unit in
// unit given, rounded to hundredths exactly as the list's text rounds it.
struct SampleValue {
    bool present = false;   // false for a missing reading (the list leaves it blank)
    double value = 0;
    bool pastLimit = false; // beyond an enabled alarm limit (the list's "*")
};

SampleValue TempValue(const CLoggerRecord& record, int row, TempUnit unit);
SampleValue HumiValue(const CLoggerRecord& record, int row);

// value rounded to hundredths as "%.2f" rounds it.
double RoundToHundredths(double value);
