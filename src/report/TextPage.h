#pragma once

#include "report/PageGeometry.h"
#include "report/ReportRange.h"
#include "report/Surface.h"

// The pixel lengths of a portrait text page (200 x 290 mm) on one device.
struct TextLayout {
    float f = 1;
    double ppmX = 0, ppmY = 0;
    int rowsPerPage = 60;
    int pageWidth = 0, pageHeight = 0;
    int rowHeight = 0;
    FontSpec pageFont;  // 12 points
    FontSpec tableFont; // 12 pixels of a 96 dpi screen

    int X(double mm) const { return MmToPx(mm, f, ppmX); }
    int Y(double mm) const { return MmToPx(mm, f, ppmY); }
};

TextLayout ComputeTextLayout(int dpiX, int dpiY, float f, int rowsPerPage = 60);

// Page 1: the summary of the logger and the range; later pages: the table.
// Every page carries data.fingerprint in its top band, when there is one.
void DrawTextPage(ISurface& surface, const TextLayout& layout, const ReportData& data, int page);
