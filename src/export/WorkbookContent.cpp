#include "export/WorkbookContent.h"

#include "base/TextTable.h"
#include "datafile/Fingerprint.h"
#include "export/NumberFormats.h"
#include "export/SummaryCells.h"
#include "record/ZoneNote.h"
#include "record/SampleText.h"
#include "record/SampleValues.h"
#include "record/SummaryList.h"
#include "record/TimeText.h"
#include "record/Units.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>

namespace {

constexpr lxw_row_t kFirstDataRow = 1; // row 0 holds the column names

QByteArray Utf8(const QString& text)
{
    return text.toUtf8();
}

// Width of a text in the sheet's character units: wide (CJK) characters
// take about two.
double TextWidth(const QString& text)
{
    double width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x1100 ? 2.0 : 1.0;
    return width;
}

// A column fitted to its widest text, with a little room on both sides.
lxw_error FitColumn(lxw_worksheet* sheet, lxw_col_t column, double widestText)
{
    return worksheet_set_column(sheet, column, column, widestText + 2.0, nullptr);
}

struct DataFormats {
    lxw_format* header = nullptr;
    lxw_format* time = nullptr;
    lxw_format* temp = nullptr;
    lxw_format* tempPast = nullptr;
    lxw_format* humi = nullptr;
    lxw_format* humiPast = nullptr;
};

bool MakeDataFormats(WorkbookFormats& formats, TempUnit unit, DataFormats& f)
{
    f.header = formats.Header();
    f.time = formats.Number(kDateTimeFormat);
    f.temp = formats.Number(UnitFormat(UnitText(unit)));
    f.tempPast = formats.Number(UnitFormat(UnitText(unit)), true);
    f.humi = formats.Number(UnitFormat(kUnitRH));
    f.humiPast = formats.Number(UnitFormat(kUnitRH), true);
    return f.header && f.time && f.temp && f.tempPast && f.humi && f.humiPast;
}

lxw_error WriteText(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const QString& text, lxw_format* format)
{
    if (text.isEmpty())
        return LXW_NO_ERROR;
    return worksheet_write_string(sheet, row, column, Utf8(text).constData(), format);
}

lxw_worksheet* AddSheet(lxw_workbook* book, TextId name, std::uint16_t language)
{
    return workbook_add_worksheet(book, Utf8(GetText(name, language)).constData());
}

lxw_error WriteValue(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const SampleValue& v, lxw_format* normal,
                     lxw_format* past, double& widest)
{
    if (!v.present)
        return LXW_NO_ERROR;
    // "-12.34": the integer digits, the point, two decimals and a sign.
    const double digits = v.value == 0 ? 1 : std::floor(std::log10(std::max(std::fabs(v.value), 1.0))) + 1;
    widest = std::max(widest, digits + 3 + (v.value < 0 ? 1 : 0));
    return worksheet_write_number(sheet, row, column, v.value, v.pastLimit ? past : normal);
}

lxw_error WriteTime(lxw_worksheet* sheet, lxw_row_t row, time64 t, lxw_format* format)
{
    if (t == 0)
        return LXW_NO_ERROR; // the list shows no time either
    const LocalTm local = ToLocal(t);
    lxw_datetime cell{local.year, local.month, local.day, local.hour, local.minute, static_cast<double>(local.second)};
    return worksheet_write_datetime(sheet, row, 1, &cell, format);
}

lxw_error WriteSampleRow(lxw_worksheet* sheet, const CLoggerRecord& r, int i, TempUnit unit, const DataFormats& f,
                         double (&widest)[4])
{
    const lxw_row_t row = kFirstDataRow + static_cast<lxw_row_t>(i);
    lxw_error error = worksheet_write_number(sheet, row, 0, i + 1, nullptr);
    if (!error)
        error = WriteTime(sheet, row, r.m_tTime[i], f.time);
    if (!error)
        error = WriteValue(sheet, row, 2, TempValue(r, i, unit), f.temp, f.tempPast, widest[2]);
    if (!error && r.HasHumidity())
        error = WriteValue(sheet, row, 3, HumiValue(r, i), f.humi, f.humiPast, widest[3]);
    return error;
}

lxw_error WriteSummaryValue(lxw_worksheet* sheet, lxw_row_t row, const SummaryCell& cell, WorkbookFormats& formats)
{
    if (!cell.numeric)
        return WriteText(sheet, row, 1, cell.text, nullptr);
    lxw_format* format = cell.format.isEmpty() ? nullptr : formats.Number(cell.format);
    if (!cell.format.isEmpty() && !format)
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    return worksheet_write_number(sheet, row, 1, cell.number, format);
}

// "B7" for row 6, column 1.
std::string CellName(lxw_row_t row, lxw_col_t column)
{
    char name[LXW_MAX_CELL_NAME_LENGTH];
    lxw_rowcol_to_cell(name, row, column);
    return name;
}

} // namespace

lxw_format* WorkbookFormats::Header()
{
    if (!m_header && (m_header = workbook_add_format(m_book)))
        format_set_bold(m_header);
    return m_header;
}

lxw_format* WorkbookFormats::Number(const QByteArray& code, bool red)
{
    lxw_format*& format = m_numbers[{code, red}];
    if (format || !(format = workbook_add_format(m_book)))
        return format;
    format_set_num_format(format, code.constData());
    if (red)
        format_set_font_color(format, LXW_COLOR_RED);
    return format;
}

lxw_error WriteSummarySheet(lxw_workbook* book, WorkbookFormats& formats, const CLoggerRecord& record,
                            const DisplaySettings& display, std::vector<std::string>& timeCells)
{
    lxw_worksheet* sheet = AddSheet(book, TextId::SummarySheet, display.language);
    lxw_format* header = formats.Header();
    if (!sheet || !header)
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    const QString captions[2] = {GetText(TextId::ItemColumn, display.language),
                                 GetText(TextId::StateColumn, display.language)};
    double widest[2] = {TextWidth(captions[0]), TextWidth(captions[1])};
    lxw_error error = WriteText(sheet, 0, 0, captions[0], header);
    if (!error)
        error = WriteText(sheet, 0, 1, captions[1], header);
    lxw_row_t row = 1;
    auto writeRow = [&](const QString& caption, const SummaryCell& value) {
        if (!error)
            error = WriteText(sheet, row, 0, caption, nullptr);
        if (!error)
            error = WriteSummaryValue(sheet, row, value, formats);
        if (!error && value.time)
            timeCells.push_back(CellName(row, 1));
        widest[0] = std::max(widest[0], TextWidth(caption));
        widest[1] = std::max(widest[1], TextWidth(value.text));
        ++row;
    };
    for (const SummaryItem& item : SummaryReportRows(record, display.language))
        writeRow(item.caption.trimmed(), SummaryValueCell(record, item.row, item.value.trimmed()));
    writeRow(QStringLiteral("Time zone"), SummaryTextCell(ZoneNote(record.m_tStart, record.m_tStop)));
    // The last row: the fingerprint of the record's data file.
    if (const QString fingerprint = RecordFingerprint(record); !fingerprint.isEmpty())
        writeRow(QStringLiteral("SHA-256"), SummaryTextCell(fingerprint));
    for (lxw_col_t c = 0; c < 2 && !error; ++c)
        error = FitColumn(sheet, c, widest[c]);
    return error;
}

lxw_error WriteDataSheet(lxw_workbook* book, WorkbookFormats& formats, const CLoggerRecord& record,
                         const DisplaySettings& display)
{
    lxw_worksheet* sheet = AddSheet(book, TextId::DataSheet, display.language);
    DataFormats f;
    if (!sheet || !MakeDataFormats(formats, display.unit, f))
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    const int columns = SampleColumnCount(record);
    const int rows = record.ReceivedRows();
    lxw_error error = LXW_NO_ERROR;
    for (int c = 0; c < columns && !error; ++c)
        error = WriteText(sheet, 0, static_cast<lxw_col_t>(c), GetText(SampleColumnTextId(c), display.language), f.header);
    // Widest value texts: the number, "2026-12-31 23:59", the values with their unit.
    double widest[4] = {static_cast<double>(QString::number(rows).size()), 16.0, 0, 0};
    for (int i = 0; i < rows && !error; ++i)
        error = WriteSampleRow(sheet, record, i, display.unit, f, widest);
    widest[2] += TextWidth(UnitText(display.unit));
    widest[3] += TextWidth(kUnitRH);
    for (int c = 0; c < columns && !error; ++c)
        error = FitColumn(sheet, static_cast<lxw_col_t>(c),
                          std::max(widest[c], TextWidth(GetText(SampleColumnTextId(c), display.language))));
    worksheet_freeze_panes(sheet, 1, 0);
    return error;
}
