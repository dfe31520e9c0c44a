#pragma once

#include "report/Surface.h"

#include <QVector>

// A surface that keeps every operation, so that tests can check positions,
// texts, pens and backgrounds without pixels.
class CRecordingSurface : public ISurface {
public:
    enum class Kind { Rectangle, Line, Polyline, Text };

    struct Op {
        Kind kind;
        QVector<QPoint> points; // rectangle: two corners; line: from, to; text: its corner
        QString text;
        Pen pen;                // in force when the op was drawn
        FontSpec font;
        Rgb background;
    };

    CRecordingSurface(int dpiX, int dpiY, int width, int height);

    void Rectangle(int left, int top, int right, int bottom) override;
    void SetPen(const Pen& pen) override { m_pen = pen; }
    void SetFont(const FontSpec& font) override { m_font = font; }
    void MoveTo(int x, int y) override { m_at = QPoint(x, y); }
    void LineTo(int x, int y) override;
    void Polyline(const QPoint* points, int count) override;
    void TextOut(int x, int y, const QString& text) override;
    void SetTextBackground(Rgb color) override { m_background = color; }
    // Estimates without fonts: 0.55 of the font's height a character, a
    // whole height for a wide (East Asian) one; lines 1.15 heights apart.
    int TextWidth(const FontSpec& font, const QString& text) const override;
    int LineHeight(const FontSpec& font) const override;
    int DpiX() const override { return m_dpiX; }
    int DpiY() const override { return m_dpiY; }
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }

    const QVector<Op>& Ops() const { return m_ops; }
    QVector<Op> Of(Kind kind) const;
    // The text ops whose text is text (exact).
    QVector<Op> Texts(const QString& text) const;
    // Whether any text op holds text (exact).
    bool HasText(const QString& text) const { return !Texts(text).isEmpty(); }

private:
    void Add(Kind kind, QVector<QPoint> points, const QString& text = {});

    int m_dpiX, m_dpiY, m_width, m_height;
    Pen m_pen;
    FontSpec m_font;
    Rgb m_background{255, 255, 255};
    QPoint m_at;
    QVector<Op> m_ops;
};
