#include "report/TextPage.h"

#include "base/TextTable.h"
#include "datafile/Fingerprint.h"
#include "report/LimitMark.h"
#include "report/PageFoot.h"
#include "record/TimeText.h"
#include "record/Units.h"

#include <QStringList>

namespace {

QString Fixed(float v)
{
    return QString::asprintf("%.2f", static_cast<double>(v));
}

QString Line(const ReportData& d, int row, const QString& value)
{
    return SummaryCaption(row, d.display.language) + QLatin1Char(' ') + value;
}

QStringList SummaryLines(const ReportData& d)
{
    const CLoggerRecord& r = *d.record;
    const ReportRange& g = d.range;
    auto time = [](time64 t) { return t ? FormatDateTime(t) : QString(); };
    QStringList lines = {
        Line(d, ROW_DESCRIPTION, r.m_strValue[ROW_DESCRIPTION]),
        Line(d, ROW_ID, r.m_strValue[ROW_ID]),
        Line(d, ROW_START, time(g.start)),
        Line(d, ROW_STOP, time(g.end)),
        Line(d, ROW_INTERVAL, FormatInterval(r.m_tsInterval)),
        Line(d, ROW_COUNT, QString::number(g.count)),
        Line(d, ROW_MAX, d.TempText(g.maxT) + d.TempUnitText()),
        Line(d, ROW_MIN, d.TempText(g.minT) + d.TempUnitText()),
        Line(d, ROW_AVG, d.TempText(g.avgT) + d.TempUnitText()),
        Line(d, ROW_MKT, d.TempText(g.mkt) + d.TempUnitText()),
    };
    QString alarm = GetText(58, d.display.language) + QStringLiteral(": ");
    if (r.m_bTempAlarm)
        alarm += QLatin1Char('[') + d.TempText(r.m_fLowLimit) + QStringLiteral(", ") + d.TempText(r.m_fHighLimit) + QLatin1Char(']') + d.TempUnitText();
    lines << alarm;
    if (r.HasHumidity()) {
        lines << Line(d, ROW_HUMI_MAX, Fixed(g.maxH) + kUnitRH) << Line(d, ROW_HUMI_MIN, Fixed(g.minH) + kUnitRH)
              << Line(d, ROW_HUMI_AVG, Fixed(g.avgH) + kUnitRH);
        QString humi = GetText(60, d.display.language) + QStringLiteral(": ");
        if (r.m_bHumiAlarm)
            humi += QLatin1Char('[') + Fixed(r.m_fHumiLowLimit) + QStringLiteral(", ") + Fixed(r.m_fHumiHighLimit) + QLatin1Char(']') + kUnitRH;
        lines << humi;
    }
    return lines;
}

QString TempCell(const ReportData& d, float v)
{
    return d.TempText(v) + d.TempUnitText() + TempLimitMark(*d.record, v, d.display.unit);
}

QString HumiCell(const ReportData& d, float w)
{
    return Fixed(w) + kUnitRH + HumiLimitMark(*d.record, w);
}

void DrawTable(ISurface& s, const TextLayout& l, const ReportData& d, int page)
{
    const CLoggerRecord& r = *d.record;
    const bool humidity = r.HasHumidity();
    s.TextOut(l.X(60), l.Y(7), r.m_strValue[ROW_ID].left(20));
    s.SetFont(l.tableFont);
    const int top = l.Y(15);
    const int num = l.X(15), time = l.X(30), temp = l.X(70), humi = l.X(110);
    s.TextOut(num, top, GetText(30, d.display.language));
    s.TextOut(time, top, GetText(31, d.display.language));
    s.TextOut(temp, top, GetText(32, d.display.language));
    if (humidity)
        s.TextOut(humi, top, GetText(33, d.display.language));
    const TablePageRows rows = TableRows(page, l.rowsPerPage, d.range.count);
    const int first = rows.before + d.range.first;
    for (int i = 1; i <= rows.rows; ++i) {
        const int grey = RowGrey(i);
        s.SetTextBackground({grey, grey, grey});
        const int y = l.rowHeight * i + top;
        const int sample = first + i - 1;
        const LocalTm tm = ToLocal(r.m_tTime[sample]);
        s.TextOut(num, y, QString::number(rows.before + i));
        s.TextOut(time, y, QString::asprintf(" %d-%d-%d %.2d:%.2d", tm.year, tm.month, tm.day, tm.hour, tm.minute));
        s.TextOut(temp, y, TempCell(d, r.m_fTempShown[sample]));
        if (humidity)
            s.TextOut(humi, y, HumiCell(d, r.m_fHumi[sample]));
    }
    s.SetTextBackground({255, 255, 255});
}

} // namespace

TextLayout ComputeTextLayout(int dpiX, int dpiY, float f, int rowsPerPage)
{
    TextLayout l;
    l.f = f;
    l.ppmX = PxPerMm(dpiX);
    l.ppmY = PxPerMm(dpiY);
    l.rowsPerPage = rowsPerPage;
    l.pageWidth = l.X(200);
    l.pageHeight = l.Y(290);
    l.rowHeight = static_cast<int>(270 * static_cast<double>(f) * l.ppmY / (rowsPerPage + 1));
    l.pageFont.pixelHeight = -FontHeight(12, f, dpiY, 72);
    l.tableFont.pixelHeight = -FontHeight(12, f, dpiY, 96);
    return l;
}

void DrawTextPage(ISurface& s, const TextLayout& l, const ReportData& d, int page)
{
    s.SetPen({});
    s.SetTextBackground({255, 255, 255});
    s.Rectangle(0, 0, l.pageWidth, l.pageHeight);
    s.SetFont(l.pageFont);
    s.TextOut(l.X(180), l.Y(5), QStringLiteral("%1/%2").arg(page).arg(d.totalPages));
    if (page == 1) {
        const QStringList lines = SummaryLines(d);
        for (int i = 0; i < lines.size(); ++i)
            s.TextOut(l.X(20), l.Y(10) + i * l.Y(8), lines[i]);
    } else {
        DrawTable(s, l, d, page);
    }
    // The table reaches the foot of the printable page: the fingerprint
    // takes the free band above the page number and the logger ID.
    s.SetFont(l.tableFont);
    FootLine(s, l.tableFont, l.X(15), l.Y(1), l.X(192), d);
}
