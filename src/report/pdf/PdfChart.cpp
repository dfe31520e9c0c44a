#include "report/pdf/PdfChart.h"

#include "base/TextTable.h"
#include "record/Units.h"
#include "report/pdf/PdfDocument.h"
#include "report/pdf/PdfTimeAxis.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <tuple>
#include <vector>

namespace {

constexpr float kPlotLeft = 100;
constexpr float kPlotRight = 500;
constexpr float kBase = 455;
constexpr float kHeight = 200;
// PdfText y of the legend words: baseline 683, their descenders clear of
// the plot's top edge at 680.
constexpr float kLegendTextY = 693;

// A value scale from the record's own extremes to y in points.
struct Scale {
    float min;
    float range;
    // A flat series (range 0) lies on the middle grid line.
    float Y(float v) const
    {
        if (range == 0)
            return kBase + kHeight / 2;
        return std::trunc((v - min) * kHeight / range + kBase);
    }
};

int SampleCount(const CLoggerRecord& r)
{
    return std::clamp(r.m_nCount, 0, MAX_SAMPLES);
}

void DrawFrameAndGrid(HPDF_Page page, float W, float H)
{
    HPDF_Page_SetLineWidth(page, 1);
    HPDF_Page_Rectangle(page, 50, H - 500, W - 100, 300);
    HPDF_Page_Rectangle(page, 100, H - 470, W - 200, 250);
    HPDF_Page_Stroke(page);
    HPDF_Page_SetLineWidth(page, 0.5);
    for (int y = 455; y <= 655; y += 5) {
        HPDF_Page_MoveTo(page, 98, y);
        HPDF_Page_LineTo(page, 102, y);
        HPDF_Page_MoveTo(page, 498, y);
        HPDF_Page_LineTo(page, 502, y);
    }
    HPDF_Page_Stroke(page);
    const HPDF_UINT16 dots[] = {1, 4};
    HPDF_Page_SetDash(page, dots, 2, 0);
    for (int y = 455; y <= 655; y += 50) {
        HPDF_Page_MoveTo(page, 100, y);
        HPDF_Page_LineTo(page, 500, y);
    }
    HPDF_Page_Stroke(page);
    HPDF_Page_SetDash(page, nullptr, 0, 0);
}

// Vertical lines from y0 to y1, stroked; nothing when there are none (a
// stroke without a path is an error).
void StrokeVerticals(HPDF_Page page, const std::vector<float>& xs, float y0, float y1)
{
    if (xs.empty())
        return;
    for (float x : xs) {
        HPDF_Page_MoveTo(page, x, y0);
        HPDF_Page_LineTo(page, x, y1);
    }
    HPDF_Page_Stroke(page);
}

void DrawValueLabels(CPdfDocument& doc, HPDF_Page page, const Scale& s, float x, bool temperature, TempUnit unit)
{
    const float step = s.range * 0.25f;
    for (int k = 0; k < 5; ++k) {
        const float v = s.min + static_cast<float>(k) * step;
        const QString text = temperature ? QString::asprintf("%.2f", InUnit(v, unit)) + UnitText(unit)
                                         : QString::asprintf("%.2f", static_cast<double>(v)) + kUnitRH;
        doc.Text(page, x, 462 + 50 * k, text);
    }
}

// Marks below the plot and dotted grid lines at the axis's round times,
// then their labels (at the current font size).
void DrawTimeAxis(CPdfDocument& doc, HPDF_Page page, const CLoggerRecord& r)
{
    const PdfTimeAxis axis = LayOutPdfTimeAxis(r.m_tStart, r.m_tStop, [&doc](const QString& text) { return doc.TextWidth(text); });
    std::vector<float> inside; // the frame stands at either end
    std::copy_if(axis.marks.begin(), axis.marks.end(), std::back_inserter(inside),
                 [](float x) { return x > kPlotLeft && x < kPlotRight; });
    HPDF_Page_SetLineWidth(page, 1);
    StrokeVerticals(page, axis.marks, 428, 434);
    const HPDF_UINT16 dots[] = {1, 4};
    HPDF_Page_SetLineWidth(page, 0.5);
    HPDF_Page_SetDash(page, dots, 2, 0);
    StrokeVerticals(page, inside, 455, 655);
    HPDF_Page_SetDash(page, nullptr, 0, 0);
    HPDF_Page_SetRGBFill(page, 0, 0, 0);
    for (const PdfAxisLabel& label : axis.labels)
        doc.Text(page, label.x, label.y, label.text);
}

// Alarm limits drawn on the band 450..660 even when they lie outside it.
void DrawLimits(HPDF_Page page, const Scale& s, float low, float high, HPDF_UINT phase)
{
    const HPDF_UINT16 dash[] = {2, 3};
    HPDF_Page_SetLineWidth(page, 0.5);
    HPDF_Page_SetDash(page, dash, 2, phase);
    for (float limit : {high, low}) {
        const float y = std::clamp(s.Y(limit), 450.0f, 660.0f);
        HPDF_Page_MoveTo(page, kPlotLeft, y);
        HPDF_Page_LineTo(page, kPlotRight, y);
    }
    HPDF_Page_Stroke(page);
    HPDF_Page_SetDash(page, nullptr, 0, 0);
}

// One series as a path through the extremes of each window of span seconds.
class CurvePath {
public:
    CurvePath(HPDF_Page page, const CLoggerRecord& r, const float* series, const Scale& s, double span)
        : m_page(page), m_r(r), m_series(series), m_scale(s), m_span(span)
    {
    }

    void Draw()
    {
        const int n = SampleCount(m_r);
        double a = m_span;
        time64 end = m_r.m_tStart + static_cast<time64>(a);
        auto [p, q] = WindowExtremes(m_r, m_series, m_r.m_tStart, end);
        // A record whose stop lies before its start has no curve.
        if (p < 0)
            return;
        Point(p, true);
        Point(q, false);
        int last = q;
        // Each window ends later than the one before only when span > 0;
        // windows past the stop time hold no sample.
        while (m_span > 0 && end < m_r.m_tTime[n - 1] && end < m_r.m_tStop) {
            const time64 begin = m_r.m_tStart + static_cast<time64>(a + 1);
            end = m_r.m_tStart + static_cast<time64>(a + m_span);
            a += m_span;
            std::tie(p, q) = WindowExtremes(m_r, m_series, begin, end);
            if (p < 0)
                continue;
            if (p > last)
                Point(p, false);
            if (q > p)
                Point(q, false);
            last = q;
        }
        if (n - 1 > last)
            Point(n - 1, false);
        HPDF_Page_Stroke(m_page);
    }

private:
    // A sample at the x of its time, inside the plot.
    void Point(int i, bool move)
    {
        const double offset = m_span > 0 ? static_cast<double>(m_r.m_tTime[i] - m_r.m_tStart) / m_span : 0;
        const float x = std::clamp(static_cast<float>(kPlotLeft + offset), kPlotLeft, kPlotRight);
        const float y = std::clamp(m_scale.Y(m_series[i]), 430.0f, 680.0f);
        if (move)
            HPDF_Page_MoveTo(m_page, x, y);
        else
            HPDF_Page_LineTo(m_page, x, y);
    }

    HPDF_Page m_page;
    const CLoggerRecord& m_r;
    const float* m_series;
    Scale m_scale;
    double m_span;
};

// A series' dash at (x .. x + 15, 680) in the current pen, its name in
// black beside it: right of the dash, or ending left of it (at the right
// edge of the plot). The words stand just above the plot's top edge,
// which runs level with the dash.
void DrawLegend(CPdfDocument& doc, HPDF_Page page, float x, const QString& name, bool nameLeft)
{
    HPDF_Page_MoveTo(page, x, 680);
    HPDF_Page_LineTo(page, x + 15, 680);
    HPDF_Page_Stroke(page);
    constexpr float kSpace = 3;
    const float textX = nameLeft ? x - kSpace - doc.TextWidth(name) : x + 15 + kSpace;
    HPDF_Page_SetRGBFill(page, 0, 0, 0);
    doc.Text(page, textX, kLegendTextY, name);
}

} // namespace

std::pair<int, int> WindowExtremes(const CLoggerRecord& r, const float* series, time64 t0, time64 t1)
{
    t0 = std::max(t0, r.m_tStart);
    t1 = std::min(t1, r.m_tStop);
    if (t0 > t1)
        return {-1, -1};
    const int n = SampleCount(r);
    // A record without an interval keeps all its samples at the start time.
    const time64 first = r.m_tsInterval > 0 ? (t0 - r.m_tStart) / r.m_tsInterval : 0;
    if (first >= n)
        return {-1, -1};
    int maxIndex = static_cast<int>(first);
    int minIndex = maxIndex;
    for (int j = maxIndex + 1; j < n && r.m_tTime[j] <= t1; ++j) {
        if (series[j] > series[maxIndex])
            maxIndex = j;
        if (series[j] < series[minIndex])
            minIndex = j;
    }
    return {std::min(maxIndex, minIndex), std::max(maxIndex, minIndex)};
}

void DrawPdfChart(CPdfDocument& doc, HPDF_Page page, const CLoggerRecord& r, const DisplaySettings& display)
{
    const TempUnit unit = display.unit;
    const float W = std::trunc(HPDF_Page_GetWidth(page));
    const float H = std::trunc(HPDF_Page_GetHeight(page));
    DrawFrameAndGrid(page, W, H);
    const Scale temp{r.m_fLoggerMin, r.m_fLoggerMax - r.m_fLoggerMin};
    const Scale humi{r.m_fHumiMin, r.m_fHumiMax - r.m_fHumiMin};
    const bool humidity = r.HasHumidity();
    doc.SetFontSize(page, 8);
    HPDF_Page_SetRGBFill(page, 1, 0, 0);
    DrawValueLabels(doc, page, temp, 55, true, unit);
    if (humidity) {
        HPDF_Page_SetRGBFill(page, 0, 0, 0.5);
        DrawValueLabels(doc, page, humi, 505, false, unit);
    }
    const double span = static_cast<double>(r.m_tStop - r.m_tStart) / 400.0;
    DrawTimeAxis(doc, page, r);
    if (r.m_bTempAlarm) {
        HPDF_Page_SetRGBStroke(page, 1, 0, 0);
        DrawLimits(page, temp, r.m_fLowLimit, r.m_fHighLimit, 0);
    }
    if (humidity && r.m_bHumiAlarm) {
        HPDF_Page_SetRGBStroke(page, 0, 0, 0.5);
        DrawLimits(page, humi, r.m_fHumiLowLimit, r.m_fHumiHighLimit, 2);
    }
    const bool samples = SampleCount(r) > 0;
    HPDF_Page_SetLineWidth(page, 1);
    HPDF_Page_SetRGBStroke(page, 1, 0, 0);
    DrawLegend(doc, page, 65, GetText(TextId::TemperatureLegend, display.language).arg(UnitText(display.unit)), false);
    if (samples)
        CurvePath(page, r, r.m_fTempShown.data(), temp, span).Draw();
    if (humidity) {
        HPDF_Page_SetLineWidth(page, 0.5);
        HPDF_Page_SetRGBStroke(page, 0, 0, 1);
        DrawLegend(doc, page, 515, GetText(TextId::HumidityLegend, display.language).arg(kUnitRH), true);
        if (samples)
            CurvePath(page, r, r.m_fHumi.data(), humi, span).Draw();
    }
    HPDF_Page_SetRGBStroke(page, 0, 0, 0);
    HPDF_Page_SetRGBFill(page, 0, 0, 0);
    HPDF_Page_SetLineWidth(page, 1);
}
