#include "report/ui/PainterSurface.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

QColor ToColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

QFont ToFont(const FontSpec& font)
{
    QFont f(font.family);
    f.setPixelSize(std::max(1, font.pixelHeight));
    f.setStyleHint(QFont::SansSerif);
    return f;
}

} // namespace

CPainterSurface::CPainterSurface(QPainter& painter, int dpiX, int dpiY, int width, int height)
    : m_painter(painter), m_dpiX(dpiX), m_dpiY(dpiY), m_width(width), m_height(height)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    SetPen({});
}

void CPainterSurface::Rectangle(int left, int top, int right, int bottom)
{
    m_painter.setBrush(Qt::white);
    m_painter.drawRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
    m_painter.setBrush(Qt::NoBrush);
}

void CPainterSurface::SetPen(const Pen& pen)
{
    QPen p(ToColor(pen.color));
    p.setWidth(pen.width);
    p.setStyle(pen.style == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
    p.setCapStyle(Qt::FlatCap);
    m_painter.setPen(p);
}

void CPainterSurface::SetFont(const FontSpec& font)
{
    m_painter.setFont(ToFont(font));
}

void CPainterSurface::MoveTo(int x, int y)
{
    m_at = QPoint(x, y);
}

void CPainterSurface::LineTo(int x, int y)
{
    m_painter.drawLine(m_at, QPoint(x, y));
    m_at = QPoint(x, y);
}

void CPainterSurface::Polyline(const QPoint* points, int count)
{
    m_painter.drawPolyline(points, count);
}

int CPainterSurface::TextWidth(const FontSpec& font, const QString& text) const
{
    const QFontMetrics metrics(ToFont(font), m_painter.device());
    return metrics.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), 0, text).width();
}

int CPainterSurface::LineHeight(const FontSpec& font) const
{
    return QFontMetrics(ToFont(font), m_painter.device()).height();
}

void CPainterSurface::TextOut(int x, int y, const QString& text)
{
    const QFontMetrics metrics(m_painter.font(), m_painter.device());
    const QRect box(x, y, metrics.horizontalAdvance(text), metrics.height());
    m_painter.fillRect(box, ToColor(m_background));
    const QPen pen = m_painter.pen();
    m_painter.setPen(Qt::black);
    m_painter.drawText(x, y + metrics.ascent(), text);
    m_painter.setPen(pen);
}
