#pragma once

#include "record/LoggerRecord.h"
#include "record/TimeText.h"

#include <QString>
#include <functional>
#include <vector>

// The time axis under the report's chart: marks at round local times
// between the record's start (x 100) and stop (x 500), their labels in two
// rows, the time above the date, never overlapping and never past x 500.
// Every label shows its time; the first and the first of each new day also
// show the date (day steps and longer show dates only).

struct PdfAxisLabel {
    float x = 0; // left edge of the text
    float y = 0; // as PdfText takes it: 425 for times, 415 for dates
    QString text;
};

struct PdfTimeAxis {
    std::vector<float> marks; // x of each round time
    std::vector<PdfAxisLabel> labels;
};

// The width of a text in points at the labels' size.
using PdfTextWidth = std::function<float(const QString&)>;

// The axis of the times start .. stop. A record of one instant (stop not
// after start) gets one mark and the start's label at x 100.
PdfTimeAxis LayOutPdfTimeAxis(time64 start, time64 stop, const PdfTextWidth& width);

// The report's dates and times, zero-padded: "2026-06-15", "2026-06-15 08:00".
QString PdfDateText(const LocalTm& l);
QString PdfDateTimeText(time64 t);
