#pragma once

#include "record/LoggerRecord.h"

#include <QString>

// Writes a record as an Office Open XML workbook (.xlsx) with two sheets:
// "Summary" (the summary list's captions and values, the description and
// the mean kinetic temperature, then the time zone and a row "SHA-256" with
// the record's fingerprint; figures and times stored as numbers that show
// the list's texts) and "Data" (one row per sample: the
// number, a local date-time cell, the temperature and, with humidity, the
// humidity, as numbers in display's unit, red past an alarm limit).
// Sheet names and headers are in display's language.
//
// The workbook is built in a scratch folder, checked whole, and then
// written to path as COutputFile writes: a regular file is replaced only
// when complete. False on any failure (path then unchanged), with the
// reason in why when given.
bool WriteWorksheet(const CLoggerRecord& record, const DisplaySettings& display, const QString& path,
                    QString* why = nullptr);
