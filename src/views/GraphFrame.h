#pragma once

#include "base/DisplaySettings.h"
#include "views/GraphMath.h"

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
};

// Everything one frame computes: the vertices and the samples behind them,
// the axes with their tick values, the limit positions and the cursor.
struct GraphPoints {
    void Allocate(int capacity);

    int sampleCount = 0;
    VisibleRange visible;
    int pointCount = 0;
    std::vector<QPoint> temp, humi;
    std::vector<int> tempIdx, humiIdx, columnOf;
    float tempMax = 0, tempMin = 0, humiMax = 0, humiMin = 0;
    ValueAxis tempAxis, humiAxis;
    float tempTicks[5] = {};
    float humiTicks[5] = {};
    float tempHighY = 0, tempLowY = 0, humiHighY = 0, humiLowY = 0;
    int cursorSample = 0;
};

// Decimates the visible samples and maps them, the ticks and the limits to
// pixels. Nothing is computed for a record without samples. While a
// download is incomplete the fixed axes span the samples received so far.
void ComputeGraphPoints(const CLoggerRecord& record, const GraphViewState& state, const GraphGeometry& g,
                        GraphPoints& points);

// Draws one frame (grid, labels, limits, cursor, curves) into image, which
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

// Scale label texts: temperature in unit, humidity as is.
QString TempTickText(float celsius, TempUnit unit);
QString HumiTickText(float humidity);

// "Arial", 14 pixels high, never scaled.
QFont GraphScaleFont();
