#include "views/ColumnFit.h"

#include <gtest/gtest.h>

TEST(ColumnFit, SharesTheWidthInProportion)
{
    struct Case {
        std::vector<int> wanted;
        int available;
        std::vector<int> widths;
    };
    const Case cases[] = {
        {{45, 110, 80, 75}, 310, {45, 110, 80, 75}}, // exactly enough
        {{45, 110, 80, 75}, 279, {40, 99, 72, 68}},  // too little: every column gives
        {{45, 110, 80}, 470, {90, 220, 160}},        // spare room spread out
        {{10, 10, 10}, 100, {33, 33, 34}},           // the last column takes the rounding
        {{50}, 37, {37}},
        {{0, 20}, 40, {0, 40}},
        {{-5, 10}, 20, {0, 20}},
        {{}, 100, {}},
        {{10, 10}, 0, {0, 0}},
        {{0, 0}, 50, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitColumns(c.wanted, c.available), c.widths) << c.available;
}
