#pragma once

#include "views/GraphFrame.h"

class QPainter;

// The layers of one graph frame, back to front. Each reads the points the
// frame computed; the painter carries the scale font.

// Plot white, label strip lavender, both outlined.
void FillAreas(QPainter& painter, const GraphGeometry& g);
// The selected time range behind everything drawn after it.
void DrawSelectionBand(QPainter& painter, const GraphGeometry& g, const GraphPoints& p);
// A light vertical line at each time tick, darker where a day begins, and a
// short mark below the bottom level.
void DrawTimeGrid(QPainter& painter, const GraphGeometry& g, const GraphPoints& p);
// The five labelled levels with their ticks into the strip, and the lines between.
void DrawGridLines(QPainter& painter, const GraphGeometry& g);
// The level values in the strip: temperature above each level, humidity below.
void DrawScaleLabels(QPainter& painter, const GraphViewState& state, const GraphGeometry& g, const GraphPoints& p);
// Dashed alarm limit lines in the curves' colours.
void DrawLimitLines(QPainter& painter, const CLoggerRecord& r, const GraphViewState& state, const GraphGeometry& g,
                    const GraphPoints& p);
// Each limit's value at the right end of its line; an arrow marks a limit
// beyond the scale.
void DrawLimitLabels(QPainter& painter, const CLoggerRecord& r, const GraphViewState& state, const GraphGeometry& g,
                     const GraphPoints& p, TempUnit unit);
// The dotted cursor line; sets the cursor samples of state and points.
void DrawCursor(QPainter& painter, GraphViewState& state, const GraphGeometry& g, GraphPoints& p);
// Time labels below the bottom level; a record without times shows the
// number of its first visible sample instead.
void DrawTimeLabels(QPainter& painter, const GraphViewState& state, const GraphGeometry& g, const GraphPoints& p);
