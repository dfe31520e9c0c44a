// The layers of a graph frame, each drawn by one function in the order
// DrawGraphFrame calls them.
#include "views/GraphLayers.h"

#include "record/Units.h"
#include "views/GraphPalette.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

using namespace GraphPalette;

namespace {

int Trunc(float v) { return TruncClamped(v); }

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

} // namespace

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
        painter.drawLine(x, Trunc(5 * g.scale), x, Trunc(240 * g.scale + g.extraHeight));
    }
}

void DrawTimeLabels(QPainter& painter, const GraphViewState& state, const GraphGeometry& g, const GraphPoints& p)
{
    const int x0 = Trunc(g.x0);
    const int top = g.bottomLevel + Trunc(7 * g.scale);
    if (p.timeSpan.IsEmpty()) {
        Label(painter, x0, Trunc(235 * g.scale + g.extraHeight), QString::number(state.firstSample + 1), Qt::black, kStrip);
        return;
    }
    // The last label keeps the limit labels' margin from the plot's right
    // edge, which the page's frame covers.
    const int rightmost = Trunc(g.bitmapWidth) - Trunc(4 * g.scale) - 1;
    for (const TimeTick& tick : p.timeTicks.ticks)
        if (!tick.text.isEmpty()) {
            const int left = std::min(x0 + tick.left, rightmost - (tick.right - tick.left));
            Label(painter, left, top, tick.text, kTimeText, QColor());
        }
}
