#pragma once

#include "base/DisplaySettings.h"
#include "views/OverlayMath.h"

#include <QColor>
#include <QPoint>
#include <QWidget>
#include <span>
#include <vector>

class QPainter;

// Several missions on one graph: one channel (temperature in the window's
// unit, or humidity) over clock time or over the time elapsed since each
// start, each mission in a colour of its own, a legend naming its logger ID
// and start, and the alarm limits. The wheel zooms about the pointer, a drag
// pans, a double click shows everything again.
class COverlayGraph : public QWidget {
    Q_OBJECT

public:
    // The curve colours, in the order the missions take them: told apart
    // from each other and from the white plot at a glance.
    static std::span<const QColor> Palette();
    // The colour of limit lines every mission shares.
    static QColor SharedLimitColour();
    static int MaxMissions() { return static_cast<int>(Palette().size()); }

    // display: the unit and language, read at every paint.
    explicit COverlayGraph(const DisplaySettings& display, QWidget* parent = nullptr);

    // Draws these missions (at most MaxMissions; the rest are left out),
    // showing all of them.
    void SetMissions(std::vector<OverlayMission> missions);
    const std::vector<OverlayMission>& Missions() const { return m_missions; }
    void SetTimeMode(OverlayTime mode);
    OverlayTime TimeMode() const { return m_mode; }
    void SetChannel(OverlayChannel channel);
    OverlayChannel Channel() const { return m_channel; }

    // The stretch of the time axis shown.
    const AxisSpan& View() const { return m_view; }
    void ResetView();
    // Zooms about a pixel column of the plot: factor below 1 zooms in.
    void ZoomAt(double column, double factor);
    // Moves the view by a number of pixel columns (positive: later times).
    void PanBy(double columns);

    // Where the curves go at the widget's present size.
    QRect PlotRect() const;
    // Draws the whole graph into area.
    void Paint(QPainter& painter, const QRect& area);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct Layout;
    struct Extent {
        float low = 0, high = 0;
        bool any = false;
    };
    Layout LayoutOf(const QRect& area) const;
    bool Shows(const OverlayMission& mission) const;
    const std::vector<float>& Values(const OverlayMission& mission) const;
    double InShownUnit(float value) const;
    OverlayScale ScaleOfShown(int plotHeight) const;
    void DrawValueAxis(QPainter& painter, const Layout& layout, const OverlayScale& scale) const;
    void DrawTimeAxis(QPainter& painter, const Layout& layout) const;
    void DrawLimits(QPainter& painter, const Layout& layout, const OverlayScale& scale) const;
    void DrawCurves(QPainter& painter, const Layout& layout, const OverlayScale& scale);
    void DrawLegend(QPainter& painter, const Layout& layout) const;

    const DisplaySettings& m_display;
    std::vector<OverlayMission> m_missions;
    std::vector<Extent> m_tempExtent, m_humiExtent;
    OverlayTime m_mode = OverlayTime::Clock;
    OverlayChannel m_channel = OverlayChannel::Temperature;
    AxisSpan m_full;
    AxisSpan m_view;
    bool m_dragging = false;
    QPoint m_dragFrom;
    std::vector<CurvePoint> m_points; // reused by every curve of every frame
};
