#include "report/ui/PreviewFrame.h"

#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

CPreviewFrame::CPreviewFrame(QWidget* parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
}

void CPreviewFrame::ShowPage(const QImage& page, bool halfPage)
{
    m_page = page;
    m_halfPage = halfPage;
    m_scrollY = 0;
    update();
}

void CPreviewFrame::Clear()
{
    m_page = QImage();
    update();
}

void CPreviewFrame::SetScrollY(int y)
{
    m_scrollY = std::clamp(y, 0, MaxScroll());
    update();
}

void CPreviewFrame::paintEvent(QPaintEvent* event)
{
    if (m_page.isNull()) {
        QFrame::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const int w = width(), h = height();
    if (!m_halfPage) {
        painter.drawImage(QRect(0, 0, w, h), m_page);
        return;
    }
    painter.fillRect(rect(), QColor(215, 215, 215));
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const int dw = 3 * (w / 4);
    const QRect source(0, m_scrollY, m_page.width(), m_page.height() / 2);
    painter.drawImage(QRect((w - dw) / 2, 0, dw, h), m_page, source);
}

void CPreviewFrame::wheelEvent(QWheelEvent* event)
{
    emit Wheel(event->angleDelta().y());
    event->accept();
}
