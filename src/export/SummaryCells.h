#pragma once

#include "record/LoggerRecord.h"

#include <QByteArray>
#include <QString>

// How one value of the Summary sheet is stored. A row that holds a number
// (the count, a temperature or humidity figure), a date-time (start, stop)
// or a span (the interval) is stored as that number with a format that
// shows the summary's text again; any other row, and a text that no number
// would show exactly, stays that text.
struct SummaryCell {
    bool numeric = false;
    bool time = false; // a whole number of seconds as a day fraction
    double number = 0;
    QByteArray format; // empty: the general format
    QString text;      // the summary's text, as the cell shows it
};

// A cell that holds text as text.
SummaryCell SummaryTextCell(const QString& text);

// The cell for summary row row (a SummaryRow) of record showing text.
SummaryCell SummaryValueCell(const CLoggerRecord& record, int row, const QString& text);
