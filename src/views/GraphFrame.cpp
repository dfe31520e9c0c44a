#include "views/GraphFrame.h"

#include "record/LoggerRecord.h"
#include "record/TimeText.h"
#include "record/Units.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace {

const QColor kPlot(255, 255, 255);
const QColor kStrip(200, 200, 255);
const QColor kTempColour(255, 60, 60);
const QColor kHumiColour(200, 130, 50);
const QColor kHumiLabel(255, 255, 20);
const QColor kCursor(82, 105, 118);

QPen DottedPen(const QColor& colour)
{
    QPen pen(colour, 1);
    pen.setCosmetic(true);
    pen.setDashPattern({3.0, 3.0});
    return pen;
}

int Trunc(float v) { return TruncClamped(v); }

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

// Opaque text at a top-left position, as the frame's labels are written.
void Label(QPainter& painter, int x, int y, const QString& text, const QColor& colour, const QColor& background)
{
    const QFontMetrics fm(painter.font());
    if (background.isValid())
        painter.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), background);
    painter.setPen(colour);
    painter.drawText(QPoint(x, y + fm.ascent()), text);
}

void DrawGrid(QPainter& painter, const GraphGeometry& g)
{
    const int x0 = Trunc(g.x0), w = Trunc(g.bitmapWidth), h = Trunc(g.bitmapHeight);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(kPlot);
    painter.drawRect(x0, 0, w - x0 - 1, h - 1);
    painter.setBrush(kStrip);
    painter.drawRect(0, 0, x0 - 1, h - 1);
    painter.setBrush(Qt::NoBrush);
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

void DrawScaleLabels(QPainter& painter, const GraphViewState& state, const GraphGeometry& g, const GraphPoints& p,
                     TempUnit unit)
{
    for (int k = 0; k < 5; ++k) {
        const int level = g.bottomLevel - Trunc(static_cast<float>(k) * g.levelStep);
        if (state.showTemp)
            Label(painter, Trunc(10 * g.scale), level - Trunc(8 * g.scale), TempTickText(p.tempTicks[k], unit), kTempColour,
                  kStrip);
        if (state.showHumi)
            Label(painter, Trunc(10 * g.scale), level + Trunc(5 * g.scale), HumiTickText(p.humiTicks[k]), kHumiLabel,
                  kStrip);
    }
}

void DrawLimits(QPainter& painter, const CLoggerRecord& r, const GraphViewState& state, const GraphGeometry& g,
                const GraphPoints& p)
{
    const int x0 = Trunc(g.x0), w = Trunc(g.bitmapWidth);
    if (state.showTemp && r.m_bTempAlarm) {
        painter.setPen(DottedPen(kTempColour));
        painter.drawLine(x0, Trunc(p.tempHighY), w, Trunc(p.tempHighY));
        painter.drawLine(x0, Trunc(p.tempLowY), w, Trunc(p.tempLowY));
    }
    if (state.showHumi && r.m_bHumiAlarm) {
        painter.setPen(DottedPen(kHumiColour));
        painter.drawLine(x0, Trunc(p.humiHighY), w, Trunc(p.humiHighY));
        painter.drawLine(x0, Trunc(p.humiLowY), w, Trunc(p.humiLowY));
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

// The axes of the whole record; a record still arriving has no statistics
// of its samples yet, so its received samples give the range.
void FixedAxes(const CLoggerRecord& r, int received, const GraphGeometry& g, GraphPoints& p)
{
    if (r.m_nReceived >= r.m_nCount) {
        p.tempAxis = MakeAxis(r.m_fMin, r.m_fMax, g.valueSpan);
        p.humiAxis = MakeAxis(r.m_fHumiMin, r.m_fHumiMax, g.valueSpan);
        return;
    }
    const Range t = ReceivedRange(r.m_fTempShown.data(), received);
    const Range h = ReceivedRange(r.m_fHumi.data(), received);
    p.tempAxis = MakeAxis(t.minimum, t.maximum, g.valueSpan);
    p.humiAxis = MakeAxis(h.minimum, h.maximum, g.valueSpan);
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

void ComputeGraphPoints(const CLoggerRecord& r, const GraphViewState& state, const GraphGeometry& g, GraphPoints& p)
{
    const int received = r.ReceivedRows();
    p.sampleCount = received;
    p.pointCount = 0;
    if (received < 1)
        return;
    p.visible = PlanVisible(received, state.zoomDivisor, state.firstSample, g.columns);
    p.pointCount = DecimateColumns(r.m_fTempShown.data(), r.m_fHumi.data(), p.visible, static_cast<int>(p.tempIdx.size()),
                                   p.tempIdx.data(), p.humiIdx.data(), p.columnOf.data());
    if (p.pointCount < 1)
        return;
    VisibleExtremes(r, p);
    if (state.autoscale) {
        p.tempAxis = MakeAxis(p.tempMin, p.tempMax, g.valueSpan);
        p.humiAxis = MakeAxis(p.humiMin, p.humiMax, g.valueSpan);
    } else {
        FixedAxes(r, received, g, p);
    }
    for (int j = 0; j < p.pointCount; ++j) {
        const int x = Trunc(g.x0) + p.columnOf[j];
        p.temp[j] = QPoint(x, ValueToY(p.tempAxis, r.m_fTempShown[p.tempIdx[j]], g.bottomLevel));
        p.humi[j] = QPoint(x, ValueToY(p.humiAxis, r.m_fHumi[p.humiIdx[j]], g.bottomLevel));
    }
    for (int k = 0; k < 5; ++k) {
        p.tempTicks[k] = TickValue(p.tempAxis, k, g.levelStep);
        p.humiTicks[k] = TickValue(p.humiAxis, k, g.levelStep);
    }
    p.tempHighY = LimitPosition(p.tempAxis, r.m_fHighLimit, g.topLevel, g.bottomLevel);
    p.tempLowY = LimitPosition(p.tempAxis, r.m_fLowLimit, g.topLevel, g.bottomLevel);
    p.humiHighY = LimitPosition(p.humiAxis, r.m_fHumiHighLimit, g.topLevel, g.bottomLevel);
    p.humiLowY = LimitPosition(p.humiAxis, r.m_fHumiLowLimit, g.topLevel, g.bottomLevel);
}

void DrawGraphFrame(QImage& image, const CLoggerRecord& r, GraphViewState& state, const GraphGeometry& g,
                    GraphPoints& p, const QFont& scaleFont, TempUnit unit)
{
    QPainter painter(&image);
    DrawGrid(painter, g);
    painter.setFont(scaleFont);
    ComputeGraphPoints(r, state, g, p);
    if (p.pointCount < 1)
        return;
    DrawScaleLabels(painter, state, g, p, unit);
    DrawLimits(painter, r, state, g, p);
    DrawCursor(painter, state, g, p);
    if (state.showTemp) {
        painter.setPen(QPen(kTempColour, 1));
        painter.drawPolyline(p.temp.data(), p.pointCount);
    }
    if (state.showHumi) {
        painter.setPen(QPen(kHumiColour, 1));
        painter.drawPolyline(p.humi.data(), p.pointCount);
    }
    if (state.showTemp || state.showHumi)
        Label(painter, Trunc(g.x0), Trunc(235 * g.scale), QString::number(state.firstSample + 1), Qt::black, kStrip);
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

QString TempTickText(float celsius, TempUnit unit)
{
    return QString::asprintf("%4.2f", InUnit(celsius, unit));
}

QString HumiTickText(float humidity)
{
    return QString::asprintf("%4.2f", static_cast<double>(humidity));
}

QFont GraphScaleFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
