#include "export/CsvExport.h"

#include "base/OutputFile.h"
#include "base/TextTable.h"
#include "record/SampleText.h"

namespace {

void AppendField(QByteArray& out, const QString& text)
{
    QByteArray bytes = text.toUtf8();
    bytes.replace('"', "\"\"");
    out += '"';
    out += bytes;
    out += '"';
}

void AppendRow(QByteArray& out, const CLoggerRecord& record, const DisplaySettings& display, int columns, int row)
{
    for (int c = 0; c < columns; ++c) {
        if (c > 0)
            out += ',';
        AppendField(out, row < 0 ? GetText(SampleColumnTextId(c), display.language)
                                      : SampleCellText(record, row, c, display.unit));
    }
    out += "\r\n";
}

} // namespace

QByteArray CsvFromRecord(const CLoggerRecord& record, const DisplaySettings& display)
{
    const int columns = SampleColumnCount(record);
    const int rows = record.ReceivedRows();
    QByteArray out;
    out.reserve(64 + static_cast<qsizetype>(rows) * 48);
    AppendRow(out, record, display, columns, -1);
    for (int r = 0; r < rows; ++r)
        AppendRow(out, record, display, columns, r);
    return out;
}

bool WriteCsvFile(const CLoggerRecord& record, const DisplaySettings& display, const QString& path, QString* why)
{
    // Spreadsheet programs take a file without the byte-order mark for the
    // system's 8-bit code page and garble the degree sign; a stream read by
    // another program gets the plain UTF-8 text.
    static const QByteArray kByteOrderMark("\xEF\xBB\xBF");
    COutputFile file(path);
    const QByteArray csv = CsvFromRecord(record, display);
    if (file.Open() && file.Commit(COutputFile::IsDirect(path) ? csv : kByteOrderMark + csv))
        return true;
    if (why)
        *why = file.Error();
    return false;
}
