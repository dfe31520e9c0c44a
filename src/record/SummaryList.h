#pragma once

#include "record/LoggerRecord.h"

#include <QList>
#include <QString>

// One row of the summary as a list: the caption and the value text.
struct SummaryItem {
    QString caption;
    QString value;
};

// The summary page's hidden list: caption and value rows 0..9, and 10..14
// for a logger with humidity. Values have control characters made
// printable.
QList<SummaryItem> SummaryListRows(const CLoggerRecord& record);

// The list's rows followed by the two rows the summary page shows besides:
// the description and the mean kinetic temperature (blank while the
// statistics have no value).
QList<SummaryItem> SummaryReportRows(const CLoggerRecord& record);
