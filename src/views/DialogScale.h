#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

// Dialog units and the one-time fit of the main window to the screen.

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

// The font with its pixel height multiplied by the factor (truncated).
QFont ScaledFont(const QFont& font, float scale);

// Top-left corner that centres a window of the given size on the screen.
QPoint CentredOrigin(QSize screen, QSize window);
