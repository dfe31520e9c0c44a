// Statistics texts, MKT and the moving-MKT mode.
#include "record/LoggerRecord.h"
#include "record/Units.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numeric>
#include <vector>

namespace {

void SetSamples(CLoggerRecord& r, const std::vector<float>& temps, time64 interval = 600)
{
    r.Reset();
    r.m_nType = 1;
    r.m_tsInterval = interval;
    r.SetCount(static_cast<int>(temps.size()));
    std::copy(temps.begin(), temps.end(), r.m_fTemp.begin());
}

TEST(Statistics, TextsFollowUnitAndLimits)
{
    CLoggerRecord record;
    struct Case {
        TempUnit unit;
        float value;
        float low, high;
        const char* value_text;
        const char* high_text; // "" when the limit rows stay empty
        const char* low_text;
    } const cases[] = {
        {TempUnit::Celsius, 23.5f, 0, 0, "23.50\u00B0C", "", ""},
        {TempUnit::Celsius, -20.0f, 2, 8, "-20.00\u00B0C", "8.00\u00B0C", "2.00\u00B0C"},
        {TempUnit::Celsius, 0.0f, 5, 5, "0.00\u00B0C", "", ""},
        {TempUnit::Celsius, 1.005f, 8, 2, "1.00\u00B0C", "", ""},
        {TempUnit::Fahrenheit, 25.0f, 2, 8, "77.00\u00B0F", "46.40\u00B0F", "35.60\u00B0F"},
        {TempUnit::Fahrenheit, -40.0f, 0, 0, "-40.00\u00B0F", "", ""},
    };
    for (const Case& c : cases) {
        record.Reset();
        record.m_fMax = record.m_fMin = record.m_fAvg = record.m_fMkt = c.value;
        record.m_fLowLimit = c.low;
        record.m_fHighLimit = c.high;
        record.m_strValue[ROW_HIGH_LIMIT] = QStringLiteral("stale");
        record.m_byDataFlags = DATA_FLAG_SAMPLES;
        record.FormatStatTexts(c.unit);
        const QString text = QString::fromUtf8(c.value_text);
        SCOPED_TRACE(c.value_text);
        for (int row : {ROW_MAX, ROW_MIN, ROW_AVG, ROW_MKT})
            EXPECT_EQ(record.m_strValue[row], text) << row;
        // Before any samples there is no MKT to show, only the logger's own statistics.
        record.m_byDataFlags = 0;
        record.FormatStatTexts(c.unit);
        EXPECT_TRUE(record.m_strValue[ROW_MKT].isEmpty());
        EXPECT_EQ(record.m_strValue[ROW_MAX], text);
        EXPECT_EQ(record.m_strValue[ROW_HIGH_LIMIT], QString::fromUtf8(c.high_text));
        EXPECT_EQ(record.m_strValue[ROW_LOW_LIMIT], QString::fromUtf8(c.low_text));
        EXPECT_TRUE(record.m_strValue[ROW_HUMI_MAX].isEmpty()); // not a humidity logger
    }
}

TEST(Statistics, HumidityRowsForTypeFourOnly)
{
    CLoggerRecord record;
    record.m_nType = 4;
    record.m_fHumiMax = 80.5f;
    record.m_fHumiMin = 20.0f;
    record.m_fHumiAvg = 50.25f;
    record.m_fHumiHighLimit = record.m_fHumiLowLimit = 40.0f;
    record.FormatStatTexts(TempUnit::Celsius);
    EXPECT_EQ(record.m_strValue[ROW_HUMI_MAX], QStringLiteral("80.50%RH"));
    EXPECT_EQ(record.m_strValue[ROW_HUMI_MIN], QStringLiteral("20.00%RH"));
    EXPECT_EQ(record.m_strValue[ROW_HUMI_AVG], QStringLiteral("50.25%RH"));
    EXPECT_TRUE(record.m_strValue[ROW_HUMI_HIGH_LIMIT].isEmpty());
    record.m_fHumiHighLimit = 70.0f;
    record.FormatStatTexts(TempUnit::Celsius);
    EXPECT_EQ(record.m_strValue[ROW_HUMI_HIGH_LIMIT], QStringLiteral("70.00%RH"));
    EXPECT_EQ(record.m_strValue[ROW_HUMI_LOW_LIMIT], QStringLiteral("40.00%RH"));
}

// The MKT is the temperature whose Arrhenius term equals the mean term. Found
// here by bisection on that equation, not by the closed form.
double MktByBisection(const std::vector<float>& temps)
{
    long double mean = 0;
    for (float t : temps)
        mean += std::exp(-10000.0L / (t + 273.1L));
    mean /= temps.size();
    long double lo = -100, hi = 200;
    for (int k = 0; k < 200; ++k) {
        const long double mid = (lo + hi) / 2;
        (std::exp(-10000.0L / (mid + 273.1L)) < mean ? lo : hi) = mid;
    }
    return static_cast<double>(lo);
}

TEST(Statistics, MktMatchesIndependentValues)
{
    CLoggerRecord record;
    struct Case {
        std::vector<float> temps;
        const char* text; // worked out to 40 digits outside the program
    } const cases[] = {
        {{25.0f, 25.0f, 25.0f}, "25.00\u00B0C"},
        {{20.0f, 30.0f}, "26.26\u00B0C"},          // 26.2603
        {{2.0f, 8.0f, 8.0f, 25.0f}, "15.49\u00B0C"}, // 15.4855
        {{-20.0f, 0.0f, 40.0f}, "29.68\u00B0C"},     // 29.6778
        {{5.5f, 5.5f, 5.5f, 35.25f}, "23.40\u00B0C"}, // 23.3972
    };
    for (const Case& c : cases) {
        SetSamples(record, c.temps);
        record.ComputeMkt(TempUnit::Celsius);
        EXPECT_EQ(record.m_strValue[ROW_MKT], QString::fromUtf8(c.text));
        EXPECT_NEAR(record.m_fMkt, MktByBisection(c.temps), 1e-4);
    }
    std::vector<float> mixed;
    for (int i = 0; i < 5000; ++i)
        mixed.push_back(static_cast<float>(std::round((4.0 + 3.0 * std::sin(i * 0.01) + (i % 97 == 0 ? 9.0 : 0.0)) * 100) / 100));
    SetSamples(record, mixed);
    record.ComputeMkt(TempUnit::Celsius);
    EXPECT_NEAR(record.m_fMkt, MktByBisection(mixed), 1e-4);

    SetSamples(record, {25.0f, 25.0f});
    record.ComputeMkt(TempUnit::Fahrenheit);
    EXPECT_EQ(record.m_strValue[ROW_MKT], QStringLiteral("77.00\u00B0F"));
    SetSamples(record, {});
    record.m_strValue[ROW_MKT] = QStringLiteral("kept");
    record.ComputeMkt(TempUnit::Fahrenheit);
    EXPECT_EQ(record.m_fMkt, 0.0f);
    EXPECT_EQ(record.m_strValue[ROW_MKT], QStringLiteral("kept"));
}

TEST(Statistics, MovingMktWindowRules)
{
    CLoggerRecord record;
    // A probe: the shown value of one sample is the MKT of the samples
    // first .. first + length - 1 (a start-up sample looks ahead of itself).
    struct Probe {
        int sample, first, length;
    };
    struct Case {
        const char* description;
        int minutes_x60; // interval in seconds
        int count;
        bool plain;
        std::vector<Probe> probes; // empty: plain mode expected
    } const cases[] = {
        {"  VtQk shelf 3", 600, 100, false, {{0, 0, 49}, {10, 5, 49}, {99, 50, 49}}}, // w 60, cut to 100 / 2
        {"vtqk", 3600, 100, false, {{7, 4, 9}, {19, 10, 9}, {20, 11, 10}, {99, 90, 10}}},
        {"VTQK", 5 * 3600, 100, false, {{9, 5, 4}, {10, 6, 5}, {99, 95, 5}}}, // w 2, raised to 5
        {"vtqkx", 60, 1000, false, {{1, 1, 499}, {999, 500, 499}}},            // w 600 > 1000 / 2
        {"vtqk", 600, 7, false, {{5, 3, 2}, {6, 4, 3}}},                        // w 60 >= 7: 7 / 2
        {"vtqk", 600, 2, false, {{0, 0, 1}, {1, 1, 1}}},                        // w 1: start-up of one
        {"vtqk", 600, 1, false, {{0, 0, 1}}},                                   // w 0
        {"vtq", 600, 100, false, {}},
        {"vtqk", 600, 100, true, {}},
        {" xvtqk", 600, 100, false, {}},
        {"vtqk", 30, 100, false, {}},           // under a minute: plain
        {"vtq\u212A", 600, 100, false, {}},     // the Kelvin sign is not a "k"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.description << " " << c.minutes_x60 << "s x" << c.count);
        std::vector<float> temps;
        for (int i = 0; i < c.count; ++i)
            temps.push_back(static_cast<float>(5.0 + 0.07 * i + (i % 11 == 0 ? 6.0 : 0.0)));
        SetSamples(record, temps, c.minutes_x60);
        record.m_fLoggerMax = 99.0f;
        record.m_fLoggerMin = -99.0f;
        record.m_fLoggerAvg = 1.0f;
        record.m_strValue[ROW_DESCRIPTION] = QString::fromUtf8(c.description);
        record.Recompute(c.plain, TempUnit::Celsius);
        EXPECT_EQ(record.m_strValue[ROW_DESCRIPTION], QString::fromUtf8(c.description).trimmed());
        if (c.probes.empty()) {
            EXPECT_EQ(record.m_fMax, 99.0f);
            EXPECT_EQ(record.m_fAvg, 1.0f);
            for (int i = 0; i < c.count; ++i)
                ASSERT_EQ(record.m_fTempShown[i], record.m_fTemp[i]);
            continue;
        }
        for (const Probe& p : c.probes) {
            const std::vector<float> window(temps.begin() + p.first, temps.begin() + p.first + p.length);
            EXPECT_NEAR(record.m_fTempShown[p.sample], MktByBisection(window), 2e-4) << "sample " << p.sample;
        }
        // The summary's extremes and average are those of the shown series.
        const float* shown = record.m_fTempShown.data();
        const auto [min, max] = std::minmax_element(shown, shown + c.count);
        EXPECT_EQ(record.m_fMax, *max);
        EXPECT_EQ(record.m_fMin, *min);
        EXPECT_NEAR(record.m_fAvg, std::accumulate(shown, shown + c.count, 0.0) / c.count, 1e-3);
        EXPECT_NEAR(record.m_strValue[ROW_MAX].chopped(kUnitC.size()).toDouble(), *max, 0.0051);
        EXPECT_TRUE(record.m_strValue[ROW_MAX].endsWith(kUnitC));
    }
}

TEST(Statistics, MovingMktWithoutSamplesKeepsTheStartExtremes)
{
    CLoggerRecord record;
    SetSamples(record, {});
    record.m_strValue[ROW_DESCRIPTION] = QStringLiteral("vtqk");
    record.Recompute(false, TempUnit::Fahrenheit);
    EXPECT_EQ(record.m_fMax, -3000.0f);
    EXPECT_EQ(record.m_fMin, 3000.0f);
    EXPECT_EQ(record.m_fAvg, 0.0f);
}

TEST(Statistics, RecomputeSetsTheStatisticsRowFlags)
{
    CLoggerRecord record;
    struct Case {
        int type;
        bool tempAlarm, humiAlarm;
        std::int32_t flags;
    } const cases[] = {
        {1, false, false, 0x1C0}, {1, true, false, 0x7C0}, {4, false, false, 0x39C0},
        {4, true, true, 0xFFC0}, {4, false, true, 0xF9C0}, {2, true, true, 0x7C0},
    };
    for (const Case& c : cases) {
        SetSamples(record, {5.0f});
        record.m_nType = c.type;
        record.m_bTempAlarm = c.tempAlarm;
        record.m_bHumiAlarm = c.humiAlarm;
        record.m_nRowFlags = RF_ID;
        record.Recompute(true, TempUnit::Fahrenheit);
        EXPECT_EQ(record.m_nRowFlags, c.flags | RF_ID) << c.type << c.tempAlarm << c.humiAlarm;
    }
}

} // namespace
