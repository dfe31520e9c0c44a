#pragma once

#include "record/LoggerRecord.h"

#include <QString>

// The samples a report covers and their statistics (degrees C, %RH).
struct ReportRange {
    time64 start = 0;
    time64 end = 0;
    int count = 0;
    int first = 0;
    int last = 0;
    float maxT = 0, minT = 0, avgT = 0, mkt = 0;
    float maxH = 0, minH = 0, avgH = 0;
};

// Chooses the samples of [start, end] of record, both clamped to the
// record's start and stop: from the last sample at or before start (a start
// between two samples takes the earlier one) to the last at or before end.
// False when start is after end once clamped; range is then unchanged.
// A record without samples gives a range of none.
bool SelectRange(const CLoggerRecord& record, time64 start, time64 end, ReportRange& range);

// Everything a report page reads: the record, the range, the units and the
// page count of the kind drawn.
struct ReportData {
    const CLoggerRecord* record = nullptr;
    ReportRange range;
    float tempLabel[5] = {};
    float humiLabel[5] = {};
    // The unit of the temperatures and the language of the captions.
    DisplaySettings display;
    int totalPages = 1;
    int screenPlotWidth = 907;
    // The fingerprint of the record's data file (RecordFingerprint), shown
    // on every page; empty: none shown.
    QString fingerprint;

    // The text of the report's temperature unit.
    const QString& TempUnitText() const;
    // A stored Celsius value in the report's unit.
    double Temp(float celsius) const;
    // "%.2f" of a temperature in the report's unit.
    QString TempText(float celsius) const;
    // The value labels, top to bottom, from the range's extremes.
    void ComputeAxisLabels();
};
