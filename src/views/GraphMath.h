#pragma once

// Pixel arithmetic of the graph page: geometry at a layout scale, min/max
// decimation of the visible samples, the value axes, their tick values, the
// alarm limit positions and the cursor. Plain functions, no drawing.

// Geometry of the off-screen frame at layout scale s (pixels).
struct GraphGeometry {
    float scale = 1.0f;
    float bitmapWidth = 550;
    float bitmapHeight = 250;
    float x0 = 60;          // left edge of the plot; labels live left of it
    float tickStart = 55;   // labelled level lines start here
    float levelStep = 50;   // distance between grid lines of one kind
    float plotWidth = 490;  // pixels for the curves
    int pointCapacity = 495;
    int topLevel = 25;      // y of the axis maximum
    int bottomLevel = 225;  // y of the axis minimum
    float valueSpan = 200;  // bottomLevel - topLevel

    static GraphGeometry AtScale(float s);
};

// How the visible samples are bucketed.
struct DecimationPlan {
    int per = 0;        // samples meant to fill the plot width
    int stride = 0;     // samples per bucket
    int pixelStep = 1;  // pixels between consecutive points
    int maxPoints = 0;  // bucket loop stops once this many points exist
};

DecimationPlan PlanDecimation(int sampleCount, int zoomDivisor, float plotWidth);

// Fills tempIdx / humiIdx with the sample index behind each vertex: per
// bucket its maximum and minimum in time order (first maximum, last minimum
// win). Never writes more than capacity entries. Returns the point count.
int DecimateSlots(const float* temp, const float* humi, int sampleCount, int firstSample,
                  const DecimationPlan& plan, int capacity, int* tempIdx, int* humiIdx);

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

// Value printed at level k (0 = bottom .. 4 = top).
float TickValue(const ValueAxis& axis, int k, float levelStep);

// y of an alarm limit; outside the band it sits 5 pixels beyond the
// top or bottom level.
float LimitPosition(const ValueAxis& axis, float limit, int topLevel, int bottomLevel);

// Slot under a click at x (page pixels), rounded to the nearest point and
// kept within 0 .. pointCount - 1.
int CursorSlot(int clickX, float x0, int pixelStep, int pointCount);

// Float to int conversion that truncates toward zero and saturates instead
// of overflowing.
int TruncClamped(double value);
