#include "report/CurvePage.h"

#include "base/TextTable.h"
#include "datafile/Fingerprint.h"
#include "report/PageFoot.h"
#include "record/TimeText.h"
#include "record/Units.h"
#include "report/CellText.h"

#include <algorithm>
#include <cmath>

namespace {

const Pen kBlack1{PenStyle::Solid, 1, {}};
const Pen kBlack2{PenStyle::Solid, 2, {}};
const Pen kBlack3{PenStyle::Solid, 3, {}};
const Pen kGridDots{PenStyle::Dot, 1, {100, 100, 100}};

double Scale(const CurveLayout& l, float max, float min)
{
    return max > min ? l.Y(40) / static_cast<double>(max - min) : 0;
}

struct Bucket {
    int steps = 0;
    int maxT, minT, maxH, minH;
};

// The extremes of the bucket at position of the range.
Bucket BucketExtremes(const CLoggerRecord& r, const ReportRange& range, double bucket, double position)
{
    Bucket b;
    const int start = static_cast<int>(std::ceil(position)) + range.first;
    // A position rounded up past the range's last sample holds none.
    if (start - range.first >= range.count || start >= MAX_SAMPLES)
        return b;
    b.maxT = b.minT = b.maxH = b.minH = start;
    for (int i = 0; i < bucket; ++i, ++b.steps) {
        const int j = start + i;
        if (j - range.first >= range.count)
            continue;
        if (r.m_fTempShown[j] > r.m_fTempShown[b.maxT])
            b.maxT = j;
        if (r.m_fTempShown[j] <= r.m_fTempShown[b.minT])
            b.minT = j;
        if (r.m_fHumi[j] > r.m_fHumi[b.maxH])
            b.maxH = j;
        if (r.m_fHumi[j] <= r.m_fHumi[b.minH])
            b.minH = j;
    }
    return b;
}

void Append(QVector<int>& out, int a, int b)
{
    out.push_back(std::min(a, b));
    if (a != b)
        out.push_back(std::max(a, b));
}

// The vertical lines of the header, as DrawHeaderGrid draws them: cell i
// lies between lines i and i + 1 (the six cells of the first part, MKT,
// temperature alarm and, with humidity, its average and alarm).
QVector<int> HeaderColumnLines(const CurveLayout& l, bool humidity)
{
    const int part = l.X(174);
    QVector<int> lines = {l.X(5), l.X(45), l.X(75), l.X(107), l.X(139), l.X(159), part, part + l.X(20), part + l.X(20) + l.X(34)};
    if (humidity) {
        const int u = lines.back();
        lines << u + l.X(20) << u + l.X(20) + l.X(32);
    }
    return lines;
}

void DrawHeaderTexts(ISurface& s, const CurveLayout& l, const ReportData& d)
{
    const CLoggerRecord& r = *d.record;
    const bool humidity = r.HasHumidity();
    const int top = l.Y(7), rowHeight = l.Y(5);
    const int tops[] = {l.Y(8), l.Y(13)};
    const QVector<int> lines = HeaderColumnLines(l, humidity);
    // Texts too wide for their cell are set smaller or on two lines, never
    // into the next cell.
    auto out = [&](int cell, int row, int x, const QString& text) {
        const CellEdges edges{lines[cell], top + row * rowHeight, lines[cell + 1], top + (row + 1) * rowHeight};
        CellTextOut(s, l.font, x, tops[row], edges, text);
    };
    const int columns[] = {l.X(6), l.X(46), l.X(76), l.X(108), l.X(140), l.X(160)};
    const int captions[] = {61, 52, 53, 54, 55, 56};
    const QString values[] = {r.m_strValue[ROW_DESCRIPTION], r.m_strValue[ROW_ID], FormatDateTime(d.range.start),
                              FormatDateTime(d.range.end), r.m_strValue[ROW_INTERVAL], QString::number(d.range.count)};
    for (int i = 0; i < 6; ++i) {
        out(i, 0, columns[i], GetText(captions[i], d.display.language));
        out(i, 1, columns[i], values[i]);
    }
    int x = l.X(175);
    out(6, 0, x, GetText(156, d.display.language));
    out(6, 1, x, d.TempText(d.range.mkt) + d.TempUnitText());
    x += l.X(20);
    out(7, 0, x, GetText(58, d.display.language));
    if (r.m_bTempAlarm)
        out(7, 1, x, QLatin1Char('[') + d.TempText(r.m_fLowLimit) + QLatin1Char(',') + d.TempText(r.m_fHighLimit) + QLatin1Char(']') + d.TempUnitText());
    if (!humidity)
        return;
    x += l.X(34);
    out(8, 0, x, GetText(59, d.display.language));
    out(8, 1, x, QString::asprintf("%.2f", static_cast<double>(d.range.avgH)) + kUnitRH);
    x += l.X(20);
    out(9, 0, x, GetText(60, d.display.language));
    if (r.m_bHumiAlarm)
        out(9, 1, x, QString::asprintf("[%.2f,%.2f]", static_cast<double>(r.m_fHumiLowLimit), static_cast<double>(r.m_fHumiHighLimit)) + kUnitRH);
}

void Line(ISurface& s, int x0, int y0, int x1, int y1)
{
    s.MoveTo(x0, y0);
    s.LineTo(x1, y1);
}

void DrawHeaderGrid(ISurface& s, const CurveLayout& l, bool humidity)
{
    s.SetPen(l.Scaled(kBlack1));
    const int top = l.Y(7), row = l.Y(5), left = l.X(5), right = l.X(174);
    for (int k = 0; k < 3; ++k)
        Line(s, left, top + k * row, right, top + k * row);
    for (int x : {left, l.X(45), l.X(75), l.X(107), l.X(139), l.X(159), right})
        Line(s, x, top, x, top + 2 * row);
    int u = right;
    auto part = [&](int first, int second) {
        for (int k = 0; k < 3; ++k)
            Line(s, u, top + k * row, u + first + second, top + k * row);
        Line(s, u, top, u, top + 2 * row);
        Line(s, u + first, top, u + first, top + 2 * row);
        u += first + second;
    };
    part(l.X(20), l.X(34));
    if (humidity)
        part(l.X(20), l.X(32));
    Line(s, u, top, u, top + 2 * row);
}

QString Label(float value, const QString& unit)
{
    return (QString::asprintf("%.2f", static_cast<double>(value)) + unit).left(10);
}

// The time at time label i of chart: a chart spans spc samples over its
// width, so label i of 6 lies i / 6 of that span after the chart's start.
time64 LabelTime(const ReportData& d, const ChartGeometry& g, int chart, int i)
{
    const double samples = static_cast<double>(chart) * g.spc + i * g.spc / 6.0;
    return d.range.start + std::llround(samples * static_cast<double>(d.record->m_tsInterval));
}

void DrawStrip(ISurface& s, const CurveLayout& l, const ReportData& d, const ChartGeometry& g, int strip, int chart)
{
    const CLoggerRecord& r = *d.record;
    const bool humidity = r.HasHumidity();
    const int pitch = l.Y(57);
    const int t = strip * pitch + l.Y(25);
    const int b = t + l.Y(50);
    const int left = l.X(30), width = l.X(240);
    s.SetPen(l.Scaled(kGridDots));
    for (int j = 1; j <= 9; ++j) {
        const int y = static_cast<int>(t + j * l.RealY(5));
        Line(s, left, y, left + width, y);
    }
    for (int j = 0; j < 5; ++j) {
        s.TextOut(l.X(12), static_cast<int>(strip * pitch + l.RealY(27.5) + j * l.RealY(10)), Label(d.tempLabel[j], d.TempUnitText()));
        if (humidity)
            s.TextOut(l.X(12), static_cast<int>(strip * pitch + l.RealY(30.5) + j * l.RealY(10)), Label(d.humiLabel[j], kUnitRH));
    }
    const ChartPoints points = BuildChartPoints(d, g, chart);
    const int top = strip * pitch + l.Y(5) + l.Y(25);
    QVector<QPoint> line(points.count);
    for (int k = 0; k < points.count; ++k)
        line[k] = QPoint(static_cast<int>(k * g.xStep) + left,
                         static_cast<int>((d.range.maxT - r.m_fTempShown[points.temp[k]]) * l.tempScale) + top);
    s.SetPen(l.Scaled(kBlack1));
    if (points.count >= 2)
        s.Polyline(line.constData(), points.count);
    Line(s, l.X(7), l.X(28.5), l.X(9), l.X(28.5));
    if (humidity) {
        for (int k = 0; k < points.count; ++k)
            line[k].setY(static_cast<int>((d.range.maxH - r.m_fHumi[points.humi[k]]) * l.humiScale) + top);
        s.SetPen(l.Scaled(kBlack3));
        if (points.count >= 2)
            s.Polyline(line.constData(), points.count);
        Line(s, l.X(7), l.X(31.5), l.X(9), l.X(31.5));
    }
    s.SetPen(l.Scaled(kBlack3));
    Line(s, left, t, left, b);
    Line(s, left, b, left + width, b);
    s.SetPen(l.Scaled(kBlack2));
    for (int i = 0; i < 6; ++i) {
        const int k = static_cast<int>(i * g.labelStep);
        if (k >= points.count)
            continue;
        const int x = width * i / 6 + left;
        s.TextOut(x, strip * pitch + l.Y(76), FormatDateTime(LabelTime(d, g, chart, i)));
        Line(s, x, b, x, b - l.Y(1));
    }
}

} // namespace

Pen CurveLayout::Scaled(Pen pen) const
{
    pen.width = std::max(1, static_cast<int>(std::lround(pen.width * penScale)));
    return pen;
}

CurveLayout ComputeCurveLayout(int dpiX, int dpiY, float f, const ReportRange& range, int previewChartWidth)
{
    CurveLayout l;
    l.f = f;
    l.ppmX = PxPerMm(dpiX);
    l.ppmY = PxPerMm(dpiY);
    l.pageWidth = l.X(290);
    l.pageHeight = l.Y(200);
    l.tempScale = Scale(l, range.maxT, range.minT);
    l.humiScale = Scale(l, range.maxH, range.minH);
    l.font.pixelHeight = -FontHeight(9, f, dpiY, 72);
    if (previewChartWidth > 0)
        l.penScale = static_cast<double>(l.X(240)) / previewChartWidth;
    return l;
}

ChartPoints BuildChartPoints(const ReportData& d, const ChartGeometry& g, int chart)
{
    ChartPoints p;
    const ReportRange& range = d.range;
    double position = static_cast<double>(chart) * g.spc;
    int n = 0;
    if (position <= range.count - 1) {
        p.temp.reserve(g.cap + 1);
        p.humi.reserve(g.cap + 1);
        while (n < g.cap) {
            const Bucket b = BucketExtremes(*d.record, range, g.bucket, position);
            if (b.steps > 0) {
                Append(p.temp, b.maxT, b.minT);
                Append(p.humi, b.maxH, b.minH);
                // Both series keep the same number of points per bucket.
                while (p.humi.size() < p.temp.size())
                    p.humi.push_back(p.humi.back());
                p.humi.resize(p.temp.size());
                n = static_cast<int>(p.temp.size());
            }
            position += g.bucket;
            if (position > range.count - 1)
                break;
        }
    }
    p.count = std::min(n, g.cap);
    return p;
}

void DrawCurvePage(ISurface& s, const CurveLayout& l, const ReportData& d, int page)
{
    const bool humidity = d.record->HasHumidity();
    s.SetPen(l.Scaled(kBlack1));
    s.SetTextBackground({255, 255, 255});
    s.Rectangle(0, 0, l.pageWidth, l.pageHeight);
    s.SetFont(l.font);
    DrawHeaderTexts(s, l, d);
    DrawHeaderGrid(s, l, humidity);
    s.TextOut(l.X(275), l.Y(190), QStringLiteral("%1/%2").arg(page).arg(d.totalPages));
    const ChartGeometry g = ComputeChartGeometry(d.range.count, d.totalPages, d.screenPlotWidth, l.X(240));
    for (int strip = 0; strip < 3; ++strip)
        DrawStrip(s, l, d, g, strip, 3 * (page - 1) + strip);
    // The foot: below the last chart's time labels, in line with the charts.
    FootLine(s, l.font, l.X(30), l.Y(193.7), l.X(270), d);
}
