#pragma once

#include "record/LoggerRecord.h"

#include <QString>

// Writes record to path as a data file; area marks a selected time range.
// False on any failure (path then unchanged), with the reason in why.
bool WriteDataFile(const CLoggerRecord& record, bool area, const QString& path, QString* why = nullptr);

// The same, marked as a range when the record is one (m_bRange).
bool WriteRecordDataFile(const CLoggerRecord& record, const QString& path, QString* why = nullptr);
