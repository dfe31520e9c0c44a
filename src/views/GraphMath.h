#pragma once

// Pixel arithmetic of the graph page: geometry at a layout scale, the
// visible range and its min/max decimation, zoom and pan steps, the value
// axes and the alarm limit positions. Plain functions,
// no drawing.

// Geometry of the off-screen frame at layout scale s (pixels), wider and
// taller by the room a larger window gives the graph: the plot takes it all.
struct GraphGeometry {
    float scale = 1.0f;
    float bitmapWidth = 550;
    float bitmapHeight = 250;
    float x0 = 60;          // left edge of the plot; labels live left of it
    float tickStart = 55;   // labelled level lines start here
    float levelStep = 50;   // distance between grid lines of one kind
    float plotWidth = 490;  // pixels for the curves
    int columns = 490;      // whole pixel columns of the plot
    int pointCapacity = 982; // two points per column, and a spare pair
    int topLevel = 25;      // y of the axis maximum
    int bottomLevel = 225;  // y of the axis minimum
    float valueSpan = 200;  // bottomLevel - topLevel
    float extraHeight = 0;  // the room below the scaled frame's levels

    static GraphGeometry AtScale(float s, int extraWidth = 0, int extraHeight = 0);
};

// The stretch of the record on screen. Sample first sits on the plot's left
// pixel column and sample first + span on its right one; every sample in
// between maps linearly onto the columns, so the curve fills the whole
// width at every zoom.
struct VisibleRange {
    int first = 0;    // first sample shown
    int last = -1;    // last sample shown (inclusive); below first when none
    int span = 1;     // sample intervals across the plot width, at least 1
    int columns = 1;  // pixel columns of the plot, at least 1
};

// Samples meant to fill the plot are sampleCount / zoomDivisor; the range
// starts at firstSample and stops at the record's end.
VisibleRange PlanVisible(int sampleCount, int zoomDivisor, int firstSample, int columns);

// Pixel column (0 .. columns - 1 for visible samples) of a sample, rounded.
int ColumnOfSample(const VisibleRange& v, int sample);

// The visible sample nearest to a pixel column (columns left or right of
// the plot give the first or last visible sample).
int SampleAtColumn(const VisibleRange& v, int column);

// Reduces the visible samples to at most two points per pixel column: each
// column's maximum and minimum in time order (first maximum, last minimum
// win), one point where a column holds a single sample. Temperature and
// humidity get their own extremes at the same columns. Writes the sample
// behind each point to tempIdx / humiIdx and its column to columnOf, never
// more than capacity entries. Returns the point count.
int DecimateColumns(const float* temp, const float* humi, const VisibleRange& v, int capacity, int* tempIdx,
                    int* humiIdx, int* columnOf);

// The zoom divisor after one zoom-in (doubled) or zoom-out (halved) step,
// kept within 1 .. sampleCount.
int ZoomedIn(int zoomDivisor, int sampleCount);
int ZoomedOut(int zoomDivisor, int sampleCount);

// The first sample that keeps `anchor` on pixel column `column` at the new
// zoom divisor, kept where the plot stays filled (0 .. sampleCount - 1 - span).
int FirstSampleKeeping(int anchor, int column, int sampleCount, int zoomDivisor, int columns);

// The first sample after dragging the curve dx pixels to the right from a
// view that started at v.first; kept within 0 .. sampleCount - 1 - span.
int FirstSampleAfterPan(const VisibleRange& v, int dx, int sampleCount);

// Linear map from values to y: y = bottomLevel - (value - minimum) / unitsPerPixel.
struct ValueAxis {
    float minimum = 0;
    float maximum = 0;
    float unitsPerPixel = 0;
};

// A flat or inverted range (maximum not above minimum) is widened to
// minimum - 1 .. minimum + 1 so the map never divides by zero.
ValueAxis MakeAxis(float minimum, float maximum, float valueSpan);

// y of a value, truncated and clamped to a range an int holds comfortably.
int ValueToY(const ValueAxis& axis, float value, int bottomLevel);

// y of an alarm limit; outside the band it sits 5 pixels beyond the
// top or bottom level.
float LimitPosition(const ValueAxis& axis, float limit, int topLevel, int bottomLevel);

// Float to int conversion that truncates toward zero and saturates instead
// of overflowing.
int TruncClamped(double value);
