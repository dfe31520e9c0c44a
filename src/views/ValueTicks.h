#pragma once

#include <QString>

// Round value scales for the graph's value axes: `intervals` equal steps of
// 1, 2, 2.5 or 5 x 10^n from a multiple of the step (or, for steps of 1 and
// 2 x 10^n, of half the step), so every level line carries a round number.
struct ValueScale {
    double minimum = 0; // value at the bottom level
    double step = 1;    // value between neighbouring levels
    int decimals = 0;   // digits after the point that show every level exactly

    double Maximum(int intervals) const { return minimum + intervals * step; }
    double Level(int k) const { return minimum + k * step; }
};

// The scale with the smallest round step whose `intervals` steps cover
// low .. high; a start on the step's multiples before one on half steps. A flat range (high not above low) is widened by one unit on
// each side; a range that is not finite becomes -1 .. 1.
ValueScale ChooseValueScale(double low, double high, int intervals);

// Level k of the scale as text with the scale's decimals ("12.5", "-5", "0.25").
QString ValueScaleText(const ValueScale& scale, int k);
