#include "views/GraphFrame.h"

#include "record/LoggerRecord.h"
#include "record/TimeText.h"
#include "record/Units.h"

#include "views/GraphPalette.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>

namespace {

using namespace GraphPalette;

QPen DottedPen(const QColor& colour)
{
    QPen pen(colour, 1);
    pen.setCosmetic(true);
    pen.setDashPattern({3.0, 3.0});
    return pen;
}

// Limit lines: long dashes, thicker as the window grows.
QPen DashedPen(const QColor& colour, float scale)
{
    const int width = std::max(1, static_cast<int>(1.5f * scale + 0.5f));
    QPen pen(colour, width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern({6.0, 3.0});
    return pen;
}

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

QRect TextBox(const QFontMetrics& fm, int x, int y, const QString& text)
{
    return {x, y, fm.horizontalAdvance(text), fm.height()};
}

// Text at a top-left position, on its own background when one is given.
void Label(QPainter& painter, int x, int y, const QString& text, const QColor& colour, const QColor& background)
{
    const QFontMetrics fm(painter.font());
    if (background.isValid())
        painter.fillRect(TextBox(fm, x, y, text), background);
    painter.setPen(colour);
    painter.drawText(QPoint(x, y + fm.ascent()), text);
}

void FillAreas(QPainter& painter, const GraphGeometry& g)
{
    const int x0 = Trunc(g.x0), w = Trunc(g.bitmapWidth), h = Trunc(g.bitmapHeight);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(kPlot);
    painter.drawRect(x0, 0, w - x0 - 1, h - 1);
    painter.setBrush(kStrip);
    painter.drawRect(0, 0, x0 - 1, h - 1);
    painter.setBrush(Qt::NoBrush);
}

void DrawSelectionBand(QPainter& painter, const GraphGeometry& g, const GraphPoints& p)
{
    if (p.bandRight < p.bandLeft)
        return;
    const int x0 = Trunc(g.x0);
    const int width = std::max(2, p.bandRight - p.bandLeft + 1);
    const int left = std::min(x0 + p.bandLeft, Trunc(g.bitmapWidth) - 1 - width);
    painter.fillRect(QRect(std::max(left, x0 + 1), 1, width, Trunc(g.bitmapHeight) - 2), kSelection);
}

// A vertical line at each time tick, darker where a day begins, and a short
// mark below the bottom level.
void DrawTimeGrid(QPainter& painter, const GraphGeometry& g, const GraphPoints& p)
{
    const int x0 = Trunc(g.x0);
    const int mark = Trunc(4 * g.scale);
    for (const TimeTick& tick : p.timeTicks.ticks) {
        const int x = x0 + tick.column;
        if (x <= x0)
            continue;
        const bool day = tick.date && tick.time != p.timeTicks.ticks.front().time;
        painter.setPen(QPen(day ? kDayGrid : kTimeGrid, 1));
        painter.drawLine(x, 1, x, g.bottomLevel - 1);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(x, g.bottomLevel, x, g.bottomLevel + mark);
    }
}

void DrawGridLines(QPainter& painter, const GraphGeometry& g)
{
    const int x0 = Trunc(g.x0), w = Trunc(g.bitmapWidth);
    painter.setPen(QPen(Qt::black, 1));
    const int tick = Trunc(g.tickStart);
    const int top = Trunc(25.0f * g.scale);
    painter.drawLine(tick, top, w, top);
    for (int i = 1; i <= 4; ++i) {
        const int between = Trunc(static_cast<float>(i) * g.levelStep);
        const int level = Trunc(static_cast<float>(i) * g.levelStep + 25.0f * g.scale);
        painter.drawLine(x0, between, w, between);
        painter.drawLine(tick, level, w, level);
    }
}

void DrawScaleLabels(QPainter& painter, const GraphViewState& state, const GraphGeometry& g, const GraphPoints& p)
{
    for (int k = 0; k <= kValueIntervals; ++k) {
        const int level = g.bottomLevel - Trunc(static_cast<float>(k) * g.levelStep);
        if (state.showTemp)
            Label(painter, Trunc(10 * g.scale), level - Trunc(8 * g.scale), ValueScaleText(p.tempScale, k), kTempText,
                  kStrip);
        if (state.showHumi)
            Label(painter, Trunc(10 * g.scale), level + Trunc(5 * g.scale), ValueScaleText(p.humiScale, k), kHumiText,
                  kStrip);
    }
}

struct LimitLine {
    float y;
    bool upper;
    QString text;
};

void DrawLimitLines(QPainter& painter, const CLoggerRecord& r, const GraphViewState& state, const GraphGeometry& g,
                    const GraphPoints& p)
{
    const int x0 = Trunc(g.x0), w = Trunc(g.bitmapWidth);
    if (state.showTemp && r.m_bTempAlarm) {
        painter.setPen(DashedPen(kTempCurve, g.scale));
        painter.drawLine(x0, Trunc(p.tempHighY), w, Trunc(p.tempHighY));
        painter.drawLine(x0, Trunc(p.tempLowY), w, Trunc(p.tempLowY));
    }
    if (state.showHumi && r.m_bHumiAlarm) {
        painter.setPen(DashedPen(kHumiCurve, g.scale));
        painter.drawLine(x0, Trunc(p.humiHighY), w, Trunc(p.humiHighY));
        painter.drawLine(x0, Trunc(p.humiLowY), w, Trunc(p.humiLowY));
    }
}

// The box of a limit's value at the right end of its line: an upper limit
// above its line, a lower one below, turned to the other side where that
// would leave the plot or reach the time labels; moved left of boxes
// already placed.
QRect LimitLabelBox(const QFontMetrics& fm, const GraphGeometry& g, int y, bool upper, const QString& text,
                    const std::vector<QRect>& placed)
{
    const int margin = Trunc(4 * g.scale) + 1;
    QRect box = TextBox(fm, 0, 0, text);
    const int above = y - box.height() - 1;
    const int below = y + 2;
    const bool goAbove = upper ? above >= 1 : below + box.height() > g.bottomLevel;
    box.moveTo(Trunc(g.bitmapWidth) - margin - box.width(), goAbove ? above : below);
    for (bool moved = true; moved;) {
        moved = false;
        for (const QRect& other : placed)
            if (box.intersects(other)) {
                box.moveRight(other.left() - margin);
                moved = true;
            }
    }
    return box;
}

void DrawLimitLabels(QPainter& painter, const CLoggerRecord& r, const GraphViewState& state, const GraphGeometry& g,
                     const GraphPoints& p, TempUnit unit)
{
    const QFontMetrics fm(painter.font());
    std::vector<QRect> placed;
    const auto put = [&](float y, bool upper, const QString& value, const QColor& colour) {
        // A limit beyond the scale is drawn just outside it; an arrow says which way it lies.
        const int line = Trunc(y);
        const QString text = line < g.topLevel    ? QStringLiteral("\u2191 ") + value
                             : line > g.bottomLevel ? QStringLiteral("\u2193 ") + value
                                                    : value;
        const QRect box = LimitLabelBox(fm, g, line, upper, text, placed);
        painter.fillRect(box.adjusted(-2, 0, 2, 0), kPlot);
        painter.setPen(colour);
        painter.drawText(QPoint(box.left(), box.top() + fm.ascent()), text);
        placed.push_back(box.adjusted(-2, 0, 2, 0));
    };
    if (state.showTemp && r.m_bTempAlarm) {
        put(p.tempHighY, true, TempLimitText(r.m_fHighLimit, unit), kTempText);
        put(p.tempLowY, false, TempLimitText(r.m_fLowLimit, unit), kTempText);
    }
    if (state.showHumi && r.m_bHumiAlarm) {
        put(p.humiHighY, true, HumiLimitText(r.m_fHumiHighLimit), kHumiText);
        put(p.humiLowY, false, HumiLimitText(r.m_fHumiLowLimit), kHumiText);
    }
}

void DrawCursor(QPainter& painter, GraphViewState& state, const GraphGeometry& g, GraphPoints& p)
{
    if (!state.showTemp && !state.showHumi)
        return;
    p.cursorSample = CursorSample(state, g, p);
    state.cursorTempSample = p.cursorSample;
    state.cursorHumiSample = p.cursorSample;
    const int column = ColumnOfSample(p.visible, p.cursorSample);
    if (column >= 0 && column < p.visible.columns) {
        const int x = Trunc(g.x0) + column;
        painter.setPen(DottedPen(kCursor));
        painter.drawLine(x, Trunc(5 * g.scale), x, Trunc(240 * g.scale));
    }
}

// Time labels below the bottom level; a record without times shows the
// number of its first visible sample instead.
void DrawTimeLabels(QPainter& painter, const GraphViewState& state, const GraphGeometry& g, const GraphPoints& p)
{
    const int x0 = Trunc(g.x0);
    const int top = g.bottomLevel + Trunc(7 * g.scale);
    if (p.timeSpan.IsEmpty()) {
        Label(painter, x0, Trunc(235 * g.scale), QString::number(state.firstSample + 1), Qt::black, kStrip);
        return;
    }
    for (const TimeTick& tick : p.timeTicks.ticks)
        if (!tick.text.isEmpty())
            Label(painter, x0 + tick.left, top, tick.text, kTimeText, QColor());
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
        painter.setPen(QPen(kTempCurve, 1));
        painter.drawPolyline(p.temp.data(), p.pointCount);
    }
    if (state.showHumi) {
        painter.setPen(QPen(kHumiCurve, 1));
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
