#include "views/GraphMath.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Series {
    std::vector<float> temp, humi;
    std::vector<int> tIdx = std::vector<int>(495), hIdx = std::vector<int>(495);
    explicit Series(int n, float (*f)(int)) : temp(n), humi(n)
    {
        for (int i = 0; i < n; ++i) {
            temp[i] = f(i);
            humi[i] = 50.0f + f(i);
        }
    }
    int Decimate(int zoom, int first = 0)
    {
        const DecimationPlan plan = PlanDecimation(static_cast<int>(temp.size()), zoom, 490);
        return DecimateSlots(temp.data(), humi.data(), static_cast<int>(temp.size()), first, plan, 495,
                             tIdx.data(), hIdx.data());
    }
};

float Wave(int i) { return static_cast<float>((i * 7919) % 1000) / 10.0f; }
float Flat(int) { return 21.5f; }

} // namespace

TEST(GraphDecimation, PlansStrideAndPixelStep)
{
    struct Case { int count, zoom, per, stride, step, maxPoints; };
    const Case cases[] = {
        {60000, 1, 60000, 245, 1, 492},
        {100, 1, 100, 2, 4, 124},
        {1000, 1, 1000, 5, 1, 492},
        {1000, 4, 250, 2, 1, 492},
        {490, 1, 490, 3, 1, 492},
        {1, 1, 1, 2, 490, 3},
        {0, 1, 0, 2, 1, 492},
        {1000, 1000, 1, 2, 490, 3},
    };
    for (const Case& c : cases) {
        const DecimationPlan p = PlanDecimation(c.count, c.zoom, 490);
        EXPECT_EQ(p.per, c.per) << c.count << "/" << c.zoom;
        EXPECT_EQ(p.stride, c.stride) << c.count << "/" << c.zoom;
        EXPECT_EQ(p.pixelStep, c.step) << c.count << "/" << c.zoom;
        EXPECT_EQ(p.maxPoints, c.maxPoints) << c.count << "/" << c.zoom;
    }
}

TEST(GraphDecimation, SixtyThousandSamplesKeepEachBucketsExtremesInTimeOrder)
{
    Series s(60000, Wave);
    const int n = s.Decimate(1);
    EXPECT_EQ(n, 490);
    for (int b = 0; b < 245; ++b) {
        const int first = b * 245;
        const int end = std::min(first + 245, 60000);
        int maxI = first, minI = first;
        for (int j = first; j < end; ++j) {
            if (s.temp[j] > s.temp[maxI]) maxI = j;
            if (s.temp[j] <= s.temp[minI]) minI = j;
        }
        ASSERT_EQ(s.tIdx[2 * b], std::min(maxI, minI)) << b;
        ASSERT_EQ(s.tIdx[2 * b + 1], std::max(maxI, minI)) << b;
    }
}

TEST(GraphDecimation, HundredSamplesBecomeEveryVertex)
{
    Series s(100, Wave);
    ASSERT_EQ(s.Decimate(1), 100);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(s.tIdx[i], i);
}

TEST(GraphDecimation, EqualBucketGivesFirstAndLastSample)
{
    Series s(60000, Flat);
    ASSERT_EQ(s.Decimate(1), 490);
    EXPECT_EQ(s.tIdx[0], 0);
    EXPECT_EQ(s.tIdx[1], 244);
    EXPECT_EQ(s.hIdx[2], 245);
    EXPECT_EQ(s.hIdx[3], 489);
}

TEST(GraphDecimation, HumiditySlotsRepeatAnIndexWhenItsExtremesCoincide)
{
    // One-sample last bucket: both arrays get the same index, humidity twice.
    Series s(101, Wave);
    const int n = s.Decimate(1);
    EXPECT_EQ(n, 101);
    EXPECT_EQ(s.tIdx[100], 100);
    EXPECT_EQ(s.hIdx[100], 100);
    EXPECT_EQ(s.hIdx[101], 100);
}

TEST(GraphDecimation, FirstSampleNearTheEndLeavesThePlotMostlyEmpty)
{
    Series s(1000, Wave);
    EXPECT_EQ(s.Decimate(1, 990), 4); // two buckets of 5
    EXPECT_EQ(s.Decimate(1, 1000), 0);
}

TEST(GraphDecimation, NeverWritesBeyondCapacity)
{
    std::vector<float> v(60000);
    for (int i = 0; i < 60000; ++i)
        v[i] = static_cast<float>(i % 2);
    std::vector<int> t(10, -1), h(10, -1);
    const DecimationPlan plan = PlanDecimation(60000, 1, 490);
    EXPECT_LE(DecimateSlots(v.data(), v.data(), 60000, 0, plan, 10, t.data(), h.data()), 10);
}

TEST(GraphAxis, TicksSpanTheRangeBottomToTop)
{
    const ValueAxis a = MakeAxis(10.0f, 30.0f, 200.0f);
    const float expected[] = {10.0f, 15.0f, 20.0f, 25.0f, 30.0f};
    for (int k = 0; k < 5; ++k)
        EXPECT_FLOAT_EQ(TickValue(a, k, 50.0f), expected[k]);
    EXPECT_EQ(ValueToY(a, 10.0f, 225), 225);
    EXPECT_EQ(ValueToY(a, 30.0f, 225), 25);
    EXPECT_EQ(ValueToY(a, 20.0f, 225), 125);
}

TEST(GraphAxis, FlatOrInvertedRangeGetsASpan)
{
    for (const auto& [lo, hi] : {std::pair{21.5f, 21.5f}, std::pair{5.0f, 3.0f}}) {
        const ValueAxis a = MakeAxis(lo, hi, 200.0f);
        EXPECT_GT(a.unitsPerPixel, 0.0f);
        EXPECT_EQ(ValueToY(a, lo, 225), 125) << lo;
        EXPECT_FLOAT_EQ(TickValue(a, 0, 50.0f), lo - 1.0f);
        EXPECT_FLOAT_EQ(TickValue(a, 4, 50.0f), lo + 1.0f);
    }
}

TEST(GraphAxis, ExtremeValuesSaturateInsteadOfOverflowing)
{
    const ValueAxis a = MakeAxis(0.0f, 0.001f, 200.0f);
    EXPECT_EQ(ValueToY(a, -1.0e30f, 225), 1000000000);
    EXPECT_EQ(ValueToY(a, 1.0e30f, 225), -1000000000);
}

TEST(GraphLimits, InsideTheBandOrFivePixelsOutside)
{
    const ValueAxis a = MakeAxis(10.0f, 30.0f, 200.0f);
    struct Case { float limit, y; };
    const Case cases[] = {{25.0f, 75.0f}, {10.0f, 225.0f}, {30.0f, 25.0f}, {40.0f, 20.0f}, {-5.0f, 230.0f}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(LimitPosition(a, c.limit, 25, 225), c.y) << c.limit;
}

TEST(GraphCursor, NearestSlotWithinThePoints)
{
    struct Case { int clickX, step, points, slot; };
    const Case cases[] = {
        {0, 1, 490, 0},     // before the first click
        {60, 4, 100, 0},
        {62, 4, 100, 0},    // 0.5 rounds down
        {63, 4, 100, 1},
        {120, 4, 100, 15},
        {549, 1, 490, 489},
        {549, 4, 10, 9},    // beyond the last point
    };
    for (const Case& c : cases)
        EXPECT_EQ(CursorSlot(c.clickX, 60.0f, c.step, c.points), c.slot) << c.clickX;
}

TEST(GraphGeometry, ScalesEveryLength)
{
    const GraphGeometry g = GraphGeometry::AtScale(1.5f);
    EXPECT_FLOAT_EQ(g.bitmapWidth, 825.0f);
    EXPECT_FLOAT_EQ(g.plotWidth, 735.0f);
    EXPECT_EQ(g.topLevel, 37);
    EXPECT_EQ(g.bottomLevel, 337);
    EXPECT_EQ(g.pointCapacity, 742);
}
