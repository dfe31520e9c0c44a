#include "views/GraphMath.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

float Wave(int i) { return static_cast<float>((i * 7919) % 1000) / 10.0f; }
float Flat(int) { return 21.5f; }

struct Series {
    std::vector<float> temp, humi;
    std::vector<int> tIdx, hIdx, col;
    VisibleRange v;
    int n = 0;
    Series(int count, float (*f)(int)) : temp(count), humi(count)
    {
        for (int i = 0; i < count; ++i) {
            temp[i] = f(i);
            humi[i] = f(count - 1 - i) + 20.0f;
        }
    }
    int Decimate(int zoom, int first = 0, int columns = 490)
    {
        const int capacity = 2 * columns + 2;
        tIdx.assign(capacity, -1);
        hIdx.assign(capacity, -1);
        col.assign(capacity, -1);
        v = PlanVisible(static_cast<int>(temp.size()), zoom, first, columns);
        n = DecimateColumns(temp.data(), humi.data(), v, capacity, tIdx.data(), hIdx.data(), col.data());
        return n;
    }
};

// Every column's maximum and minimum of one series appear among its points,
// and each point lies on its sample's own column.
void ExpectColumnExtremesKept(const Series& s, const std::vector<float>& values, const std::vector<int>& idx)
{
    std::map<int, std::pair<float, float>> truth, drawn;
    for (int i = s.v.first; i <= s.v.last; ++i) {
        const int c = ColumnOfSample(s.v, i);
        auto [it, fresh] = truth.try_emplace(c, values[i], values[i]);
        it->second = {std::max(it->second.first, values[i]), std::min(it->second.second, values[i])};
    }
    for (int j = 0; j < s.n; ++j) {
        ASSERT_EQ(ColumnOfSample(s.v, idx[j]), s.col[j]) << j;
        const float value = values[idx[j]];
        auto [it, fresh] = drawn.try_emplace(s.col[j], value, value);
        it->second = {std::max(it->second.first, value), std::min(it->second.second, value)};
    }
    ASSERT_EQ(drawn, truth);
}

} // namespace

TEST(GraphVisibleRange, SpansTheZoomedShareOfTheRecord)
{
    struct Case { int count, zoom, first, expectFirst, last, span; };
    const Case cases[] = {
        {145, 1, 0, 0, 144, 144},
        {60000, 1, 0, 0, 59999, 59999},
        {1000, 4, 100, 100, 349, 249},
        {1000, 1000, 10, 10, 11, 1},    // one sample per view: it and the next
        {1000, 2, 900, 900, 999, 499},  // near the end: the right part stays empty
        {1, 1, 0, 0, 0, 1},
        {10, 1, -3, 0, 9, 9},
        {0, 1, 0, 0, -1, 1},
    };
    for (const Case& c : cases) {
        const VisibleRange v = PlanVisible(c.count, c.zoom, c.first, 490);
        EXPECT_EQ(v.first, c.expectFirst) << c.count << "/" << c.zoom;
        EXPECT_EQ(v.last, c.last) << c.count << "/" << c.zoom;
        EXPECT_EQ(v.span, c.span) << c.count << "/" << c.zoom;
    }
}

// The mended fault: the curve used to stop at 91 % of the width for 145
// samples, 77 % at a small screen's scale; now the last sample of a full view
// is on the right column at every count, zoom and plot width.
TEST(GraphDecimation, FillsTheWidthAndKeepsEachColumnsExtremesAtEveryZoom)
{
    for (const int columns : {490, 343, 980}) {
        for (const int count : {1, 2, 3, 145, 489, 490, 491, 980, 1000, 7777, 60000}) {
            Series s(count, Wave);
            for (int zoom = 1;; zoom = ZoomedIn(zoom, count)) {
                for (const int first : {0, count / 3}) {
                    SCOPED_TRACE(testing::Message() << columns << " columns, " << count << " samples, zoom " << zoom
                                                    << ", first " << first);
                    const int n = s.Decimate(zoom, first, columns);
                    ASSERT_GT(n, 0);
                    EXPECT_EQ(s.col[0], 0);
                    if (s.v.last == s.v.first + s.v.span) {
                        EXPECT_EQ(s.col[n - 1], columns - 1);
                    }
                    for (int j = 1; j < n; ++j) {
                        ASSERT_LT(s.tIdx[j - 1], s.tIdx[j]);
                        ASSERT_LE(s.col[j - 1], s.col[j]);
                        ASSERT_FALSE(j >= 2 && s.col[j - 2] == s.col[j]) << "three points on column " << s.col[j];
                    }
                    ExpectColumnExtremesKept(s, s.temp, s.tIdx);
                    ExpectColumnExtremesKept(s, s.humi, s.hIdx);
                }
                if (zoom == count)
                    break;
            }
        }
    }
}

TEST(GraphDecimation, ZoomedInEverySampleIsItsOwnPoint)
{
    Series s(100, Wave);
    ASSERT_EQ(s.Decimate(1), 100);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(s.tIdx[i], i);
        EXPECT_EQ(s.col[i], (i * 489 * 2 + 99) / 198) << i; // rounded i * 489 / 99
    }
}

TEST(GraphDecimation, EqualColumnGivesItsFirstAndLastSample)
{
    Series s(60000, Flat);
    const int n = s.Decimate(1);
    EXPECT_EQ(n, 980);
    EXPECT_EQ(s.tIdx[0], 0);
    EXPECT_EQ(s.tIdx[1], s.tIdx[2] - 1);
    EXPECT_EQ(s.col[1], 0);
    EXPECT_EQ(s.tIdx[n - 1], 59999);
}

TEST(GraphDecimation, NeverWritesBeyondCapacity)
{
    Series s(60000, Wave);
    std::vector<int> t(10, -1), h(10, -1), c(10, -1);
    const VisibleRange v = PlanVisible(60000, 1, 0, 490);
    EXPECT_EQ(DecimateColumns(s.temp.data(), s.humi.data(), v, 10, t.data(), h.data(), c.data()), 10);
    EXPECT_EQ(DecimateColumns(s.temp.data(), s.humi.data(), PlanVisible(0, 1, 0, 490), 10, t.data(), h.data(),
                              c.data()),
              0);
}

TEST(GraphZoom, DoublesAndHalvesWithinOneAndTheSampleCount)
{
    std::vector<int> in{1};
    while (in.back() != 1000)
        in.push_back(ZoomedIn(in.back(), 1000));
    EXPECT_EQ(in, (std::vector<int>{1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1000}));
    std::vector<int> out{1000};
    for (int k = 0; k < 11; ++k)
        out.push_back(ZoomedOut(out.back(), 1000));
    EXPECT_EQ(out, (std::vector<int>{1000, 500, 250, 125, 62, 31, 15, 7, 3, 1, 1, 1}));
    EXPECT_EQ(ZoomedIn(1, 0), 1);
    EXPECT_EQ(ZoomedIn(1, 1), 1);
}

TEST(GraphCursor, ClickColumnGivesTheNearestVisibleSample)
{
    struct Case { int count, zoom, first, column, sample; };
    const Case cases[] = {
        {100, 1, 0, -60, 0},     // before the first click: the first sample
        {100, 1, 0, 0, 0},
        {100, 1, 0, 2, 0},       // samples ~4.94 pixels apart
        {100, 1, 0, 3, 1},
        {100, 1, 0, 489, 99},
        {100, 1, 0, 900, 99},    // right of the plot
        {60000, 1, 0, 489, 59999},
        {60000, 1, 0, 245, 30061},
        {1000, 4, 500, 0, 500},
        {1000, 2, 900, 489, 999}, // beyond the record's end: its last sample
    };
    for (const Case& c : cases) {
        const VisibleRange v = PlanVisible(c.count, c.zoom, c.first, 490);
        const int sample = SampleAtColumn(v, c.column);
        EXPECT_EQ(sample, c.sample) << c.count << " column " << c.column;
        if (c.column >= 0 && c.column < 490 && sample < v.last) {
            EXPECT_LE(std::abs(ColumnOfSample(v, sample) - c.column), (489 + v.span - 1) / v.span) << c.column;
        }
    }
}

TEST(GraphZoom, WheelZoomKeepsTheSampleUnderThePointer)
{
    constexpr int kAny = -1;
    struct Case { int count, zoom, first, column; bool in; int expectFirst; };
    const Case cases[] = {
        {60000, 1, 0, 245, true, kAny},
        {60000, 4, 20000, 100, true, kAny},
        {60000, 4, 20000, 400, false, kAny},
        {60000, 2, 15030, 245, false, 0},     // back out to zoom 1: the whole record
        {60000, 1, 0, 0, true, 0},            // left edge stays at the left
        {60000, 1, 0, 489, true, 30000},      // right edge stays at the right
        {1000, 64, 400, 300, true, kAny},     // zoomed in: samples 64 pixels apart
    };
    for (const Case& c : cases) {
        const VisibleRange before = PlanVisible(c.count, c.zoom, c.first, 490);
        const int anchor = SampleAtColumn(before, c.column);
        const int zoom = c.in ? ZoomedIn(c.zoom, c.count) : ZoomedOut(c.zoom, c.count);
        const int first = FirstSampleKeeping(anchor, c.column, c.count, zoom, 490);
        if (c.expectFirst != kAny) {
            EXPECT_EQ(first, c.expectFirst) << c.count << "/" << c.zoom << " at " << c.column;
        }
        const VisibleRange after = PlanVisible(c.count, zoom, first, 490);
        // Zoomed out the anchor keeps its column; zoomed in it stays the
        // sample nearest to the pointer.
        EXPECT_TRUE(ColumnOfSample(after, anchor) == c.column || SampleAtColumn(after, c.column) == anchor)
            << c.count << "/" << c.zoom << " at " << c.column;
    }
}

TEST(GraphPan, DragMovesTheViewBySamplesPerPixelWithinTheRecord)
{
    struct Case { int count, zoom, first, dx, expectFirst; };
    const Case cases[] = {
        {1000, 4, 300, -489, 549}, // a whole width to the left: one span later
        {1000, 4, 300, 489, 51},
        {1000, 4, 300, 2000, 0},
        {1000, 4, 300, -5000, 750}, // the last full view
        {1000, 1, 0, -100, 0},      // whole record: nowhere to go
        {1000, 4, 900, -10, 900},   // already past the last full view: stays
    };
    for (const Case& c : cases)
        EXPECT_EQ(FirstSampleAfterPan(PlanVisible(c.count, c.zoom, c.first, 490), c.dx, c.count), c.expectFirst)
            << c.first << " by " << c.dx;
}

TEST(GraphAxis, MapsTheRangeOntoTheLevels)
{
    const ValueAxis a = MakeAxis(10.0f, 30.0f, 200.0f);
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
        EXPECT_FLOAT_EQ(a.minimum, lo - 1.0f);
        EXPECT_FLOAT_EQ(a.maximum, lo + 1.0f);
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

// A larger window's room goes to the plot: wider by all of it, its levels
// spread over all of the extra height; the labels' strip keeps its width.
TEST(GraphGeometry, TheRoomOfALargerWindowGoesToThePlot)
{
    const GraphGeometry g = GraphGeometry::AtScale(1.5f, 100, 40);
    EXPECT_FLOAT_EQ(g.bitmapWidth, 925.0f);
    EXPECT_FLOAT_EQ(g.bitmapHeight, 415.0f);
    EXPECT_FLOAT_EQ(g.x0, 90.0f);
    EXPECT_EQ(g.columns, 835);
    EXPECT_EQ(g.topLevel, 37);
    EXPECT_EQ(g.bottomLevel, 377);
    EXPECT_FLOAT_EQ(g.valueSpan, 340.0f);
    EXPECT_FLOAT_EQ(g.levelStep * 4, g.valueSpan);
}

TEST(GraphGeometry, ScalesEveryLength)
{
    const GraphGeometry g = GraphGeometry::AtScale(1.5f);
    EXPECT_FLOAT_EQ(g.bitmapWidth, 825.0f);
    EXPECT_FLOAT_EQ(g.plotWidth, 735.0f);
    EXPECT_EQ(g.topLevel, 37);
    EXPECT_EQ(g.bottomLevel, 337);
    EXPECT_EQ(g.columns, 735);
    EXPECT_EQ(g.pointCapacity, 1472);
}
