#pragma once

#include "base/DisplaySettings.h"
#include "record/LoggerRecord.h"

#include <hpdf.h>
#include <utility>

class CPdfDocument;

// The chart of page 1 of the PDF report: frame, grid, value and time scales,
// alarm limits, legends and the curves of the whole record, each window of
// 1/400 of the record's time span reduced to its extremes. Temperatures and
// legend words as display shows them.
void DrawPdfChart(CPdfDocument& doc, HPDF_Page page, const CLoggerRecord& record, const DisplaySettings& display);

// Indices of the smallest and largest value of series among the samples of
// [t0, t1] (clamped to the record's times), the earlier first; (-1, -1)
// when the window holds none.
std::pair<int, int> WindowExtremes(const CLoggerRecord& record, const float* series, time64 t0, time64 t1);
