#pragma once

#include "record/TimeTicks.h"
#include "views/OverlayMath.h"

#include <QString>
#include <vector>

// One tick of the overlay's time axis.
struct OverlayTick {
    int column = 0; // pixel column from the plot's left edge
    QString text;   // one or two lines, centred in its box; empty: a grid line only
    int left = 0;   // the text's box: its left column and width
    int width = 0;
};

// The ticks of the overlay's time axis for the view shown on columns pixel
// columns. Clock: round local times chosen as for one record's graph, so
// they stay on whole local hours and midnights across a daylight-saving
// change, labelled "HH:mm" and dated on the first and each new day. Elapsed:
// steps of 1, 2, 5, 10, 15, 30 minutes, 1, 2, 3, 6, 12 hours, 1, 2, 7, 14,
// 28 days and on from the missions' starts, at least minPixels apart,
// labelled "HH:mm" with "+N d" below once past the first day.
std::vector<OverlayTick> OverlayTimeTicks(const AxisSpan& view, OverlayTime mode, int columns,
                                          const TextWidth& width, int minPixels);
