// The overlay graph: the per-column reduction keeps each column's exact
// extremes, elapsed time lines the starts up, the limit lines follow the
// missions' bands, and the curves are drawn in colours that stand out.
#include "record/TimeText.h"
#include "support/ScopedTz.h"
#include "views/OverlayGraph.h"
#include "views/OverlayMath.h"
#include "views/OverlayTimeAxis.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

namespace {

struct Curve {
    std::vector<time64> times;
    std::vector<float> values;
};

Curve Regular(int count, time64 step, float (*value)(int))
{
    Curve c;
    for (int i = 0; i < count; ++i) {
        c.times.push_back(i * step);
        c.values.push_back(value(i));
    }
    return c;
}

std::vector<CurvePoint> Decimate(const Curve& c, AxisSpan span, int columns)
{
    std::vector<CurvePoint> points;
    DecimateCurve(c.times.data(), c.values.data(), static_cast<int>(c.times.size()), 0, span, columns, points);
    return points;
}

// Compares the points inside the span with a column-by-column search of
// the samples: per column, the same maximum and minimum, at most two
// points, each one a sample of that column; columns in order.
void ExpectExactExtremes(const Curve& c, AxisSpan span, int columns)
{
    std::map<int, std::pair<float, float>> truth;
    std::map<int, std::multiset<float>> samples;
    for (std::size_t i = 0; i < c.times.size(); ++i) {
        const double t = static_cast<double>(c.times[i]);
        if (t < span.from || t > span.to || c.values[i] <= -1000)
            continue;
        const int col = std::min(columns - 1, static_cast<int>((t - span.from) / span.Length() * columns));
        auto [it, fresh] = truth.try_emplace(col, c.values[i], c.values[i]);
        it->second = {std::max(it->second.first, c.values[i]), std::min(it->second.second, c.values[i])};
        samples[col].insert(c.values[i]);
    }
    std::map<int, std::pair<float, float>> drawn;
    std::map<int, int> pointsPerColumn;
    double lastX = -1e300;
    for (const CurvePoint& p : Decimate(c, span, columns)) {
        ASSERT_GE(p.x, lastX);
        lastX = p.x;
        if (p.x < 0 || p.x >= columns)
            continue; // the neighbours beyond the span
        ASSERT_EQ(p.x, std::floor(p.x));
        const int col = static_cast<int>(p.x);
        ASSERT_TRUE(samples[col].count(p.value)) << "column " << col << " value " << p.value;
        auto [it, fresh] = drawn.try_emplace(col, p.value, p.value);
        it->second = {std::max(it->second.first, p.value), std::min(it->second.second, p.value)};
        ++pointsPerColumn[col];
    }
    EXPECT_EQ(drawn, truth);
    for (const auto& [col, n] : pointsPerColumn)
        EXPECT_LE(n, 2) << "column " << col;
}

float Wave(int i) { return static_cast<float>(5 + 3 * std::sin(i / 700.0) + (i * 7919 % 13) * 0.05); }
float Spike(int i) { return i == 31337 ? 40.0f : (i == 4242 ? -30.0f : 4.0f); }
float Gappy(int i) { return i % 97 == 0 ? -1500.0f : Wave(i); }
float Saw(int i) { return static_cast<float>(i % 17); }

TEST(OverlayDecimation, KeepsEachColumnsExactExtremes)
{
    const struct {
        const char* name;
        Curve curve;
        AxisSpan span;
        int columns;
    } cases[] = {
        {"60000 samples on 900 columns", Regular(60000, 60, Wave), {0, 59999 * 60.0}, 900},
        {"one sample past its neighbours", Regular(60000, 60, Spike), {0, 59999 * 60.0}, 731},
        {"missing samples skipped", Regular(20000, 60, Gappy), {0, 19999 * 60.0}, 640},
        {"fewer samples than columns", Regular(300, 600, Saw), {0, 299 * 600.0}, 1000},
        {"a zoomed stretch", Regular(60000, 60, Wave), {1234567.0, 2345678.0}, 517},
        {"an axis wider than the curve", Regular(5000, 60, Saw), {-50000.0, 600000.0}, 333},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectExactExtremes(c.curve, c.span, c.columns);
    }
}

TEST(OverlayDecimation, PointsInTimeOrderWithTheNeighboursBeyondTheSpan)
{
    // Samples every 10 s; 60 s is missing.
    Curve c;
    const float values[] = {1, 5, 3, 2, 9, 9, -2000, 4, 7, 0};
    for (int i = 0; i < 10; ++i) {
        c.times.push_back(i * 10);
        c.values.push_back(values[i]);
    }
    const auto expect = [](const std::vector<CurvePoint>& got, const std::vector<std::pair<double, float>>& want) {
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t k = 0; k < want.size(); ++k) {
            EXPECT_DOUBLE_EQ(got[k].x, want[k].first) << k;
            EXPECT_FLOAT_EQ(got[k].value, want[k].second) << k;
        }
    };
    // Two samples a column: maximum and minimum in the order they came; a
    // column of two equal samples or of one present sample gives one point.
    expect(Decimate(c, {0, 100}, 5), {{0, 1}, {0, 5}, {1, 3}, {1, 2}, {2, 9}, {3, 4}, {4, 7}, {4, 0}});
    // 30..60 s on 4 columns: 20 s just before, and 70 s (4.5 columns, past
    // the edge) pulled in to the edge along its line.
    expect(Decimate(c, {25, 65}, 4), {{-0.5, 3}, {0, 2}, {1, 9}, {2, 9}, {4, 5}});
    expect(Decimate(c, {200, 300}, 4), {});
}

OverlayMission Mission(const char* id, time64 start, time64 interval, int count, float offset)
{
    OverlayMission m;
    m.loggerId = QString::fromLatin1(id);
    m.start = start;
    for (int i = 0; i < count; ++i) {
        m.times.push_back(start + i * interval);
        m.temp.push_back(offset + static_cast<float>(i % 10));
    }
    return m;
}

TEST(OverlayAxis, ElapsedTimeLinesTheStartsUp)
{
    const time64 a0 = MakeLocalTime(2026, 6, 1, 8, 0), b0 = MakeLocalTime(2026, 6, 3, 14, 30);
    const std::vector<OverlayMission> missions = {Mission("UT300000001", a0, 600, 100, 2),
                                                  Mission("UT300000002", b0, 300, 300, 20)};
    const int columns = 600;
    const auto firstColumn = [&](const OverlayMission& m, OverlayTime mode) {
        std::vector<CurvePoint> points;
        DecimateCurve(m.times.data(), m.temp.data(), static_cast<int>(m.times.size()), AxisOffset(m, mode),
                      FullSpan(missions, mode), columns, points);
        return points.empty() ? -1.0 : points.front().x;
    };
    const AxisSpan clock = FullSpan(missions, OverlayTime::Clock);
    EXPECT_EQ(clock.from, static_cast<double>(a0));
    EXPECT_EQ(clock.to, static_cast<double>(b0 + 299 * 300));
    EXPECT_EQ(firstColumn(missions[0], OverlayTime::Clock), 0);
    EXPECT_EQ(firstColumn(missions[1], OverlayTime::Clock),
              std::floor((b0 - a0) / clock.Length() * columns));

    const AxisSpan elapsed = FullSpan(missions, OverlayTime::Elapsed);
    EXPECT_EQ(elapsed.from, 0);
    EXPECT_EQ(elapsed.to, 299 * 300.0); // the longer mission
    EXPECT_EQ(firstColumn(missions[0], OverlayTime::Elapsed), 0);
    EXPECT_EQ(firstColumn(missions[1], OverlayTime::Elapsed), 0);
    // The same time after each start is the same place on the axis.
    EXPECT_EQ(missions[0].times[6] - AxisOffset(missions[0], OverlayTime::Elapsed),
              missions[1].times[12] - AxisOffset(missions[1], OverlayTime::Elapsed));

    DisplaySettings display{TempUnit::Celsius, 0};
    COverlayGraph graph(display);
    graph.SetMissions(missions);
    graph.ZoomAt(100, 0.5);
    graph.SetTimeMode(OverlayTime::Elapsed);
    EXPECT_EQ(graph.View().from, elapsed.from); // a new mode shows everything again
    EXPECT_EQ(graph.View().to, elapsed.to);
}

// The axis ticks: on the clock they stay on whole local hours and midnights
// across the change back from summer time (once they slid an hour off with
// the offset of the view's start); elapsed time counts days from the starts.
// Labels keep apart and inside the plot either way.
TEST(OverlayAxis, TicksOnRoundLocalTimesAndElapsedDays)
{
    const ScopedTz berlin("Europe/Berlin");
    const auto width = [](const QString& text) { return static_cast<int>(text.size()) * 7; };
    const int columns = 700;
    struct Case {
        const char* name;
        AxisSpan view;
        OverlayTime mode;
        time64 round; // every tick on a multiple of this past local midnight (clock) or the start
    };
    const double from = static_cast<double>(MakeLocalTime(2026, 10, 20, 7, 13));
    const Case cases[] = {
        {"clock, days across the change", {from, static_cast<double>(MakeLocalTime(2026, 11, 2, 0, 0))},
         OverlayTime::Clock, 86400},
        {"clock, hours across the change", {static_cast<double>(MakeLocalTime(2026, 10, 24, 20, 10)),
                                            static_cast<double>(MakeLocalTime(2026, 10, 25, 20, 10))},
         OverlayTime::Clock, 3600},
        {"elapsed days", {0, 12 * 86400.0}, OverlayTime::Elapsed, 86400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<OverlayTick> ticks = OverlayTimeTicks(c.view, c.mode, columns, width, 80);
        ASSERT_GE(ticks.size(), 3u);
        int labelled = 0;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            const OverlayTick& t = ticks[i];
            // Clock ticks map the view onto columns 0 .. columns - 1, elapsed ones as the curves do.
            const int across = c.mode == OverlayTime::Clock ? columns - 1 : columns;
            const time64 at = static_cast<time64>(std::llround(c.view.from + t.column * c.view.Length() / across));
            if (c.mode == OverlayTime::Clock) {
                const LocalTm l = ToLocal(at);
                // Within a column of a round local time.
                const int seconds = (l.hour * 3600 + l.minute * 60 + l.second) % static_cast<int>(c.round);
                const double perColumn = c.view.Length() / (columns - 1);
                EXPECT_LE(std::min<double>(seconds, c.round - seconds), perColumn) << t.text.toStdString();
            } else {
                EXPECT_EQ(t.text, QStringLiteral("+%1 d").arg(std::llround(at / 86400.0)));
            }
            if (t.text.isEmpty())
                continue;
            ++labelled;
            if (c.mode == OverlayTime::Clock) {
                EXPECT_GE(t.left, 0);
                EXPECT_LE(t.left + t.width, columns);
            }
            if (i > 0 && !ticks[i - 1].text.isEmpty()) {
                EXPECT_LE(ticks[i - 1].left + ticks[i - 1].width, t.left);
            }
        }
        EXPECT_GE(labelled, 3);
    }
}

TEST(OverlayLimits, OnePairWhenEveryMissionSharesTheBandElseEachInItsColour)
{
    const auto withBand = [](OverlayMission m, bool inForce, float low, float high) {
        m.tempLimits = inForce;
        m.tempLow = low;
        m.tempHigh = high;
        return m;
    };
    const OverlayMission base = Mission("UT300000001", 0, 60, 10, 0);
    OverlayMission humid = withBand(base, true, 2, 8);
    humid.humi.assign(10, 50.0f);
    humid.humiLimits = true;
    humid.humiLow = 30;
    humid.humiHigh = 70;
    using Lines = std::vector<std::pair<int, float>>;
    const struct {
        const char* name;
        std::vector<OverlayMission> missions;
        OverlayChannel channel;
        Lines expected;
    } cases[] = {
        {"same band", {withBand(base, true, 2, 8), withBand(base, true, 2, 8)}, OverlayChannel::Temperature,
         {{-1, 2}, {-1, 8}}},
        {"different bands",
         {withBand(base, true, 2, 8), withBand(base, true, 2, 8), withBand(base, true, 15, 25)},
         OverlayChannel::Temperature,
         {{0, 2}, {0, 8}, {1, 2}, {1, 8}, {2, 15}, {2, 25}}},
        {"one without a band", {withBand(base, true, 2, 8), withBand(base, false, 2, 8)},
         OverlayChannel::Temperature, {{0, 2}, {0, 8}}},
        {"none in force, whatever the values", {withBand(base, false, 2, 8), withBand(base, false, 0, 0)},
         OverlayChannel::Temperature, {}},
        {"humidity: missions without humidity do not count",
         {withBand(base, true, 15, 25), humid, humid}, OverlayChannel::Humidity, {{-1, 30}, {-1, 70}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Lines got;
        for (const LimitLine& line : LimitLines(c.missions, c.channel))
            got.emplace_back(line.mission, line.value);
        EXPECT_EQ(got, c.expected);
    }
}

double Linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& c)
{
    return 0.2126 * Linear(c.red()) + 0.7152 * Linear(c.green()) + 0.0722 * Linear(c.blue());
}

// CIE L*a*b* (D65) of an sRGB colour.
std::array<double, 3> Lab(const QColor& c)
{
    const double r = Linear(c.red()), g = Linear(c.green()), b = Linear(c.blue());
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

TEST(OverlayPalette, ColoursStandOutFromThePlotAndFromEachOther)
{
    std::vector<QColor> colours(COverlayGraph::Palette().begin(), COverlayGraph::Palette().end());
    EXPECT_GE(colours.size(), 10u);
    colours.push_back(COverlayGraph::SharedLimitColour());
    for (const QColor& c : colours)
        EXPECT_GE(1.05 / (Luminance(c) + 0.05), 3.0) << c.name().toStdString(); // against white
    for (std::size_t i = 0; i < colours.size(); ++i)
        for (std::size_t j = i + 1; j < colours.size(); ++j) {
            const auto a = Lab(colours[i]), b = Lab(colours[j]);
            EXPECT_GE(std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]), 25.0)
                << colours[i].name().toStdString() << " " << colours[j].name().toStdString();
        }
}

TEST(OverlayGraphDrawing, EachMissionIsDrawnInItsOwnColourInsideThePlot)
{
    const time64 start = MakeLocalTime(2026, 6, 1, 8, 0);
    std::vector<OverlayMission> missions;
    for (int i = 0; i < 3; ++i)
        missions.push_back(Mission("UT300000001", start + i * 3600, 300, 400, 10.0f * static_cast<float>(i)));
    DisplaySettings display{TempUnit::Fahrenheit, 0};
    COverlayGraph graph(display);
    graph.resize(900, 400);
    graph.SetMissions(missions);
    QImage image(graph.size(), QImage::Format_RGB32);
    graph.render(&image);
    // An antialiased pixel is its curve's colour blended with the white
    // plot: the same share of the colour in every channel.
    const auto blendOf = [](QRgb pixel, const QColor& colour) {
        const int p[] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
        const int c[] = {colour.red(), colour.green(), colour.blue()};
        double low = 1e9, high = -1e9;
        for (int k = 0; k < 3; ++k) {
            if (255 - c[k] < 40)
                continue;
            const double share = (255.0 - p[k]) / (255.0 - c[k]);
            low = std::min(low, share);
            high = std::max(high, share);
        }
        return high - low < 0.08 && low > 0.5;
    };
    const QRect plot = graph.PlotRect();
    int counts[4] = {};
    for (int y = plot.top(); y <= plot.bottom(); ++y)
        for (int x = plot.left(); x <= plot.right(); ++x)
            for (int i = 0; i < 4; ++i)
                counts[i] += blendOf(image.pixel(x, y), COverlayGraph::Palette()[i]);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(counts[i] > 100, i < 3) << "colour " << i << ": " << counts[i] << " pixels";
}

} // namespace
