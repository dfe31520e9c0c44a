#include "record/TimeText.h"
#include "record/TimeTicks.h"
#include "support/ScopedTz.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Six pixels a character, six between labels: "HH:mm" is 30 pixels wide,
// "2024-3-6" 48, "2024-3-5 09:00" 84.
int FixedWidth(const QString& text) { return 6 * static_cast<int>(text.size()); }
constexpr int kGap = 6;

time64 T(int y, int mo, int d, int h, int mi) { return MakeLocalTime(y, mo, d, h, mi); }

using Texts = std::vector<std::string>;

Texts TextsOf(const TimeAxisTicks& axis)
{
    Texts texts;
    for (const TimeTick& tick : axis.ticks)
        texts.push_back(tick.text.toStdString());
    return texts;
}

Texts Clock(const std::vector<time64>& times)
{
    Texts texts;
    for (const time64 t : times)
        texts.push_back(FormatDateTime(t).toStdString());
    return texts;
}

} // namespace

void PrintTo(const TimeStep& step, std::ostream* os)
{
    static const char* const kUnits[] = {"minute", "hour", "day", "month", "year"};
    *os << step.count << " " << kUnits[static_cast<int>(step.unit)];
}

// The step follows the span and the width; the first label and the first
// label of each day show the date, and a dated first label hides what it
// reaches over - unless that is a new day's date.
TEST(TimeTicks, StepAndLabelsForTheVisibleSpan)
{
    const ScopedTz tz("Europe/Berlin");
    using U = TimeUnit;
    struct Case {
        const char* what;
        time64 from, to;
        int columns;
        TimeStep step;
        Texts texts;
    };
    const Case cases[] = {
        {"a day of 10-minute samples", T(2024, 3, 5, 9, 0), T(2024, 3, 6, 9, 0), 490, {U::Hour, 3},
         {"2024-3-5 09:00", "", "15:00", "18:00", "21:00", "2024-3-6", "03:00", "06:00", "09:00"}},
        {"the same day, narrow", T(2024, 3, 5, 9, 0), T(2024, 3, 6, 9, 0), 200, {U::Hour, 6},
         {"2024-3-5 12:00", "", "2024-3-6", "06:00"}},
        {"zoomed to an hour", T(2024, 3, 5, 10, 2), T(2024, 3, 5, 11, 2), 490, {U::Minute, 5},
         {"2024-3-5 10:05", "", "10:15", "10:20", "10:25", "10:30", "10:35", "10:40", "10:45", "10:50", "10:55",
          "11:00"}},
        {"a label kept inside the plot needs more room", T(2024, 3, 5, 10, 5), T(2024, 3, 5, 11, 5), 490,
         {U::Minute, 10}, {"2024-3-5 10:10", "10:20", "10:30", "10:40", "10:50", "11:00"}},
        {"zoomed to ten minutes", T(2024, 3, 5, 23, 54) + 30, T(2024, 3, 6, 0, 4) + 30, 490, {U::Minute, 1},
         {"2024-3-5 23:55", "", "23:57", "23:58", "23:59", "2024-3-6", "00:01", "00:02", "00:03", "00:04"}},
        {"a dated first label never hides a new day", T(2024, 3, 5, 16, 0), T(2024, 3, 7, 4, 0), 300,
         {U::Hour, 6}, {"18:00", "2024-3-6", "06:00", "12:00", "18:00", "2024-3-7"}},
        {"a plot narrower than a dated label", T(2024, 3, 5, 9, 0), T(2024, 3, 5, 9, 1), 40, {U::Minute, 2},
         {"09:00"}},
        {"six weeks: Mondays", T(2024, 3, 5, 9, 0), T(2024, 4, 16, 9, 0), 490, {U::Day, 7},
         {"2024-3-11", "2024-3-18", "2024-3-25", "2024-4-1", "2024-4-8", "2024-4-15"}},
        {"two years: quarters", T(2024, 3, 5, 9, 0), T(2026, 3, 5, 9, 0), 490, {U::Month, 3},
         {"2024-4", "2024-7", "2024-10", "2025-1", "2025-4", "2025-7", "2025-10", "2026-1"}},
        {"seconds off the minute", T(2024, 3, 5, 9, 0) + 30, T(2024, 3, 5, 9, 10) + 30, 490, {U::Minute, 1},
         {"2024-3-5 09:01", "", "09:03", "09:04", "09:05", "09:06", "09:07", "09:08", "09:09", "09:10"}},
    };
    for (const Case& c : cases) {
        const TimeAxisTicks axis = ChooseTimeTicks({c.from, c.to, c.columns}, FixedWidth, kGap);
        EXPECT_EQ(axis.step, c.step) << c.what;
        EXPECT_EQ(TextsOf(axis), c.texts) << c.what;
    }
    EXPECT_TRUE(ChooseTimeTicks({T(2024, 3, 5, 9, 0), T(2024, 3, 5, 9, 0), 490}, FixedWidth, kGap).ticks.empty());
}

// Asked to date its first label always, the chooser passes over a step
// where that date would reach a new day's date, and takes the caller's texts.
TEST(TimeTicks, AFirstLabelThatMustShowItsDateTakesALongerStep)
{
    const ScopedTz tz("Europe/Berlin");
    const TimeSpan span{T(2024, 3, 5, 16, 0), T(2024, 3, 7, 4, 0), 300};
    const TimeLabelText label = [](const LocalTm& l, TimeUnit unit, bool date) {
        return GraphTimeLabel(l, unit, date).replace(QLatin1Char('-'), QLatin1Char('/'));
    };
    const TimeAxisTicks mayKeepTime = ChooseTimeTicks(span, FixedWidth, kGap, label);
    EXPECT_EQ(mayKeepTime.step, (TimeStep{TimeUnit::Hour, 6}));
    EXPECT_EQ(TextsOf(mayKeepTime), (Texts{"18:00", "2024/3/6", "06:00", "12:00", "18:00", "2024/3/7"}));
    const TimeAxisTicks dated = ChooseTimeTicks(span, FixedWidth, kGap, label, FirstLabel::Dated);
    EXPECT_EQ(dated.step, (TimeStep{TimeUnit::Hour, 12}));
    EXPECT_EQ(TextsOf(dated), (Texts{"2024/3/6", "12:00", "2024/3/7"}));
}

// Local time: the hour the clocks skip has no tick and the steps stay on
// their hours; the hour they repeat is labelled twice, an hour apart.
TEST(TimeTicks, RoundTimesFollowTheLocalClockAcrossDaylightSaving)
{
    const ScopedTz tz("Europe/Berlin");
    EXPECT_EQ(Clock(RoundTimes(T(2024, 3, 31, 0, 0), T(2024, 3, 31, 8, 0), {TimeUnit::Hour, 2}, 100)),
              (Texts{"2024-3-31 00:00", "2024-3-31 04:00", "2024-3-31 06:00", "2024-3-31 08:00"}));
    const std::vector<time64> autumn = RoundTimes(T(2024, 10, 27, 1, 0), T(2024, 10, 27, 4, 0), {TimeUnit::Hour, 1}, 100);
    EXPECT_EQ(Clock(autumn), (Texts{"2024-10-27 01:00", "2024-10-27 02:00", "2024-10-27 02:00",
                                                   "2024-10-27 03:00", "2024-10-27 04:00"}));
    for (std::size_t i = 1; i < autumn.size(); ++i)
        EXPECT_EQ(autumn[i] - autumn[i - 1], 3600) << i;
    EXPECT_EQ(Clock(RoundTimes(T(2024, 3, 30, 0, 0), T(2024, 4, 1, 0, 0), {TimeUnit::Day, 1}, 100)),
              (Texts{"2024-3-30 00:00", "2024-3-31 00:00", "2024-4-1 00:00"}));
    EXPECT_EQ(RoundTimes(T(2024, 3, 5, 0, 0), T(2024, 3, 6, 0, 0), {TimeUnit::Minute, 1}, 10).size(), 10u);
}
