#pragma once

#include <QColor>

// Colours of the graph page. Curves and limit lines keep the bright channel
// colours; every text uses a darker shade of its channel that reads on its
// background with a contrast of at least 4.5 : 1.
namespace GraphPalette {

inline const QColor kPlot(255, 255, 255);
inline const QColor kStrip(200, 200, 255);      // value label strip left of the plot
inline const QColor kSelection(214, 222, 236);  // the selected time range behind the curves
inline const QColor kTimeGrid(225, 225, 225);   // vertical lines at the time ticks
inline const QColor kDayGrid(165, 165, 165);    // ... where a new day begins
inline const QColor kCursor(82, 105, 118);
inline const QColor kTempCurve(255, 60, 60);
inline const QColor kHumiCurve(200, 130, 50);
inline const QColor kTempText(168, 16, 16);     // value labels, limit values, unit label
inline const QColor kHumiText(132, 66, 0);
inline const QColor kTimeText(0, 0, 0);

} // namespace GraphPalette
