#pragma once

#include "report/PageGeometry.h"
#include "report/ReportRange.h"
#include "report/Surface.h"

#include <QVector>

// The pixel lengths of a landscape curve page (290 x 200 mm) on one device.
struct CurveLayout {
    float f = 1;
    double ppmX = 0, ppmY = 0;  // pixels per millimetre
    int pageWidth = 0, pageHeight = 0;
    double tempScale = 0;       // pixels per degree C; 0 for a flat range
    double humiScale = 0;       // pixels per %RH
    // Device pixels per pixel of the preview page: pens (and with them the
    // dots of the grid) grow by it, so a page printed at a higher resolution
    // keeps the preview's line weights.
    double penScale = 1;
    FontSpec font;

    int X(double mm) const { return MmToPx(mm, f, ppmX); }
    int Y(double mm) const { return MmToPx(mm, f, ppmY); }
    double RealY(double mm) const { return mm * static_cast<double>(f) * ppmY; }
    // pen, given in pixels of the preview, for this device.
    Pen Scaled(Pen pen) const;
};

// previewChartWidth is the width in pixels of a chart in the preview (the
// screen's point budget); 0 when the layout is the preview's own.
CurveLayout ComputeCurveLayout(int dpiX, int dpiY, float f, const ReportRange& range, int previewChartWidth = 0);

// The points of one chart: sample indices of both series in time order.
struct ChartPoints {
    QVector<int> temp;
    QVector<int> humi;
    int count = 0;
};
// The points of chart (0-based over all pages) for the range of data.
ChartPoints BuildChartPoints(const ReportData& data, const ChartGeometry& g, int chart);

// Page page (1-based) of data.totalPages: header table, three charts, page
// number and, when there is one, data.fingerprint at the foot.
void DrawCurvePage(ISurface& surface, const CurveLayout& layout, const ReportData& data, int page);
