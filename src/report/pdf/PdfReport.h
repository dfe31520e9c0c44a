#pragma once

#include "record/LoggerRecord.h"

#include <QString>

// Writes the PDF report of record to path: pages of 600 x 900 points, page 1
// with a summary grid, a chart of the whole record and the first 14 rows of
// the sample table, each later page 38 more rows; every page ends with the
// record's fingerprint ("SHA-256: ", RecordFingerprint). A regular file is written
// through a temporary file in the same folder and replaces path only when
// whole. Captions and temperatures as display shows them. False with the
// reason in *why (when given) on any failure.
bool WritePdfReport(const CLoggerRecord& record, const DisplaySettings& display, const QString& path, QString* why);

// The pages of a report of count samples: 1 + ceil(max(0, count - 14) / 38).
int PdfReportPages(int count);

// "%d/%d" of page and total, "第%d页/共%d页" in Chinese.
QString PdfPageNumberText(int page, int total, std::uint16_t language);
