#pragma once

#include "record/LoggerRecord.h"

#include <string>
#include <vector>
#include <xlsxwriter.h>

// The two sheets of the worksheet export, written into an open workbook in
// constant-memory mode (each sheet row by row, in order). LXW_NO_ERROR or
// the first error.
// Captions and temperatures as display shows them.
// The Summary sheet adds to timeCells the names of its cells that hold times.
lxw_error WriteSummarySheet(lxw_workbook* book, const CLoggerRecord& record, const DisplaySettings& display,
                            std::vector<std::string>& timeCells);
lxw_error WriteDataSheet(lxw_workbook* book, const CLoggerRecord& record, const DisplaySettings& display);
