#pragma once

#include "record/LoggerRecord.h"

#include <QByteArray>
#include <QString>

// The data list of a record as RFC 4180 CSV in UTF-8: a header row with the
// column names, then one row per received sample with the list's cell texts;
// every field quoted, lines ended with CRLF. Headers and temperatures as
// display shows them.
QByteArray CsvFromRecord(const CLoggerRecord& record, const DisplaySettings& display);

// Writes CsvFromRecord to path as COutputFile does: a regular file through a
// temporary file that replaces it only when written whole (False on any
// failure, path then unchanged), a device, pipe or "-" straight. A file
// starts with the UTF-8 byte-order mark, a device, pipe or "-" does not.
// why, when given, receives the reason of a failure.
bool WriteCsvFile(const CLoggerRecord& record, const DisplaySettings& display, const QString& path,
                  QString* why = nullptr);
