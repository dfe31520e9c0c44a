#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

// Dialog units, the fit of a window to the screen and the placement of its
// controls in a window of any size.

// Average character width and height of a dialog font, measured the way
// Windows dialogs measure their base units.
struct DialogBaseUnits {
    int avgWidth = 6;
    int height = 13;
};
DialogBaseUnits BaseUnitsOf(const QFont& font);

// Average character width the dialog templates were laid out for.
constexpr int kTemplateAvgWidth = 6;

// The dialog font: "MS Shell Dlg" 8 point is served by the desktop's
// default sans font at 11 pixels (8 point at 96 dots per inch), in its
// semi-condensed cut when the regular one is wider than the templates'.
QFont DialogFont();

// Dialog units to pixels: x = du * avgWidth / 4, y = du * height / 8,
// converted edge by edge.
QRect DluToPixels(const QRect& du, const DialogBaseUnits& units);
QRect DluToPixels(int x, int y, int w, int h, const DialogBaseUnits& units);

// Factor that fits a window into 90 % of the screen.
float ScreenFitScale(QSize screen, QSize window);

// A control scaled about an origin: it keeps its centre (scaled), its half
// sizes are multiplied by the factor, so its size stays even. The rectangle
// and the origin are in the same coordinates; the result is relative to the
// origin.
QRect ScaleControlRect(const QRect& rect, float scale, QPoint origin = {});

// How a control follows the room a window has beyond its scaled template:
// it moves right or down by that room, or its right or bottom edge does.
enum Grow : unsigned {
    kGrowNone = 0,
    kMoveX = 1,
    kMoveY = 2,
    kGrowX = 4,
    kGrowY = 8,
};

// The scale of a window's template in a window of a given size, and the room
// the window has beyond the template at that scale.
struct WindowFit {
    float scale = 1.0f;
    QSize room{0, 0};
};

// The template scaled by the factor, each side truncated.
QSize ScaledSize(QSize templateSize, float scale);

// The fit scale while the template scaled by it fits in the window, else
// the largest scale at which it fits; the room is never negative.
WindowFit FitToWindow(QSize templateSize, float fitScale, QSize window);

// The pixel rectangle of a control from its dialog-unit rectangle: converted
// with the base units, scaled as ScaleControlRect scales it about origin
// (where its parent sits in the unscaled window), then moved or stretched
// by the room as grow says. The same units always give the same rectangle,
// however often a window is placed.
QRect PlaceFromUnits(const QRect& du, const DialogBaseUnits& units, float scale, QPoint origin, unsigned grow,
                     QSize room);

// The font with its pixel height multiplied by the factor (truncated).
QFont ScaledFont(const QFont& font, float scale);

// Top-left corner that centres a window of the given size on the screen.
QPoint CentredOrigin(QSize screen, QSize window);
