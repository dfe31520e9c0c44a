// The graph page's zoom, scroll and cursor: zoom buttons, trackbar, mouse
// click, wheel, drag and Shift-drag, double click and the keys.
#include "views/GraphPage.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kWheelStep = 120; // one notch of an ordinary wheel

} // namespace

bool CGraphPage::InPlot(QPoint pos) const
{
    const float s = m_geometry.scale;
    const float x = static_cast<float>(pos.x()), y = static_cast<float>(pos.y());
    return x >= 60.0f * s && x <= m_geometry.bitmapWidth && y >= 50.0f * s && y <= 50.0f * s + m_geometry.bitmapHeight;
}

int CGraphPage::SampleAtX(int pageX) const
{
    return SampleAtColumn(m_points.visible, pageX - TruncClamped(m_geometry.x0));
}

int CGraphPage::XOfSample(int sample) const
{
    return TruncClamped(m_geometry.x0) + ColumnOfSample(m_points.visible, sample);
}

void CGraphPage::ZoomIn()
{
    if (!AnyCurve())
        return;
    m_state.zoomDivisor = ZoomedIn(m_state.zoomDivisor, m_points.sampleCount);
    Show();
}

void CGraphPage::ZoomOut()
{
    if (!AnyCurve())
        return;
    m_state.zoomDivisor = ZoomedOut(m_state.zoomDivisor, m_points.sampleCount);
    Show();
}

void CGraphPage::ZoomAt(int pageX, bool in)
{
    const int count = m_points.sampleCount;
    if (!AnyCurve() || count < 1)
        return;
    const int column = pageX - TruncClamped(m_geometry.x0);
    const int anchor = SampleAtX(pageX);
    m_state.zoomDivisor = in ? ZoomedIn(m_state.zoomDivisor, count) : ZoomedOut(m_state.zoomDivisor, count);
    SetFirstSample(FirstSampleKeeping(anchor, column, count, m_state.zoomDivisor, m_geometry.columns));
    Show();
}

void CGraphPage::ResetZoom()
{
    if (!AnyCurve())
        return;
    m_state.zoomDivisor = 1;
    SetFirstSample(0);
    Show();
}

void CGraphPage::OnTrackbar(int position)
{
    if (!AnyCurve())
        return;
    m_state.firstSample = position > 0 ? position : 0;
    Show();
}

void CGraphPage::MoveCursor(int step)
{
    const int count = m_points.sampleCount;
    if (!AnyCurve() || count < 1)
        return;
    const int from = m_state.keySample >= 0 ? m_state.keySample : m_points.cursorSample;
    const int sample = std::clamp(from + step, 0, count - 1);
    m_state.keySample = sample;
    const VisibleRange& v = m_points.visible;
    if (sample < v.first)
        SetFirstSample(sample);
    else if (sample > v.last)
        SetFirstSample(v.first + (sample - v.last));
    Show();
}

void CGraphPage::PanTo(int x)
{
    const int first = FirstSampleAfterPan(PlanVisible(m_points.sampleCount, m_state.zoomDivisor, m_drag.firstSample,
                                                      m_geometry.columns),
                                          x - m_drag.start.x(), m_points.sampleCount);
    if (first != m_state.firstSample) {
        SetFirstSample(first);
        Show();
    }
}

void CGraphPage::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !InPlot(pos)) {
        QWidget::mousePressEvent(event);
        return;
    }
    // Shift selects a range only where a selection can be made at all.
    const bool selecting = event->modifiers().testFlag(Qt::ShiftModifier) && Control(IDC_SAVE_SELECTION)->isEnabled();
    m_drag = Drag{true, selecting, false, pos, pos.x(), m_state.firstSample, m_state.clickX, m_state.clickY};
    if (m_drag.selecting)
        return;
    m_state.clickX = pos.x();
    m_state.clickY = pos.y();
    m_state.keySample = -1;
    if (AnyCurve() && m_pRecord->m_nCount == m_pRecord->m_nReceived)
        Show();
    QWidget::mousePressEvent(event);
}

void CGraphPage::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_drag.active || !(event->buttons() & Qt::LeftButton))
        return;
    const int x = event->position().toPoint().x();
    if (!m_drag.moved && std::abs(x - m_drag.start.x()) < QApplication::startDragDistance())
        return;
    m_drag.x = x;
    if (!m_drag.moved && !m_drag.selecting) {
        // A drag pans; the press that began it does not move the cursor.
        m_state.clickX = m_drag.clickX;
        m_state.clickY = m_drag.clickY;
    }
    m_drag.moved = true;
    if (m_drag.selecting)
        update();
    else if (AnyCurve())
        PanTo(x);
}

void CGraphPage::mouseReleaseEvent(QMouseEvent* event)
{
    const Drag drag = m_drag;
    m_drag = Drag{};
    if (!drag.active || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const VisibleRange& v = m_points.visible;
    if (drag.selecting && drag.moved && AnyCurve() && v.first <= v.last && v.last < m_points.sampleCount) {
        const int x = event->position().toPoint().x();
        const int a = SampleAtX(std::min(drag.start.x(), x));
        const int b = SampleAtX(std::max(drag.start.x(), x));
        SelectTimeRange(m_pRecord->m_tTime[a], m_pRecord->m_tTime[b]);
    }
    update();
}

void CGraphPage::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && InPlot(event->position().toPoint()))
        ResetZoom();
    else
        QWidget::mouseDoubleClickEvent(event);
}

void CGraphPage::wheelEvent(QWheelEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (!InPlot(pos)) {
        event->ignore();
        return;
    }
    m_nWheelAngle += event->angleDelta().y();
    while (std::abs(m_nWheelAngle) >= kWheelStep) {
        const bool in = m_nWheelAngle > 0;
        m_nWheelAngle += in ? -kWheelStep : kWheelStep;
        ZoomAt(pos.x(), in);
    }
    event->accept();
}

void CGraphPage::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept(); // the page never closes the window
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
        MoveCursor(event->key() == Qt::Key_Left ? -1 : 1);
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
