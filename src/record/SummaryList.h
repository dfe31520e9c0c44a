#pragma once

#include "record/LoggerRecord.h"

#include <QList>
#include <QString>

// How the summary shows one of a record's rows.
enum class SummaryRowShow {
    Absent, // not part of this record's summary
    Blank,  // shown without a value: the record holds none for it
    Value,  // shown with its value text
};

// Which summary rows show, for every front end (the summary page, the
// command line's info and the worksheet): rows 0..9, the humidity rows
// 10..14 only for a logger with humidity, the description and the mean
// kinetic temperature. A row holds a value when its row flag is set; the
// mean kinetic temperature goes with the average, the description always
// holds one.
SummaryRowShow ShowSummaryRow(const CLoggerRecord& record, int row);

// One row of the summary as a list: the caption and the value text, and
// which row it is (a SummaryRow).
struct SummaryItem {
    QString caption;
    QString value;
    int row = -1;
};

// The rows that show, in order (rows 0..14, the description, the mean
// kinetic temperature), each with its caption in language and, where it
// holds one, its value with control characters made printable; a blank
// value otherwise.
QList<SummaryItem> SummaryReportRows(const CLoggerRecord& record, std::uint16_t language);
