#pragma once

#include <vector>

// Widths for a list's columns that together fill `available` pixels: each
// column gets a share in proportion to the width it asks for, so spare room
// is spread out and a shortfall is taken from every column alike. The widths
// add up to exactly `available` (the last column takes the rounding); an
// empty request or no room gives no widths or zero widths.
std::vector<int> FitColumns(const std::vector<int>& wanted, int available);
