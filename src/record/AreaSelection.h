#pragma once

#include "record/LoggerRecord.h"

// Builds a range record (the "area") from the samples of a whole record that
// lie between two chosen times. The graph page's selection and the CLI's
// --from/--to both come here.

enum class SelectionResult {
    Unchanged, // the source has no samples or its times are inverted: area untouched
    Refused,   // the source's interval is 0: no sample instants; area emptied
    Empty,     // the range holds no sample instant; area emptied
    Built,     // the area holds the samples of the range
};

struct SelectionClamps {
    bool start = false; // the chosen start lay before the record's start
    bool stop = false;  // the chosen stop lay after the record's stop
};

// The area takes the whole sample instants of source from the first at or
// after `from` to the last at or before `to`, both clamped to the source's
// own start and stop (clamps says which were). Its samples are copies of the
// source's shown temperature series (and humidity), its statistics and texts
// are computed afresh with the plain series, temperatures in unit.
SelectionResult ComputeSelection(const CLoggerRecord& source, time64 from, time64 to, CLoggerRecord& area,
                                 SelectionClamps& clamps, TempUnit unit);
