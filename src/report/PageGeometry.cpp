#include "report/PageGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

int MmToPx(double mm, float f, double pxPerMm)
{
    return static_cast<int>(mm * static_cast<double>(f) * pxPerMm);
}

double PxPerMm(int dpi)
{
    return dpi * 10.0 / 254.0;
}

int ScreenPlotWidth(int dpi)
{
    return dpi * 240 * 10 / 254;
}

int FontHeight(int points, float f, int dpiY, int denominator)
{
    // MulDiv: the product over the denominator, rounded half away from zero.
    const long long n = static_cast<long long>(static_cast<int>(static_cast<float>(points) * f)) * dpiY;
    const long long q = (std::llabs(n) + denominator / 2) / denominator;
    return -static_cast<int>(n < 0 ? -q : q);
}

ChartGeometry ComputeChartGeometry(int rangeCount, int totalPages, int plotWidth, int chartWidthPx)
{
    ChartGeometry g;
    g.spc = rangeCount / (3 * std::max(1, totalPages)) + 1;
    const double ratio = plotWidth > 0 ? 2.0 * g.spc / plotWidth : 0;
    if (ratio >= 2) {
        g.cap = plotWidth;
        g.bucket = ratio;
    } else {
        g.cap = g.spc;
        g.bucket = 1;
    }
    g.cap = (g.cap / 2) * 2 + 1;
    if (g.cap == g.spc)
        ++g.cap;
    g.xStep = g.cap >= 2 ? static_cast<double>(chartWidthPx) / (g.cap - 1) : 0;
    g.labelStep = g.cap / 6.0;
    return g;
}

int TextPageCount(int rangeCount, int rowsPerPage)
{
    return rangeCount / rowsPerPage + 1 + (rangeCount % rowsPerPage > 0 ? 1 : 0);
}

TablePageRows TableRows(int page, int rowsPerPage, int rangeCount)
{
    TablePageRows t;
    t.before = rowsPerPage * (page - 2);
    t.rows = (page - 1) * rowsPerPage > rangeCount ? rangeCount - t.before : rowsPerPage;
    t.rows = std::clamp(t.rows, 0, std::max(0, rangeCount - t.before));
    return t;
}

int RowGrey(int row)
{
    return 245 + row % 10;
}

float PrintScale(double aMm, double bMm, bool landscape)
{
    const double w = landscape ? 284.3 : 197.3;
    const double h = landscape ? 197.3 : 284.3;
    return static_cast<float>(std::min(aMm / w, bMm / h));
}
