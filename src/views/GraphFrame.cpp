#include "views/GraphFrame.h"

#include "record/LoggerRecord.h"
#include "record/TimeText.h"
#include "record/Units.h"
#include "views/GraphLayers.h"
#include "views/GraphPalette.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>

namespace {

int Trunc(float v) { return TruncClamped(v); }

double FromUnit(double value, TempUnit unit)
{
    return unit == TempUnit::Fahrenheit ? (value - 32.0) / 1.8 : value;
}

void VisibleExtremes(const CLoggerRecord& r, GraphPoints& p)
{
    p.tempMax = p.tempMin = r.m_fTempShown[p.tempIdx[0]];
    p.humiMax = p.humiMin = r.m_fHumi[p.humiIdx[0]];
    for (int j = 1; j < p.pointCount; ++j) {
        const float t = r.m_fTempShown[p.tempIdx[j]];
        const float h = r.m_fHumi[p.humiIdx[j]];
        p.tempMax = t > p.tempMax ? t : p.tempMax;
        p.tempMin = t < p.tempMin ? t : p.tempMin;
        p.humiMax = h > p.humiMax ? h : p.humiMax;
        p.humiMin = h < p.humiMin ? h : p.humiMin;
    }
}

struct Range {
    float minimum, maximum;
};

Range ReceivedRange(const float* values, int count)
{
    Range r{values[0], values[0]};
    for (int i = 1; i < count; ++i) {
        r.minimum = values[i] < r.minimum ? values[i] : r.minimum;
        r.maximum = values[i] > r.maximum ? values[i] : r.maximum;
    }
    return r;
}

// The value ranges the axes cover: the visible points (autoscale) or the
// whole record; a record still arriving has no statistics of its samples
// yet, so its received samples give the range.
void AxisRanges(const CLoggerRecord& r, const GraphViewState& state, int received, GraphPoints& p, Range& temp,
                Range& humi)
{
    if (state.autoscale) {
        temp = {p.tempMin, p.tempMax};
        humi = {p.humiMin, p.humiMax};
    } else if (r.m_nReceived >= r.m_nCount) {
        temp = {r.m_fMin, r.m_fMax};
        humi = {r.m_fHumiMin, r.m_fHumiMax};
    } else {
        temp = ReceivedRange(r.m_fTempShown.data(), received);
        humi = ReceivedRange(r.m_fHumi.data(), received);
    }
}

// Round scales over the ranges; the maps to pixels stay in degrees C.
void RoundAxes(const Range& temp, const Range& humi, const GraphGeometry& g, TempUnit unit, GraphPoints& p)
{
    p.tempScale = ChooseValueScale(InUnit(temp.minimum, unit), InUnit(temp.maximum, unit), kValueIntervals);
    p.humiScale = ChooseValueScale(humi.minimum, humi.maximum, kValueIntervals);
    p.tempAxis = MakeAxis(static_cast<float>(FromUnit(p.tempScale.minimum, unit)),
                          static_cast<float>(FromUnit(p.tempScale.Maximum(kValueIntervals), unit)), g.valueSpan);
    p.humiAxis = MakeAxis(static_cast<float>(p.humiScale.minimum),
                          static_cast<float>(p.humiScale.Maximum(kValueIntervals)), g.valueSpan);
}

// The times of the plot's first and last column: the visible span in
// sample intervals from the first visible sample's time.
TimeSpan VisibleTimes(const CLoggerRecord& r, const VisibleRange& v)
{
    TimeSpan span;
    if (r.m_tsInterval <= 0)
        return span;
    const time64 first = SampleAt(r.m_tTime, v.first);
    span.from = first != 0 ? first : r.m_tStart + static_cast<time64>(v.first) * r.m_tsInterval;
    span.to = span.from + static_cast<time64>(v.span) * r.m_tsInterval;
    span.columns = v.columns;
    return span;
}

void SelectedColumns(const GraphViewState& state, GraphPoints& p)
{
    p.bandLeft = 0;
    p.bandRight = -1;
    if (!state.selectionShown || p.timeSpan.IsEmpty() || state.selectionTo < state.selectionFrom)
        return;
    const int left = p.timeSpan.ColumnOf(state.selectionFrom);
    const int right = p.timeSpan.ColumnOf(state.selectionTo);
    if (right < 0 || left > p.timeSpan.columns - 1)
        return;
    p.bandLeft = std::max(left, 0);
    p.bandRight = std::min(right, p.timeSpan.columns - 1);
}

} // namespace

void GraphPoints::Allocate(int capacity)
{
    temp.assign(capacity, QPoint());
    humi.assign(capacity, QPoint());
    tempIdx.assign(capacity, 0);
    humiIdx.assign(capacity, 0);
    columnOf.assign(capacity, 0);
}

void ComputeGraphPoints(const CLoggerRecord& r, const GraphViewState& state, const GraphGeometry& g, TempUnit unit,
                        GraphPoints& p)
{
    const int received = r.ReceivedRows();
    p.sampleCount = received;
    p.pointCount = 0;
    p.timeSpan = TimeSpan{};
    p.bandLeft = 0;
    p.bandRight = -1;
    if (received < 1)
        return;
    p.visible = PlanVisible(received, state.zoomDivisor, state.firstSample, g.columns);
    p.pointCount = DecimateColumns(r.m_fTempShown.data(), r.m_fHumi.data(), p.visible, static_cast<int>(p.tempIdx.size()),
                                   p.tempIdx.data(), p.humiIdx.data(), p.columnOf.data());
    if (p.pointCount < 1)
        return;
    VisibleExtremes(r, p);
    Range temp{}, humi{};
    AxisRanges(r, state, received, p, temp, humi);
    RoundAxes(temp, humi, g, unit, p);
    for (int j = 0; j < p.pointCount; ++j) {
        const int x = Trunc(g.x0) + p.columnOf[j];
        p.temp[j] = QPoint(x, ValueToY(p.tempAxis, r.m_fTempShown[p.tempIdx[j]], g.bottomLevel));
        p.humi[j] = QPoint(x, ValueToY(p.humiAxis, r.m_fHumi[p.humiIdx[j]], g.bottomLevel));
    }
    p.tempHighY = LimitPosition(p.tempAxis, r.m_fHighLimit, g.topLevel, g.bottomLevel);
    p.tempLowY = LimitPosition(p.tempAxis, r.m_fLowLimit, g.topLevel, g.bottomLevel);
    p.humiHighY = LimitPosition(p.humiAxis, r.m_fHumiHighLimit, g.topLevel, g.bottomLevel);
    p.humiLowY = LimitPosition(p.humiAxis, r.m_fHumiLowLimit, g.topLevel, g.bottomLevel);
    p.timeSpan = VisibleTimes(r, p.visible);
    SelectedColumns(state, p);
}

void DrawGraphFrame(QImage& image, const CLoggerRecord& r, GraphViewState& state, const GraphGeometry& g,
                    GraphPoints& p, const QFont& scaleFont, TempUnit unit)
{
    QPainter painter(&image);
    painter.setFont(scaleFont);
    ComputeGraphPoints(r, state, g, unit, p);
    const bool anyCurve = p.pointCount > 0 && (state.showTemp || state.showHumi);
    p.timeTicks = TimeAxisTicks{};
    if (anyCurve) {
        const QFontMetrics fm(scaleFont);
        p.timeTicks = ChooseTimeTicks(p.timeSpan, [&fm](const QString& text) { return fm.horizontalAdvance(text); },
                                      fm.horizontalAdvance(QLatin1Char('0')));
    }
    FillAreas(painter, g);
    if (p.pointCount > 0)
        DrawSelectionBand(painter, g, p);
    DrawTimeGrid(painter, g, p);
    DrawGridLines(painter, g);
    if (p.pointCount < 1)
        return;
    DrawScaleLabels(painter, state, g, p);
    DrawLimitLines(painter, r, state, g, p);
    DrawCursor(painter, state, g, p);
    if (state.showTemp) {
        painter.setPen(QPen(GraphPalette::kTempCurve, 1));
        painter.drawPolyline(p.temp.data(), p.pointCount);
    }
    if (state.showHumi) {
        painter.setPen(QPen(GraphPalette::kHumiCurve, 1));
        painter.drawPolyline(p.humi.data(), p.pointCount);
    }
    DrawLimitLabels(painter, r, state, g, p, unit);
    if (anyCurve)
        DrawTimeLabels(painter, state, g, p);
}

int CursorSample(const GraphViewState& state, const GraphGeometry& g, const GraphPoints& p)
{
    if (state.keySample >= 0)
        return state.keySample < p.sampleCount ? state.keySample : p.sampleCount - 1;
    return SampleAtColumn(p.visible, state.clickX - Trunc(g.x0));
}

namespace {

QString Readout(time64 time, float value, bool fahrenheit)
{
    QString text = time != 0 ? FormatDateTime(time) : QString();
    if (value > -1000.0f && value < 1000.0f)
        text += QString::asprintf("   %.2f", fahrenheit ? ToFahrenheit(value) : static_cast<double>(value));
    return text;
}

bool InRange(int sample) { return sample >= 0 && sample < MAX_SAMPLES; }

} // namespace

QString TempReadout(const CLoggerRecord& r, int sample, TempUnit unit)
{
    const bool fahrenheit = unit == TempUnit::Fahrenheit;
    return InRange(sample) ? Readout(SampleAt(r.m_tTime, sample), SampleAt(r.m_fTempShown, sample), fahrenheit)
                           : QString();
}

QString HumiReadout(const CLoggerRecord& r, int sample)
{
    return InRange(sample) ? Readout(SampleAt(r.m_tTime, sample), SampleAt(r.m_fHumi, sample), false) : QString();
}

QString TempLimitText(float celsius, TempUnit unit)
{
    return FormatValue(InUnit(celsius, unit), UnitText(unit));
}

QString HumiLimitText(float humidity)
{
    return FormatValue(humidity, kUnitRH);
}

QFont GraphScaleFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
