// Spans of seconds as "HH:MM:SS": the sampling interval wraps at a day,
// an alarm duration does not.
#include "record/TimeText.h"

#include <gtest/gtest.h>

TEST(TimeText, IntervalWrapsAtADayDurationCountsEveryHour)
{
    const struct {
        time64 seconds;
        const char* interval;
        const char* duration;
    } cases[] = {
        {0, "00:00:00", "00:00:00"},
        {3600 + 61, "01:01:01", "01:01:01"},
        {86399, "23:59:59", "23:59:59"},
        {86400, "00:00:00", "24:00:00"},
        {90061, "01:01:01", "25:01:01"},
        {100 * 3600 + 1, "04:00:01", "100:00:01"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatInterval(c.seconds), QLatin1String(c.interval)) << c.seconds;
        EXPECT_EQ(FormatDuration(c.seconds), QLatin1String(c.duration)) << c.seconds;
    }
}
