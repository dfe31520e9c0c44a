#include "report/pdf/PdfReport.h"

#include "base/OutputFile.h"
#include "base/TextTable.h"
#include "datafile/Fingerprint.h"
#include "record/ZoneNote.h"
#include "record/Units.h"
#include "report/LimitMark.h"
#include "report/pdf/PdfChart.h"
#include "report/pdf/PdfDocument.h"
#include "report/pdf/PdfTimeAxis.h"

#include <algorithm>

namespace {

constexpr float kPageWidth = 600;
constexpr float kPageHeight = 900;
constexpr int kRowHeight = 20;
constexpr float kGridRight = kPageWidth - 50;

struct SummaryCell {
    float x;
    float fromTop; // y is H - fromTop
    int textId;    // 0: a value row instead
    int valueRow;
    int maxChars;
    float right;   // the cell's right edge
};

// Captions (text ids) and values (summary rows, at most maxChars of them)
// of the grid, each drawn to fit its cell.
constexpr SummaryCell kSummaryCells[] = {
    {50, 55, 5, -1, 0, 120},       {125, 55, 0, ROW_ID, 20, 260},
    {260, 55, 20, -1, 0, 330},     {335, 55, 0, ROW_DESCRIPTION, 38, kGridRight},
    {50, 75, 6, -1, 0, 120},       {125, 75, 0, ROW_START, 25, 260},
    {260, 75, 7, -1, 0, 330},      {335, 75, 0, ROW_STOP, 25, 470},
    {50, 95, 163, -1, 0, 120},     {55, 125, 0, ROW_INTERVAL, 1000, 120},
    {125, 95, 164, -1, 0, 190},    {125, 115, 32, -1, 0, 190},
    {190, 95, 165, -1, 0, 260},    {260, 95, 166, -1, 0, 330},
    {330, 95, 167, -1, 0, 400},    {400, 95, 169, -1, 0, 470},
    {470, 95, 168, -1, 0, kGridRight},
};

constexpr int kTempRows[] = {ROW_MAX, ROW_MIN, ROW_AVG, ROW_LOW_LIMIT, ROW_HIGH_LIMIT};
constexpr int kHumiRows[] = {ROW_HUMI_MAX, ROW_HUMI_MIN, ROW_HUMI_AVG, ROW_HUMI_LOW_LIMIT, ROW_HUMI_HIGH_LIMIT};
constexpr float kStatX[] = {195, 265, 335, 405, 475};
constexpr float kStatRight[] = {260, 330, 400, 470, kGridRight};
// The sample table's columns: left edges of their texts, right edges.
constexpr float kColumnX[] = {55, 180, 305, 430};
constexpr float kColumnRight[] = {175, 300, 425, kGridRight};

int SampleCount(const CLoggerRecord& r)
{
    return std::clamp(r.m_nCount, 0, MAX_SAMPLES);
}

void Line(HPDF_Page page, float x0, float y0, float x1, float y1)
{
    HPDF_Page_MoveTo(page, x0, y0);
    HPDF_Page_LineTo(page, x1, y1);
}

void DrawSummaryGrid(HPDF_Page page, float W, float H)
{
    for (float y : {50, 70, 90, 110, 150})
        Line(page, 50, H - y, W - 50, H - y);
    Line(page, 120, H - 130, W - 50, H - 130);
    for (float x : {50, 120, 260, 330})
        Line(page, x, H - 50, x, H - 150);
    for (float x : {190, 400})
        Line(page, x, H - 90, x, H - 150);
    Line(page, 470, H - 70, 470, H - 150);
    Line(page, W - 50, H - 50, W - 50, H - 150);
    HPDF_Page_Stroke(page);
}

// A summary row's value; the start and stop times in the report's own
// date format (a row the logger left empty stays empty).
QString SummaryValue(const CLoggerRecord& r, int row)
{
    const QString& text = r.m_strValue[row];
    if (text.isEmpty())
        return text;
    if (row == ROW_START)
        return PdfDateTimeText(r.m_tStart);
    if (row == ROW_STOP)
        return PdfDateTimeText(r.m_tStop);
    return text;
}

void DrawSummaryTexts(CPdfDocument& doc, HPDF_Page page, const CLoggerRecord& r, std::uint16_t language, float H)
{
    for (const SummaryCell& c : kSummaryCells) {
        const QString text = c.textId ? GetText(c.textId, language) : SummaryValue(r, c.valueRow).left(c.maxChars);
        doc.TextInCell(page, c.x, H - c.fromTop, text, c.right);
    }
    doc.TextInCell(page, 475, H - 75, QStringLiteral("MKT:") + r.m_strValue[ROW_MKT].left(12), kGridRight);
    for (int k = 0; k < 5; ++k)
        doc.TextInCell(page, kStatX[k], H - 115, r.m_strValue[kTempRows[k]], kStatRight[k]);
    if (r.HasHumidity()) {
        doc.TextInCell(page, 125, H - 135, GetText(33, language), 190);
        for (int k = 0; k < 5; ++k)
            doc.TextInCell(page, kStatX[k], H - 135, r.m_strValue[kHumiRows[k]], kStatRight[k]);
    }
}

// A sample value with two decimals; one with a limit mark shrinks to its
// cell when it must (a bare value always fits).
void ValueCell(CPdfDocument& doc, HPDF_Page page, float x, float y, double value, const QString& mark, float right)
{
    const QString text = QString::asprintf("%.2f", value);
    if (mark.isEmpty())
        doc.Text(page, x, y, text);
    else
        doc.TextInCell(page, x, y, text + mark, right);
}

// The sample table's part on one page: header at headerY, rows of samples
// first .. first + rows - 1.
void DrawTablePart(CPdfDocument& doc, HPDF_Page page, const CLoggerRecord& r, const DisplaySettings& display,
                   float headerY, int first, int rows)
{
    const float W = kPageWidth;
    const bool humidity = r.HasHumidity();
    doc.SetFontSize(page, 12);
    const std::uint16_t language = display.language;
    const QString captions[] = {GetText(30, language), GetText(170, language),
                                GetText(32, language) + QLatin1Char('[') + UnitText(display.unit) + QLatin1Char(']'),
                                GetText(33, language) + QLatin1Char('[') + kUnitRH + QLatin1Char(']')};
    for (int c = 0; c < (humidity ? 4 : 3); ++c)
        doc.TextInCell(page, kColumnX[c], headerY, captions[c], kColumnRight[c]);
    const float y0 = headerY - 22;
    HPDF_Page_SetLineWidth(page, 1);
    for (int j = 0; j <= rows; ++j)
        Line(page, 50, y0 - kRowHeight * j, W - 50, y0 - kRowHeight * j);
    for (float x : {50.0f, 175.0f, 300.0f, 425.0f, W - 50})
        Line(page, x, y0, x, y0 - kRowHeight * rows);
    HPDF_Page_Stroke(page);
    doc.SetFontSize(page, 10);
    for (int row = 0; row < rows; ++row) {
        const int s = first + row;
        const float y = y0 - 5 - kRowHeight * row;
        const float t = r.m_fTempShown[s];
        doc.Text(page, 55, y, QString::number(s + 1));
        doc.Text(page, 180, y, PdfDateTimeText(r.m_tTime[s]));
        ValueCell(doc, page, 305, y, InUnit(t, display.unit), TempLimitMark(r, t, display.unit), kColumnRight[2]);
        if (humidity) {
            const float h = r.m_fHumi[s];
            ValueCell(doc, page, 430, y, h, HumiLimitMark(r, h), kColumnRight[3]);
        }
    }
}

// The foot of a page: the record's fingerprint below the table, in line
// with the texts of its first column, left of the page number, and below
// it the time zone of the page's times.
void DrawFooter(CPdfDocument& doc, HPDF_Page page, const QString& fingerprint, const QString& zone)
{
    doc.SetFontSize(page, 8);
    if (!fingerprint.isEmpty())
        doc.Text(page, kColumnX[0], 50, FingerprintLine(fingerprint));
    doc.Text(page, kColumnX[0], 40, zone);
}

void DrawReport(CPdfDocument& doc, const CLoggerRecord& r, const DisplaySettings& display)
{
    const QString fingerprint = RecordFingerprint(r);
    const QString zone = ZoneNote(r.m_tStart, r.m_tStop);
    HPDF_Page page = doc.AddPage(kPageWidth, kPageHeight);
    if (!page)
        return;
    const float W = std::trunc(HPDF_Page_GetWidth(page));
    const float H = std::trunc(HPDF_Page_GetHeight(page));
    doc.SetFontSize(page, 10);
    HPDF_Page_SetLineWidth(page, 1);
    HPDF_Page_SetLineJoin(page, HPDF_MITER_JOIN);
    DrawSummaryGrid(page, W, H);
    DrawSummaryTexts(doc, page, r, display.language, H);
    DrawPdfChart(doc, page, r, display);

    const int count = SampleCount(r);
    const int pages = PdfReportPages(count);
    const int firstRows = std::min(14, count);
    DrawTablePart(doc, page, r, display, H - 530, 0, firstRows);
    DrawFooter(doc, page, fingerprint, zone);
    doc.SetFontSize(page, 10);
    doc.Text(page, W - 100, 50, PdfPageNumberText(1, pages, display.language));
    int next = firstRows;
    for (int number = 2; next < count && doc.Ok(); ++number) {
        page = doc.AddPage(kPageWidth, kPageHeight);
        if (!page)
            return;
        const int rows = std::min(38, count - next);
        DrawTablePart(doc, page, r, display, H - 50, next, rows);
        DrawFooter(doc, page, fingerprint, zone);
        doc.SetFontSize(page, 10);
        doc.Text(page, W - 130, 50, PdfPageNumberText(number, pages, display.language));
        next += rows;
    }
}

// The document information: what the report is, of which logger, made by what.
void DescribeReport(CPdfDocument& doc, const CLoggerRecord& r, std::uint16_t language)
{
    const char* subject = language == LANG_CHINESE ? "温度报告" : "Temperature report";
    doc.SetInfo(r.m_strValue[ROW_ID], QString::fromUtf8(subject), QStringLiteral("Halvern TH " HALVERN_VERSION));
}

bool Fail(QString* why, const QString& reason)
{
    if (why)
        *why = reason;
    return false;
}

} // namespace

int PdfReportPages(int count)
{
    return 1 + (std::max(0, count - 14) + 37) / 38;
}

QString PdfPageNumberText(int page, int total, std::uint16_t language)
{
    if (language == LANG_CHINESE)
        return QString::fromUtf8("第%1页/共%2页").arg(page).arg(total);
    return QStringLiteral("%1/%2").arg(page).arg(total);
}

bool WritePdfReport(const CLoggerRecord& record, const DisplaySettings& display, const QString& path, QString* why)
{
    if (path.isEmpty())
        return Fail(why, QStringLiteral("no file name"));
    CPdfDocument doc;
    DrawReport(doc, record, display);
    DescribeReport(doc, record, display.language);
    QByteArray bytes;
    if (!doc.Save(bytes))
        return Fail(why, doc.Error());
    COutputFile out(path);
    if (!out.Open() || !out.Commit(bytes))
        return Fail(why, out.Error());
    return true;
}
