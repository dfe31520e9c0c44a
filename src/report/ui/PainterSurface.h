#pragma once

#include "report/Surface.h"

class QPainter;

// The report surface over a QPainter: the preview's page image, a printer,
// a PDF writer. dpi and size are the device's (the printable area).
class CPainterSurface : public ISurface {
public:
    CPainterSurface(QPainter& painter, int dpiX, int dpiY, int width, int height);

    void Rectangle(int left, int top, int right, int bottom) override;
    void SetPen(const Pen& pen) override;
    void SetFont(const FontSpec& font) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Polyline(const QPoint* points, int count) override;
    void TextOut(int x, int y, const QString& text) override;
    void SetTextBackground(Rgb color) override { m_background = color; }
    int TextWidth(const FontSpec& font, const QString& text) const override;
    int LineHeight(const FontSpec& font) const override;
    int DpiX() const override { return m_dpiX; }
    int DpiY() const override { return m_dpiY; }
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }

private:
    QPainter& m_painter;
    int m_dpiX, m_dpiY, m_width, m_height;
    Rgb m_background{255, 255, 255};
    QPoint m_at;
};
