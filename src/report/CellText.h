#pragma once

#include "report/Surface.h"

// Texts kept inside the cells of a page's tables.

// The lines around a cell, in pixels.
struct CellEdges {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// text at (x, y) in cell: in font where it fits on one line; otherwise in a
// smaller size on one line, or on two lines centred between the cell's top
// and bottom edges where that allows a larger size (broken at the blank
// that evens the lines best, between any two characters when there is no
// blank), keeping as much room to the right edge as x keeps to the left.
// font is in force again afterwards.
void CellTextOut(ISurface& surface, const FontSpec& font, int x, int y, const CellEdges& cell, const QString& text);
