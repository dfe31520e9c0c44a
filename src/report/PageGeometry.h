#pragma once

// The arithmetic of the report pages, as plain functions: millimetres to
// device pixels, the chart point budget and buckets, text-page rows, the
// printer scale.

// trunc(mm x f x pixels per mm).
int MmToPx(double mm, float f, double pxPerMm);
double PxPerMm(int dpi);

// The width of a 240 mm chart on a display of dpi: the point budget of every chart.
int ScreenPlotWidth(int dpi);

// A GDI font height (negative: character height) of points x f at dpiY,
// with denominator 72 for points or 96 for pixels of a 96 dpi screen.
int FontHeight(int points, float f, int dpiY, int denominator);

// How the samples of a range are spread over the charts of the curve pages.
struct ChartGeometry {
    int spc = 0;        // samples per chart
    int cap = 0;        // point budget of a chart (odd, or spc + 1)
    double bucket = 1;  // samples per bucket
    double xStep = 0;   // pixels between points
    double labelStep = 0; // points between time labels
};
ChartGeometry ComputeChartGeometry(int rangeCount, int totalPages, int plotWidth, int chartWidthPx);

// Text pages: one summary page, then tables of rowsPerPage samples.
int TextPageCount(int rangeCount, int rowsPerPage = 60);
struct TablePageRows {
    int before = 0; // samples on earlier table pages
    int rows = 0;   // rows on this page
};
// The rows of table page (2 or later).
TablePageRows TableRows(int page, int rowsPerPage, int rangeCount);

// The grey of table row i (1-based): 245 .. 254.
int RowGrey(int row);

// The scale that fits a page designed at wMm x hMm (less the margins) into a
// printable area of a x b millimetres: min(a / w, b / h).
float PrintScale(double aMm, double bMm, bool landscape);
