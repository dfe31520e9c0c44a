#include "report/RecordingSurface.h"

#include <cmath>

CRecordingSurface::CRecordingSurface(int dpiX, int dpiY, int width, int height)
    : m_dpiX(dpiX), m_dpiY(dpiY), m_width(width), m_height(height)
{
}

void CRecordingSurface::Add(Kind kind, QVector<QPoint> points, const QString& text)
{
    m_ops.push_back({kind, std::move(points), text, m_pen, m_font, m_background});
}

void CRecordingSurface::Rectangle(int left, int top, int right, int bottom)
{
    Add(Kind::Rectangle, {QPoint(left, top), QPoint(right, bottom)});
}

void CRecordingSurface::LineTo(int x, int y)
{
    Add(Kind::Line, {m_at, QPoint(x, y)});
    m_at = QPoint(x, y);
}

void CRecordingSurface::Polyline(const QPoint* points, int count)
{
    Add(Kind::Polyline, QVector<QPoint>(points, points + count));
}

void CRecordingSurface::TextOut(int x, int y, const QString& text)
{
    Add(Kind::Text, {QPoint(x, y)}, text);
}

QVector<CRecordingSurface::Op> CRecordingSurface::Of(Kind kind) const
{
    QVector<Op> out;
    for (const Op& op : m_ops)
        if (op.kind == kind)
            out.push_back(op);
    return out;
}

QVector<CRecordingSurface::Op> CRecordingSurface::Texts(const QString& text) const
{
    QVector<Op> out;
    for (const Op& op : m_ops)
        if (op.kind == Kind::Text && op.text == text)
            out.push_back(op);
    return out;
}

int CRecordingSurface::TextWidth(const FontSpec& font, const QString& text) const
{
    double ems = 0;
    for (const QChar c : text) {
        if (c.isLowSurrogate())
            continue; // counted with its high half
        ems += c.unicode() >= 0x2E80 ? 1.0 : 0.55;
    }
    return static_cast<int>(std::ceil(ems * font.pixelHeight));
}

int CRecordingSurface::LineHeight(const FontSpec& font) const
{
    return static_cast<int>(std::ceil(1.15 * font.pixelHeight));
}
