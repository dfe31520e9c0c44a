// Alarm excursions: the runs past each limit in force, their totals, and
// their texts.

#include "base/TextTable.h"
#include "record/ExcursionText.h"
#include "record/Excursions.h"
#include "record/IsoTime.h"
#include "record/TimeText.h"
#include "support/ScopedTz.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr time64 kStart = 1700000000;
constexpr time64 kInterval = 600;
constexpr float kGap = -1000.0f;

struct ExpectedRun {
    int first, last;
    AlarmLimit limit;
    float peak;
};

class Excursions : public ::testing::Test {
protected:
    void Fill(int type, const std::vector<float>& temps, const std::vector<float>& humis = {})
    {
        record.Reset();
        record.m_nType = type;
        record.m_tStart = kStart;
        record.m_tsInterval = kInterval;
        record.SetCount(static_cast<int>(temps.size()));
        record.m_nReceived = record.m_nCount;
        record.BuildTimeTable();
        for (std::size_t i = 0; i < temps.size(); ++i) {
            record.m_fTempShown[i] = temps[i];
            record.m_fTemp[i] = 20.0f; // the search reads the shown series
            record.m_fHumi[i] = i < humis.size() ? humis[i] : 50.0f;
        }
    }

    void SetTempAlarm(bool on, float high, float low)
    {
        record.m_bTempAlarm = on;
        record.m_fHighLimit = high;
        record.m_fLowLimit = low;
    }

    CLoggerRecord record;
};

TEST_F(Excursions, RunsOfTemperatureSeries)
{
    constexpr auto U = AlarmLimit::Upper;
    constexpr auto L = AlarmLimit::Lower;
    struct Case {
        const char* name;
        std::vector<float> temps;
        bool alarm;
        float high, low;
        std::vector<ExpectedRun> runs;
    } const cases[] = {
        {"no alarm flag", {9, 10, 1}, false, 8, 2, {}},
        {"equal limits", {9, 10, 1}, true, 5, 5, {}},
        {"inverted limits", {9, 10, 1}, true, 2, 8, {}},
        {"a single sample past", {5, 9, 5}, true, 8, 2, {{1, 1, U, 9}}},
        {"on the limits is not past", {8, 2, 8, 2}, true, 8, 2, {}},
        {"runs touching both ends", {9, 10.5f, 5, 1, 0.5f}, true, 8, 2, {{0, 1, U, 10.5f}, {3, 4, L, 0.5f}}},
        {"upper straight into lower", {9, 1, 9}, true, 8, 2, {{0, 0, U, 9}, {1, 1, L, 1}, {2, 2, U, 9}}},
        {"missing samples end a run", {9, kGap, 9.5f, 11, -1200, 8.5f}, true, 8, 2,
         {{0, 0, U, 9}, {2, 3, U, 11}, {5, 5, U, 8.5f}}},
        {"missing never counts as lower", {5, kGap, -1000.5f, 5}, true, 8, 2, {}},
        {"just above missing counts", {-999.99f}, true, 8, 2, {{0, 0, L, -999.99f}}},
        {"no samples", {}, true, 8, 2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill(1, c.temps);
        SetTempAlarm(c.alarm, c.high, c.low);
        const AlarmReport report = FindExcursions(record);
        EXPECT_EQ(report.temperature.inForce, c.alarm && c.low < c.high);
        EXPECT_FALSE(report.humidity.inForce);
        ASSERT_EQ(report.excursions.size(), c.runs.size());
        time64 above = 0, below = 0, longest = 0;
        for (std::size_t k = 0; k < c.runs.size(); ++k) {
            const Excursion& e = report.excursions[k];
            const ExpectedRun& want = c.runs[k];
            EXPECT_EQ(e.channel, AlarmChannel::Temperature);
            EXPECT_EQ(e.first, want.first);
            EXPECT_EQ(e.last, want.last);
            EXPECT_EQ(e.limit, want.limit);
            EXPECT_EQ(e.peak, want.peak);
            EXPECT_EQ(e.limitValue, want.limit == U ? c.high : c.low);
            EXPECT_EQ(e.samples, want.last - want.first + 1);
            EXPECT_EQ(e.firstTime, kStart + want.first * kInterval);
            EXPECT_EQ(e.lastTime, kStart + want.last * kInterval);
            EXPECT_EQ(e.duration, e.samples * kInterval);
            (want.limit == U ? above : below) += e.duration;
            longest = std::max(longest, e.duration);
        }
        EXPECT_EQ(report.temperature.excursions, static_cast<int>(c.runs.size()));
        EXPECT_EQ(report.temperature.above, above);
        EXPECT_EQ(report.temperature.below, below);
        EXPECT_EQ(report.temperature.longest, longest);
    }
}

TEST_F(Excursions, HumidityOnlyForItsLoggerAndSortedAfterTemperature)
{
    const std::vector<float> temps{5, 9, 9, 5, 5};
    const std::vector<float> humis{75, 80, 50, 20, 50};
    Fill(4, temps, humis);
    SetTempAlarm(true, 8, 2);
    record.m_bHumiAlarm = 1;
    record.m_fHumiHighLimit = 70;
    record.m_fHumiLowLimit = 30;
    AlarmReport report = FindExcursions(record);
    ASSERT_EQ(report.excursions.size(), 3u);
    EXPECT_EQ(report.excursions[0].channel, AlarmChannel::Humidity);
    EXPECT_EQ(report.excursions[0].first, 0);
    EXPECT_EQ(report.excursions[0].peak, 80.0f);
    EXPECT_EQ(report.excursions[1].channel, AlarmChannel::Temperature);
    EXPECT_EQ(report.excursions[1].first, 1);
    EXPECT_EQ(report.excursions[2].channel, AlarmChannel::Humidity);
    EXPECT_EQ(report.excursions[2].limit, AlarmLimit::Lower);
    EXPECT_EQ(report.humidity.excursions, 2);
    EXPECT_EQ(report.humidity.above, 2 * kInterval);
    EXPECT_EQ(report.humidity.below, kInterval);
    EXPECT_EQ(report.humidity.longest, 2 * kInterval);

    // A sample past both channels at once: temperature first.
    record.m_fHumi[1] = 90;
    report = FindExcursions(record);
    ASSERT_EQ(report.excursions.size(), 3u);
    EXPECT_EQ(report.excursions[0].channel, AlarmChannel::Humidity);
    EXPECT_EQ(report.excursions[0].last, 1);

    record.m_fHumi[0] = 50;
    report = FindExcursions(record);
    ASSERT_EQ(report.excursions.size(), 3u);
    EXPECT_EQ(report.excursions[0].channel, AlarmChannel::Temperature);
    EXPECT_EQ(report.excursions[1].channel, AlarmChannel::Humidity);
    EXPECT_EQ(report.excursions[1].first, 1);

    // The same series from a temperature-only logger: no humidity channel.
    record.m_nType = 3;
    report = FindExcursions(record);
    EXPECT_FALSE(report.humidity.inForce);
    EXPECT_EQ(report.excursions.size(), 1u);
}

TEST(ExcursionText, ValuesAndTotals)
{
    EXPECT_EQ(AlarmValueText(AlarmChannel::Temperature, 8.0f, TempUnit::Fahrenheit), QString::fromUtf8("46.40\u00B0F"));
    EXPECT_EQ(AlarmValueText(AlarmChannel::Humidity, 70.0f, TempUnit::Fahrenheit), QStringLiteral("70.00%RH"));
    EXPECT_EQ(AlarmValueText(AlarmChannel::Temperature, -0.5f, TempUnit::Celsius), QString::fromUtf8("-0.50\u00B0C"));
    ChannelTotals totals{true, 2, 1800, 600, 1800};
    EXPECT_EQ(TotalsText(totals, QStringLiteral("\t"), 0),
              QStringLiteral("Excursions: 2\tTime above: 00:30:00\tTime below: 00:10:00\tLongest: 00:30:00"));
    EXPECT_EQ(LimitText(AlarmLimit::Lower, 0), QStringLiteral("Lower Limit"));
    EXPECT_EQ(ChannelText(AlarmChannel::Humidity, LANG_CHINESE), QString::fromUtf8("湿度"));
    EXPECT_TRUE(TotalsText(totals, QStringLiteral(" "), LANG_CHINESE).startsWith(QString::fromUtf8("超限次数: 2 ")));
}

TEST(IsoTime, LocalTimeWithTheZoneOffset)
{
    const time64 summer = 1714551000; // 2024-05-01 08:10:00 UTC
    const time64 winter = 1704103200; // 2024-01-01 10:00:00 UTC
    {
        ScopedTz tz("Europe/Berlin");
        EXPECT_EQ(FormatIsoLocal(summer), QStringLiteral("2024-05-01T10:10:00+02:00"));
        EXPECT_EQ(FormatIsoLocal(winter), QStringLiteral("2024-01-01T11:00:00+01:00"));
    }
    {
        ScopedTz tz("America/St_Johns");
        EXPECT_EQ(FormatIsoLocal(winter), QStringLiteral("2024-01-01T06:30:00-03:30"));
    }
    ScopedTz tz("UTC");
    EXPECT_EQ(FormatIsoLocal(summer), QStringLiteral("2024-05-01T08:10:00+00:00"));
}

} // namespace
