#pragma once

#include "report/Surface.h"

// Texts kept inside the cells of a page's tables.

// The largest size of font, at most its own, at which text takes no more
// than room pixels across; 1 pixel at the least.
FontSpec FontToFit(const ISurface& surface, const FontSpec& font, const QString& text, int room);

// text at (x, y) in a cell whose right edge is at right: in font where it
// fits, else in the size that fits. font is in force again afterwards.
void CellTextOut(ISurface& surface, const FontSpec& font, int x, int y, int right, const QString& text);
