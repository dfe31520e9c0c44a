#pragma once

// Arithmetic of the overlay graph, which draws several missions on one time
// axis: where each mission sits on the axis, the per-pixel-column reduction
// of a curve, the value axis and its ticks, and which alarm limits to draw.
// Plain functions, no drawing.

#include "record/LoggerRecord.h"

#include <QString>
#include <vector>

// One mission as the overlay draws it: temperatures in degrees C, humidity
// in %RH (none without humidity), one time per sample, ascending.
struct OverlayMission {
    QString loggerId;
    time64 start = 0;
    std::vector<time64> times;
    std::vector<float> temp;
    std::vector<float> humi;
    bool tempLimits = false; // the temperature alarm band is in force
    float tempLow = 0, tempHigh = 0;
    bool humiLimits = false;
    float humiLow = 0, humiHigh = 0;

    bool HasHumidity() const { return !humi.empty(); }
};

// The received samples and limits of a record loaded from a data file.
OverlayMission OverlayMissionOf(const CLoggerRecord& record);

// Clock: every mission at its own time of day and date. Elapsed: every
// mission from its own start, so that the starts line up at 0.
enum class OverlayTime { Clock, Elapsed };
enum class OverlayChannel { Temperature, Humidity };

// What is subtracted from a mission's sample times to place them on the axis.
time64 AxisOffset(const OverlayMission& mission, OverlayTime mode);

// A stretch of the time axis, in seconds of the axis.
struct AxisSpan {
    double from = 0;
    double to = 1;
    double Length() const { return to - from; }
};

// The stretch that holds every sample of every mission; never empty (a
// single instant is widened by a minute each side).
AxisSpan FullSpan(const std::vector<OverlayMission>& missions, OverlayTime mode);

// One vertex of a reduced curve: x in pixel columns from the plot's left
// edge, the value as stored (C or %RH).
struct CurvePoint {
    double x = 0;
    float value = 0;
};

// Reduces one curve to what the plot's columns can show: for each column
// that holds samples, the column's maximum and minimum in time order (one
// point when the column holds one distinct extreme), so every column keeps
// its exact extremes. Points of samples inside the span have an integral x
// (the column, 0 .. columns - 1). The nearest sample before and after the
// span are added at their fractional x, so that the line leaves the plot
// at the right slope. A missing sample (not above -1000) is skipped.
// points is cleared first (its capacity kept, so redraws do not allocate).
void DecimateCurve(const time64* times, const float* values, int count, time64 offset, const AxisSpan& span,
                   int columns, std::vector<CurvePoint>& points);

// A value axis: nice ticks that hold low .. high.
struct OverlayScale {
    double minimum = 0;
    double maximum = 1;
    double step = 1;
};
// low and high in the unit shown; a flat range is widened by one unit each side.
OverlayScale NiceScale(double low, double high, int maxTicks = 8);

// The alarm limit lines of a channel: one pair, drawn in a neutral colour,
// when every mission has the same band in force (mission -1); else each
// mission's own pair in its colour (mission = its index). Missions without a
// band in force add nothing.
struct LimitLine {
    int mission = -1;
    float value = 0; // C or %RH
};
std::vector<LimitLine> LimitLines(const std::vector<OverlayMission>& missions, OverlayChannel channel);
