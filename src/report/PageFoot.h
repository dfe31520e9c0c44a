#pragma once

#include "report/ReportRange.h"
#include "report/Surface.h"

// The line every printed page carries: the fingerprint of the record's data
// file (when there is one) at x, y, and the time zone of the page's times
// after it, or on the next line when it would reach past right.
void FootLine(ISurface& s, const FontSpec& font, int x, int y, int right, const ReportData& d);
