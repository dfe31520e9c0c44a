// Page arithmetic and the report range.
#include "support/MissionRecord.h"
#include "support/ScopedTz.h"

#include "report/PageGeometry.h"
#include "report/ReportRange.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(PageGeometry, ChartBudgetAndBuckets)
{
    ASSERT_EQ(ScreenPlotWidth(96), 907);
    struct Case {
        int count, pages, plotWidth;
        int spc, cap;
        double bucket;
    } const cases[] = {
        {1800, 1, 907, 601, 602, 1},        // odd budget equal to spc: one more
        {60000, 1, 907, 20001, 907, 2.0 * 20001 / 907},
        {10, 5, 907, 1, 2, 1},
        {0, 1, 907, 1, 2, 1},
        {60000, 1, ScreenPlotWidth(192), 20001, 1815, 2.0 * 20001 / 1814}, // past 1000 points
    };
    for (const Case& c : cases) {
        const ChartGeometry g = ComputeChartGeometry(c.count, c.pages, c.plotWidth, 907);
        EXPECT_EQ(g.spc, c.spc) << c.count;
        EXPECT_EQ(g.cap, c.cap) << c.count;
        EXPECT_DOUBLE_EQ(g.bucket, c.bucket) << c.count;
        EXPECT_DOUBLE_EQ(g.xStep, 907.0 / (c.cap - 1)) << c.count;
    }
}

TEST(PageGeometry, TextPagesRowsAndGreys)
{
    EXPECT_EQ(TextPageCount(121), 4);
    EXPECT_EQ(TextPageCount(120), 3);
    EXPECT_EQ(TextPageCount(0), 1);
    EXPECT_EQ(TableRows(3, 60, 121).before, 60);
    EXPECT_EQ(TableRows(3, 60, 121).rows, 60);
    EXPECT_EQ(TableRows(4, 60, 121).rows, 1);
    EXPECT_EQ(TableRows(3, 60, 120).rows, 60);
    const std::pair<int, int> greys[] = {{1, 246}, {10, 245}, {11, 246}, {19, 254}, {20, 245}};
    for (auto [row, grey] : greys)
        EXPECT_EQ(RowGrey(row), grey) << row;
}

TEST(PageGeometry, PrinterScaleAndFonts)
{
    // 600 dpi, 6814 x 4760 pixels printable: the width decides.
    const double a = 6814 * 25.4 / 600, b = 4760 * 25.4 / 600;
    EXPECT_NEAR(PrintScale(a, b, true), 288.46 / 284.3, 1e-4);
    EXPECT_NEAR(PrintScale(b, a, false), 288.46 / 284.3, 1e-4);
    EXPECT_NEAR(PrintScale(210 - 8, 297 - 8, false), 289 / 284.3, 1e-4); // A4: the height decides
    EXPECT_EQ(FontHeight(9, 1, 96, 72), -12);
    EXPECT_EQ(FontHeight(12, 1, 96, 72), -16);
    EXPECT_EQ(FontHeight(12, 1, 600, 96), -75);
    EXPECT_EQ(MmToPx(290, 1, PxPerMm(96)), 1096);
}

class Range : public ::testing::Test {
protected:
    CLoggerRecord r;
    ScopedTz m_tz{"UTC"};
};

TEST_F(Range, StartBetweenSamplesTakesTheEarlierAndClamps)
{
    MakeMission(r, 4, 10, 600);
    const float temps[] = {5, 9, 3, 4, 4, 6, 2, 8, 7, 5};
    std::copy(std::begin(temps), std::end(temps), r.m_fTempShown.begin());
    const time64 t = r.m_tStart;
    ReportRange g;
    ASSERT_TRUE(SelectRange(r, t + 650, t + 1799, g));
    EXPECT_EQ(g.first, 1);
    EXPECT_EQ(g.last, 2);
    EXPECT_EQ(g.count, 2);
    EXPECT_EQ(g.start, t + 600);
    EXPECT_EQ(g.maxT, 9);
    EXPECT_EQ(g.minT, 3);
    EXPECT_FLOAT_EQ(g.avgT, 6);
    EXPECT_GT(g.mkt, 3);

    ASSERT_TRUE(SelectRange(r, t - 5000, t + 99999, g));
    EXPECT_EQ(g.first, 0);
    EXPECT_EQ(g.count, 10);
    EXPECT_EQ(g.end, r.m_tStop);

    const ReportRange before = g;
    EXPECT_FALSE(SelectRange(r, t + 1200, t + 600, g));
    EXPECT_EQ(g.count, before.count);
    EXPECT_FALSE(SelectRange(r, r.m_tStop + 1, t + 99999, g));

    ASSERT_TRUE(SelectRange(r, t + 1800, t + 1800, g));
    EXPECT_EQ(g.count, 1);
    EXPECT_EQ(g.mkt, 0);
    EXPECT_EQ(g.maxT, g.minT);
}

TEST_F(Range, NoSamplesNoRange)
{
    MakeMission(r, 1, 5);
    r.m_nReceived = 0;
    ReportRange g;
    ASSERT_TRUE(SelectRange(r, r.m_tStart, r.m_tStop, g));
    EXPECT_EQ(g.count, 0);
    // Terms never computed: no MKT rather than a logarithm of zero.
    MakeMission(r, 1, 5);
    std::fill(r.m_dMktTerm.begin(), r.m_dMktTerm.begin() + 5, 0.0);
    ASSERT_TRUE(SelectRange(r, r.m_tStart, r.m_tStop, g));
    EXPECT_EQ(g.mkt, 0);
}

} // namespace
