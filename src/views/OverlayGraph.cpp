#include "views/OverlayGraph.h"
#include "views/OverlayTimeAxis.h"

#include "base/TextTable.h"
#include "record/TimeText.h"
#include "record/Units.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

// Each passes 3:1 contrast against the white plot; neighbours differ in hue.
const QColor kPalette[] = {
    QColor(0x1F, 0x63, 0xC6), // blue
    QColor(0xD1, 0x4B, 0x00), // orange
    QColor(0x12, 0x84, 0x5A), // green
    QColor(0xC2, 0x30, 0x8C), // magenta
    QColor(0x7A, 0x3F, 0xB0), // purple
    QColor(0x8A, 0x5A, 0x2B), // brown
    QColor(0xA6, 0x7C, 0x00), // ochre
    QColor(0x0A, 0x8B, 0xA6), // teal
    QColor(0xD0, 0x20, 0x2E), // red
    QColor(0x5C, 0x70, 0x00), // olive
};
const QColor kShared(0x33, 0x33, 0x33);
const QColor kBackground(Qt::white);
const QColor kGrid(0xDD, 0xDD, 0xDD);
const QColor kFrame(0x80, 0x80, 0x80);
const QColor kText(0x20, 0x20, 0x20);

constexpr double kZoomPerNotch = 0.8;
constexpr double kShortestView = 600; // seconds across the plot at the deepest zoom

// One pixel wide: the painter's fast line path, antialiased, keeps a
// redraw of ten full missions within a frame.
QPen CurvePen(const QColor& colour)
{
    return QPen(colour, 1);
}

// A dashed limit line; one of `sharing` lines of the same value, whose
// dashes interleave so that each colour shows.
QPen LimitPen(const QColor& colour, int sharing, int turn)
{
    constexpr double kDash = 4, kGap = 2; // in pen widths
    QPen pen(colour, 2);
    pen.setCapStyle(Qt::FlatCap);
    if (sharing <= 1) {
        pen.setDashPattern({kDash, kGap});
    } else {
        pen.setDashPattern({kDash, (kDash + kGap) * sharing - kDash});
        pen.setDashOffset(-(kDash + kGap) * turn);
    }
    return pen;
}

QString LegendText(const OverlayMission& m)
{
    return m.loggerId + QStringLiteral("  ") + FormatDateTime(m.start);
}

// Decimals that tell ticks step apart.
int DecimalsOf(double step)
{
    return step >= 1 ? 0 : std::min(3, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
}

} // namespace

struct COverlayGraph::Layout {
    QRect area;
    QRect plot;
    QRect legend;
    int lineHeight = 0;
};

std::span<const QColor> COverlayGraph::Palette()
{
    return kPalette;
}

QColor COverlayGraph::SharedLimitColour()
{
    return kShared;
}

COverlayGraph::COverlayGraph(const DisplaySettings& display, QWidget* parent) : QWidget(parent), m_display(display)
{
    setMinimumSize(320, 200);
    setMouseTracking(false);
}

void COverlayGraph::SetMissions(std::vector<OverlayMission> missions)
{
    if (static_cast<int>(missions.size()) > MaxMissions())
        missions.resize(static_cast<std::size_t>(MaxMissions()));
    m_missions = std::move(missions);
    const auto extentOf = [](const std::vector<float>& values) {
        Extent e;
        for (float v : values) {
            if (v <= -1000.0f)
                continue;
            e.low = e.any ? std::min(e.low, v) : v;
            e.high = e.any ? std::max(e.high, v) : v;
            e.any = true;
        }
        return e;
    };
    m_tempExtent.clear();
    m_humiExtent.clear();
    for (const OverlayMission& m : m_missions) {
        m_tempExtent.push_back(extentOf(m.temp));
        m_humiExtent.push_back(extentOf(m.humi));
    }
    ResetView();
}

void COverlayGraph::SetTimeMode(OverlayTime mode)
{
    m_mode = mode;
    ResetView();
}

void COverlayGraph::SetChannel(OverlayChannel channel)
{
    m_channel = channel;
    update();
}

void COverlayGraph::ResetView()
{
    m_full = FullSpan(m_missions, m_mode);
    m_view = m_full;
    update();
}

void COverlayGraph::ZoomAt(double column, double factor)
{
    const int columns = std::max(1, PlotRect().width());
    const double at = std::clamp(column / columns, 0.0, 1.0);
    const double shortest = std::min(kShortestView, m_full.Length());
    const double length = std::clamp(m_view.Length() * factor, shortest, m_full.Length());
    const double anchor = m_view.from + at * m_view.Length();
    const double from = std::clamp(anchor - at * length, m_full.from, m_full.to - length);
    m_view = {from, from + length};
    update();
}

void COverlayGraph::PanBy(double columns)
{
    const double perColumn = m_view.Length() / std::max(1, PlotRect().width());
    const double from = std::clamp(m_view.from + columns * perColumn, m_full.from, m_full.to - m_view.Length());
    m_view = {from, from + m_view.Length()};
    update();
}

bool COverlayGraph::Shows(const OverlayMission& mission) const
{
    return m_channel == OverlayChannel::Temperature || mission.HasHumidity();
}

const std::vector<float>& COverlayGraph::Values(const OverlayMission& mission) const
{
    return m_channel == OverlayChannel::Temperature ? mission.temp : mission.humi;
}

double COverlayGraph::InShownUnit(float value) const
{
    return m_channel == OverlayChannel::Temperature ? InUnit(value, m_display.unit) : static_cast<double>(value);
}

COverlayGraph::Layout COverlayGraph::LayoutOf(const QRect& area) const
{
    const QFontMetrics fm(font());
    Layout l;
    l.area = area;
    l.lineHeight = fm.height();
    int legendWidth = 0;
    for (const OverlayMission& m : m_missions)
        legendWidth = std::max(legendWidth, fm.horizontalAdvance(LegendText(m)));
    legendWidth = std::min(legendWidth + 3 * l.lineHeight, area.width() / 3);
    const int left = fm.horizontalAdvance(QStringLiteral("-000.00")) + l.lineHeight;
    const int top = l.lineHeight * 2;
    const int bottom = l.lineHeight * 2 + l.lineHeight / 2 + 6;
    const int right = legendWidth + l.lineHeight;
    l.plot = QRect(area.left() + left, area.top() + top, std::max(1, area.width() - left - right),
                   std::max(1, area.height() - top - bottom));
    l.legend = QRect(l.plot.right() + l.lineHeight, l.plot.top(), legendWidth, l.plot.height());
    return l;
}

QRect COverlayGraph::PlotRect() const
{
    return LayoutOf(rect()).plot;
}

OverlayScale COverlayGraph::ScaleOfShown(int plotHeight) const
{
    bool any = false;
    double low = 0, high = 0;
    const auto take = [&](float value) {
        const double v = InShownUnit(value);
        low = any ? std::min(low, v) : v;
        high = any ? std::max(high, v) : v;
        any = true;
    };
    for (std::size_t i = 0; i < m_missions.size(); ++i) {
        const Extent& e = m_channel == OverlayChannel::Temperature ? m_tempExtent[i] : m_humiExtent[i];
        if (Shows(m_missions[i]) && e.any) {
            take(e.low);
            take(e.high);
        }
    }
    for (const LimitLine& line : LimitLines(m_missions, m_channel))
        take(line.value);
    // A little room, so that no limit line lies on the plot's edge.
    const double margin = (high - low) * 0.03;
    return NiceScale(low - margin, high + margin, std::max(2, plotHeight / 40));
}

void COverlayGraph::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter, rect());
}

void COverlayGraph::Paint(QPainter& painter, const QRect& area)
{
    painter.save();
    painter.fillRect(area, kBackground);
    painter.setFont(font());
    if (m_missions.empty()) {
        painter.setPen(kText);
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap,
                         GetText(TextId::ArchiveOverlayHint, m_display.language));
        painter.restore();
        return;
    }
    const Layout layout = LayoutOf(area);
    const OverlayScale scale = ScaleOfShown(layout.plot.height());
    DrawValueAxis(painter, layout, scale);
    DrawTimeAxis(painter, layout);
    painter.setPen(kFrame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(layout.plot.adjusted(0, 0, -1, -1));
    painter.save();
    painter.setClipRect(layout.plot);
    DrawLimits(painter, layout, scale);
    painter.setRenderHint(QPainter::Antialiasing, true);
    DrawCurves(painter, layout, scale);
    painter.restore();
    DrawLegend(painter, layout);
    painter.restore();
}

namespace {

double YOf(const OverlayScale& scale, const QRect& plot, double value)
{
    const double span = scale.maximum - scale.minimum;
    return plot.top() + plot.height() * (scale.maximum - value) / (span > 0 ? span : 1);
}

} // namespace

void COverlayGraph::DrawValueAxis(QPainter& painter, const Layout& l, const OverlayScale& scale) const
{
    const int decimals = DecimalsOf(scale.step);
    const int ticks = static_cast<int>(std::lround((scale.maximum - scale.minimum) / scale.step));
    for (int k = 0; k <= ticks; ++k) {
        const double value = scale.minimum + k * scale.step;
        const int y = static_cast<int>(std::lround(YOf(scale, l.plot, value)));
        painter.setPen(kGrid);
        painter.drawLine(l.plot.left(), y, l.plot.right(), y);
        const QString text = QString::number(value, 'f', decimals);
        painter.setPen(kText);
        painter.drawText(QRect(l.area.left(), y - l.lineHeight / 2, l.plot.left() - l.area.left() - 6, l.lineHeight),
                         Qt::AlignRight | Qt::AlignVCenter, text);
    }
    const QString unit = m_channel == OverlayChannel::Temperature ? UnitText(m_display.unit) : kUnitRH;
    painter.drawText(QRect(l.area.left(), l.area.top() + l.lineHeight / 2, l.plot.left() - l.area.left() - 6,
                           l.lineHeight),
                     Qt::AlignRight | Qt::AlignVCenter, unit);
}

void COverlayGraph::DrawTimeAxis(QPainter& painter, const Layout& l) const
{
    const QFontMetrics fm(painter.font());
    const int minPixels = fm.horizontalAdvance(QStringLiteral("2026-12-31")) + l.lineHeight;
    const auto width = [&fm](const QString& text) { return fm.horizontalAdvance(text); };
    for (const OverlayTick& tick : OverlayTimeTicks(m_view, m_mode, l.plot.width(), width, minPixels)) {
        const int x = l.plot.left() + tick.column;
        painter.setPen(kGrid);
        painter.drawLine(x, l.plot.top(), x, l.plot.bottom());
        if (tick.text.isEmpty())
            continue;
        painter.setPen(kText);
        painter.drawText(QRect(l.plot.left() + tick.left, l.plot.bottom() + 4, tick.width, 2 * l.lineHeight),
                         Qt::AlignHCenter | Qt::AlignTop, tick.text);
    }
}

void COverlayGraph::DrawLimits(QPainter& painter, const Layout& l, const OverlayScale& scale) const
{
    const std::vector<LimitLine> lines = LimitLines(m_missions, m_channel);
    for (const LimitLine& line : lines) {
        // Missions sharing one limit value take turns along the line.
        int sharing = 0, turn = 0;
        for (const LimitLine& other : lines) {
            if (other.value == line.value) {
                turn += &other < &line;
                ++sharing;
            }
        }
        painter.setPen(LimitPen(line.mission < 0 ? kShared : kPalette[line.mission], sharing, turn));
        const int y = static_cast<int>(std::lround(YOf(scale, l.plot, InShownUnit(line.value))));
        painter.drawLine(l.plot.left(), y, l.plot.right() + 1, y);
    }
}

void COverlayGraph::DrawCurves(QPainter& painter, const Layout& l, const OverlayScale& scale)
{
    QPolygonF polygon;
    for (std::size_t i = 0; i < m_missions.size(); ++i) {
        const OverlayMission& m = m_missions[i];
        if (!Shows(m))
            continue;
        const std::vector<float>& values = Values(m);
        const int count = static_cast<int>(std::min(values.size(), m.times.size()));
        DecimateCurve(m.times.data(), values.data(), count, AxisOffset(m, m_mode), m_view, l.plot.width(), m_points);
        polygon.resize(static_cast<qsizetype>(m_points.size()));
        for (std::size_t k = 0; k < m_points.size(); ++k)
            polygon[static_cast<qsizetype>(k)] = QPointF(l.plot.left() + m_points[k].x + 0.5,
                                                         YOf(scale, l.plot, InShownUnit(m_points[k].value)));
        painter.setPen(CurvePen(kPalette[i]));
        painter.drawPolyline(polygon);
    }
}

void COverlayGraph::DrawLegend(QPainter& painter, const Layout& l) const
{
    const QFontMetrics fm(painter.font());
    int y = l.legend.top();
    const int swatch = 2 * l.lineHeight;
    for (std::size_t i = 0; i < m_missions.size(); ++i) {
        if (!Shows(m_missions[i]))
            continue;
        const int mid = y + l.lineHeight / 2;
        painter.setPen(QPen(kPalette[i], 3));
        painter.drawLine(l.legend.left(), mid, l.legend.left() + swatch - 6, mid);
        painter.setPen(kText);
        painter.drawText(QRect(l.legend.left() + swatch, y, l.legend.width() - swatch, l.lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         fm.elidedText(LegendText(m_missions[i]), Qt::ElideRight, l.legend.width() - swatch));
        y += l.lineHeight + l.lineHeight / 3;
    }
}

void COverlayGraph::wheelEvent(QWheelEvent* event)
{
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0 || m_missions.empty())
        return;
    ZoomAt(event->position().x() - PlotRect().left(), std::pow(kZoomPerNotch, notches));
    event->accept();
}

void COverlayGraph::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_dragFrom = event->position().toPoint();
    setCursor(Qt::ClosedHandCursor);
}

void COverlayGraph::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return;
    const QPoint at = event->position().toPoint();
    PanBy(m_dragFrom.x() - at.x());
    m_dragFrom = at;
}

void COverlayGraph::mouseReleaseEvent(QMouseEvent*)
{
    m_dragging = false;
    unsetCursor();
}

void COverlayGraph::mouseDoubleClickEvent(QMouseEvent*)
{
    ResetView();
}
