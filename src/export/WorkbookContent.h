#pragma once

#include "record/LoggerRecord.h"

#include <QByteArray>
#include <map>
#include <string>
#include <utility>
#include <vector>
#include <xlsxwriter.h>

// The workbook's cell formats, each made once and shared by both sheets: the
// library looks a format that repeats an earlier one up again for every
// cell written with it. Null when the library cannot make one.
class WorkbookFormats {
public:
    explicit WorkbookFormats(lxw_workbook* book) : m_book(book) {}
    lxw_format* Header();
    // A number format code, its font red for values past a limit.
    lxw_format* Number(const QByteArray& code, bool red = false);

private:
    lxw_workbook* m_book;
    lxw_format* m_header = nullptr;
    std::map<std::pair<QByteArray, bool>, lxw_format*> m_numbers;
};

// The two sheets of the worksheet export, written into an open workbook in
// constant-memory mode (each sheet row by row, in order). LXW_NO_ERROR or
// the first error.
// Captions and temperatures as display shows them.
// The Summary sheet adds to timeCells the names of its cells that hold times.
lxw_error WriteSummarySheet(lxw_workbook* book, WorkbookFormats& formats, const CLoggerRecord& record,
                            const DisplaySettings& display, std::vector<std::string>& timeCells);
lxw_error WriteDataSheet(lxw_workbook* book, WorkbookFormats& formats, const CLoggerRecord& record,
                         const DisplaySettings& display);
