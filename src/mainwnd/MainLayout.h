#pragma once

#include "views/DialogScale.h"

#include <QRect>
#include <QSize>
#include <vector>

// The main window's placement in a window of any size, from the template's
// dialog units.

struct TemplateRect {
    int id;
    QRect du;
};

// The main window's controls with their rectangles in dialog units, in
// template order.
std::vector<TemplateRect> MainTemplateRects();

// The template (606 x 369 dialog units) in pixels.
QSize MainTemplateSize(const DialogBaseUnits& units);

// The smallest window: the template fitted to a 1366 x 768 screen, or to
// the screen itself when that is smaller.
QSize MinimumMainSize(QSize screen, const DialogBaseUnits& units);

// Where every control of the main window goes in a window of this size:
// the scale (fitScale while the template fits at it, else smaller) and the
// room beyond the template, and each control's rectangle placed from its
// dialog units. The banner spans the window; the graph frame takes all the
// room, the tab control and battery strip grow as tall; the status line
// widens and the progress bar moves right, both below the graph.
struct MainPlacement {
    WindowFit fit;
    std::vector<std::pair<int, QRect>> controls;

    // The rectangle of the control with this id (empty when there is none).
    QRect Of(int id) const;
};
MainPlacement PlaceMainControls(QSize window, float fitScale, const DialogBaseUnits& units);
