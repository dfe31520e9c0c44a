#pragma once

#include <QPoint>
#include <QString>

// What the report pages draw with, in device pixels, y growing downwards.
// The preview, the printer and a PDF file draw through a QPainter adapter;
// tests draw on a surface that records the operations.

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

enum class PenStyle { Solid, Dot };

struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    Rgb color;
    bool operator==(const Pen&) const = default;
};

// A font as the page asks for it: family and character height in device
// pixels (the em size), regular weight.
struct FontSpec {
    QString family = QStringLiteral("Arial");
    int pixelHeight = 12;
    bool operator==(const FontSpec&) const = default;
};

class ISurface {
public:
    virtual ~ISurface() = default;

    // Filled white and outlined with the current pen, from (left, top) to (right, bottom).
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    virtual void SetPen(const Pen& pen) = 0;
    virtual void SetFont(const FontSpec& font) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual void Polyline(const QPoint* points, int count) = 0;
    // text with its top-left corner at (x, y), on the current background colour.
    virtual void TextOut(int x, int y, const QString& text) = 0;
    virtual void SetTextBackground(Rgb color) = 0;
    // The width in pixels that text takes in font, overhanging ink included.
    virtual int TextWidth(const FontSpec& font, const QString& text) const = 0;
    // The height in pixels of a line of text in font.
    virtual int LineHeight(const FontSpec& font) const = 0;

    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    // The printable area in pixels.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};
