#pragma once

#include "record/LoggerRecord.h"

#include <QString>

// Whether info prints a row of the record: the summary shows its value and
// the value text is not blank.
bool SummaryRowPrinted(const CLoggerRecord& r, int row);

// info --json: the summary rows the page shows, as one JSON object with
// numbers as numbers (temperatures in unit, rounded to 0.01), times in ISO
// 8601 local time, and "sha256": the record's fingerprint (the SHA-256 of
// the data file it saves to).
QString SummaryJson(const CLoggerRecord& r, TempUnit unit);
