#pragma once

#include "base/DisplaySettings.h"
#include "record/LoggerRecord.h"
#include "views/GraphMath.h"
#include "record/TimeTicks.h"
#include "views/ValueTicks.h"

#include <QFont>
#include <QPoint>
#include <vector>

class CLoggerRecord;
class QImage;

// What the user chose to see; the graph-interaction handlers change it.
struct GraphViewState {
    int showTemp = 1;
    int showHumi = 0;
    int autoscale = 0;
    int zoomDivisor = 1;
    int firstSample = 0;
    int clickX = 0;
    int clickY = 0;
    int cursorTempSample = 0;
    int cursorHumiSample = 0;
    int keySample = -1; // sample the arrow keys put the cursor on; -1: the cursor follows the click
    // The selected time range, shaded behind the curves while the selection is on.
    bool selectionShown = false;
    time64 selectionFrom = 0;
    time64 selectionTo = 0;
};

// Levels of the value axes: four steps between the bottom and the top level.
constexpr int kValueIntervals = 4;

// Everything one frame computes: the vertices and the samples behind them,
// the axes with their round scales, the time axis, the limit positions, the
// selected range and the cursor.
struct GraphPoints {
    void Allocate(int capacity);

    int sampleCount = 0;
    VisibleRange visible;
    int pointCount = 0;
    std::vector<QPoint> temp, humi;
    std::vector<int> tempIdx, humiIdx, columnOf;
    float tempMax = 0, tempMin = 0, humiMax = 0, humiMin = 0;
    ValueAxis tempAxis, humiAxis;         // the value maps, in degrees C and %RH
    ValueScale tempScale, humiScale;      // their levels, temperature in the unit shown
    TimeSpan timeSpan;                    // times of the plot's columns; empty without times
    TimeAxisTicks timeTicks;
    int bandLeft = 0, bandRight = -1;     // columns of the selected range; none when right < left
    float tempHighY = 0, tempLowY = 0, humiHighY = 0, humiLowY = 0;
    int cursorSample = 0;
};

// Decimates the visible samples and maps them, the value scales, the limits
// and the selected range to pixels. The value axes are round scales that
// cover the visible samples (autoscale) or the whole record, temperature
// round in unit. Nothing is computed for a record without samples. While a
// download is incomplete the fixed axes span the samples received so far.
void ComputeGraphPoints(const CLoggerRecord& record, const GraphViewState& state, const GraphGeometry& g,
                        TempUnit unit, GraphPoints& points);

// Draws one frame (grid, selected range, value and time labels, limits with
// their values, cursor, curves) into image, which
// must be bitmapWidth x bitmapHeight, temperatures in unit. Updates the
// cursor samples of state.
void DrawGraphFrame(QImage& image, const CLoggerRecord& record, GraphViewState& state, const GraphGeometry& g,
                    GraphPoints& points, const QFont& scaleFont, TempUnit unit);

// The sample the cursor stands on: the arrow keys' sample, else the one
// under the last click.
int CursorSample(const GraphViewState& state, const GraphGeometry& g, const GraphPoints& points);

// Readout of the cursor sample: time, then three blanks and the value when
// it lies strictly between -1000 and 1000. Temperature in unit.
QString TempReadout(const CLoggerRecord& record, int sample, TempUnit unit);
QString HumiReadout(const CLoggerRecord& record, int sample);

// The value at the right end of a limit line: temperature in unit.
QString TempLimitText(float celsius, TempUnit unit);
QString HumiLimitText(float humidity);

// "Arial", 14 pixels high, never scaled.
QFont GraphScaleFont();
