// Range records: clamping, snapping to sample instants, copied samples and
// statistics, refusals.
#include "record/AreaSelection.h"
#include "record/TimeText.h"
#include "record/Units.h"
#include "support/ScopedTz.h"

#include <gtest/gtest.h>

namespace {

time64 At(int hour, int minute, int day = 10) { return MakeLocalTime(2024, 5, day, hour, minute); }

struct RangeCase {
    const char* name;
    time64 from, to;
    SelectionResult result;
    int count;
    int first; // source index of the area's first sample
    bool clampStart, clampStop;
};

// The record a range is taken from and the range record it fills.
class AreaSelection : public ::testing::Test {
protected:
    // A record of count samples every intervalMin minutes from start; sample i
    // is 2 + i tenths of a degree, humidity 40 + i for type 4.
    void MakeSource(time64 start, int count, int intervalMin, int type = 3)
    {
        CLoggerRecord& r = source;
        r.m_nType = type;
        r.m_tStart = start;
        r.m_tsInterval = static_cast<time64>(intervalMin) * 60;
        r.SetCount(count);
        r.m_tStop = start + (count - 1) * r.m_tsInterval;
        r.m_nReceived = count;
        r.m_strValue[ROW_ID] = QStringLiteral("UT123456789");
        r.m_strValue[ROW_INTERVAL] = FormatInterval(r.m_tsInterval);
        r.m_fLowLimit = 2.0f;
        r.m_fHighLimit = 8.0f;
        r.m_bTempAlarm = 1;
        for (int i = 0; i < count; ++i) {
            r.m_fTemp[i] = 2.0f + 0.1f * static_cast<float>(i);
            r.m_fHumi[i] = 40.0f + static_cast<float>(i);
        }
        r.m_byDataFlags = DATA_FLAG_SAMPLES;
        r.BuildTimeTable();
        r.Recompute(false, TempUnit::Fahrenheit);
    }

    CLoggerRecord source;
    CLoggerRecord area;
};

TEST_F(AreaSelection, SnapsToWholeSampleInstantsWithinTheRecord)
{
    ScopedTz tz("UTC");
    MakeSource(At(10, 0), 13, 10); // 10:00 .. 12:00
    const RangeCase cases[] = {
        {"inside", At(10, 5), At(11, 42), SelectionResult::Built, 10, 1, false, false},
        {"on instants", At(10, 20), At(10, 40), SelectionResult::Built, 3, 2, false, false},
        {"one instant", At(10, 20), At(10, 20), SelectionResult::Built, 1, 2, false, false},
        {"no instant inside", At(10, 5), At(10, 8), SelectionResult::Empty, 0, 0, false, false},
        {"wider both ways", At(9, 0), At(13, 0), SelectionResult::Built, 13, 0, true, true},
        {"before the record", At(8, 0), At(9, 0), SelectionResult::Empty, 0, 0, true, false},
        {"inverted", At(11, 0), At(10, 0), SelectionResult::Empty, 0, 0, false, false},
    };
    for (const RangeCase& c : cases) {
        SelectionClamps clamps;
        EXPECT_EQ(ComputeSelection(source, c.from, c.to, area, clamps, TempUnit::Fahrenheit), c.result) << c.name;
        EXPECT_EQ(area.m_nCount, c.count) << c.name;
        EXPECT_EQ(area.m_nReceived, c.count) << c.name;
        EXPECT_EQ(clamps.start, c.clampStart) << c.name;
        EXPECT_EQ(clamps.stop, c.clampStop) << c.name;
        if (c.count == 0)
            continue;
        EXPECT_EQ(area.m_tStart, source.m_tTime[c.first]) << c.name;
        EXPECT_EQ(area.m_tStop, source.m_tTime[c.first + c.count - 1]) << c.name;
        EXPECT_EQ(area.m_tTime[0], source.m_tTime[c.first]) << c.name;
        EXPECT_EQ(area.m_fTemp[0], source.m_fTempShown[c.first]) << c.name;
        EXPECT_EQ(area.m_fTemp[c.count - 1], source.m_fTempShown[c.first + c.count - 1]) << c.name;
    }
}

TEST_F(AreaSelection, TheAreaHasItsOwnStatisticsAndTexts)
{
    ScopedTz tz("UTC");
    MakeSource(At(10, 0), 13, 10, 4);
    SelectionClamps clamps;
    ASSERT_EQ(ComputeSelection(source, At(10, 5), At(11, 42), area, clamps, TempUnit::Celsius), SelectionResult::Built);
    EXPECT_EQ(area.m_strValue[ROW_START], "2024-5-10 10:10");
    EXPECT_EQ(area.m_strValue[ROW_STOP], "2024-5-10 11:40");
    EXPECT_EQ(area.m_strValue[ROW_COUNT], "10");
    EXPECT_EQ(area.m_strValue[ROW_ID], "UT123456789");
    EXPECT_EQ(area.m_strValue[ROW_INTERVAL], source.m_strValue[ROW_INTERVAL]);
    EXPECT_FLOAT_EQ(area.m_fMax, 2.0f + 1.0f);  // samples 1..10: 2.1 .. 3.0
    EXPECT_FLOAT_EQ(area.m_fMin, 2.1f);
    EXPECT_NEAR(area.m_fAvg, 2.55f, 1e-5);
    EXPECT_FLOAT_EQ(area.m_fHumiMax, 50.0f);
    EXPECT_FLOAT_EQ(area.m_fHumiMin, 41.0f);
    EXPECT_EQ(area.m_strValue[ROW_MAX], "3.00\u00B0C");
    EXPECT_FALSE(area.m_strValue[ROW_MKT].isEmpty());
    EXPECT_EQ(area.m_strValue[ROW_HIGH_LIMIT], "8.00\u00B0C");
}

TEST_F(AreaSelection, CopiesTheShownSeriesOfAMovingMktRecordAndStaysPlain)
{
    ScopedTz tz("UTC");
    MakeSource(At(10, 0), 200, 10);
    source.m_strValue[ROW_DESCRIPTION] = QStringLiteral("VTQK cold room");
    source.Recompute(false, TempUnit::Fahrenheit);
    ASSERT_NE(source.m_fTempShown[150], source.m_fTemp[150]); // moving MKT in force
    SelectionClamps clamps;
    ASSERT_EQ(ComputeSelection(source, source.m_tTime[100], source.m_tTime[199], area, clamps, TempUnit::Fahrenheit),
              SelectionResult::Built);
    ASSERT_EQ(area.m_nCount, 100);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(area.m_fTemp[i], source.m_fTempShown[100 + i]) << i;
        ASSERT_EQ(area.m_fTempShown[i], area.m_fTemp[i]) << i; // the area's own series is plain
    }
}

TEST_F(AreaSelection, ARangeAcrossADaylightSavingChangeKeepsTheSampleInstants)
{
    ScopedTz tz("Europe/Berlin");
    // 2024-03-31 01:00 .. 05:00 local, every 30 minutes; 02:00-03:00 does not exist.
    const time64 start = MakeLocalTime(2024, 3, 31, 1, 0);
    MakeSource(start, 8, 30);
    SelectionClamps clamps;
    ASSERT_EQ(ComputeSelection(source, MakeLocalTime(2024, 3, 31, 1, 10), MakeLocalTime(2024, 3, 31, 4, 0),
                               area, clamps, TempUnit::Fahrenheit),
              SelectionResult::Built);
    EXPECT_EQ(area.m_tStart, start + 30 * 60);
    EXPECT_EQ(area.m_tStop, start + 2 * 3600); // 04:00 CEST is two real hours after 01:00 CET
    EXPECT_EQ(area.m_nCount, 4);
    EXPECT_EQ(area.m_strValue[ROW_STOP], "2024-3-31 04:00");
}

TEST_F(AreaSelection, RefusesWhatHasNoSampleInstants)
{
    ScopedTz tz("UTC");
    MakeSource(At(10, 0), 13, 10);
    area.SetCount(5);
    area.m_nReceived = 5;
    source.m_tsInterval = 0;
    SelectionClamps clamps;
    EXPECT_EQ(ComputeSelection(source, At(10, 0), At(12, 0), area, clamps, TempUnit::Fahrenheit), SelectionResult::Refused);
    EXPECT_EQ(area.m_nCount, 0);
    EXPECT_EQ(area.m_nReceived, 0);

    // A source without samples, or with inverted times, leaves the area alone.
    area.SetCount(5);
    source.m_tsInterval = 600;
    source.SetCount(0);
    EXPECT_EQ(ComputeSelection(source, At(10, 0), At(12, 0), area, clamps, TempUnit::Fahrenheit), SelectionResult::Unchanged);
    source.SetCount(13);
    std::swap(source.m_tStart, source.m_tStop);
    EXPECT_EQ(ComputeSelection(source, At(10, 0), At(12, 0), area, clamps, TempUnit::Fahrenheit), SelectionResult::Unchanged);
    EXPECT_EQ(area.m_nCount, 5);
}

TEST_F(AreaSelection, ACountShortOfTheStopTimeLimitsTheArea)
{
    ScopedTz tz("UTC");
    MakeSource(At(10, 0), 13, 10);
    source.SetCount(5); // the stop time says 13 instants, the memory held 5
    SelectionClamps clamps;
    ASSERT_EQ(ComputeSelection(source, At(10, 25), At(12, 0), area, clamps, TempUnit::Fahrenheit), SelectionResult::Built);
    EXPECT_EQ(area.m_nCount, 2); // indexes 3 and 4
    EXPECT_EQ(ComputeSelection(source, At(11, 0), At(12, 0), area, clamps, TempUnit::Fahrenheit), SelectionResult::Built);
    EXPECT_EQ(area.m_nCount, 0); // beyond the samples held
}

} // namespace
