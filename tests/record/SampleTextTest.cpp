// The data list's cell texts.

#include "record/SampleText.h"
#include "record/TimeText.h"
#include "support/ScopedTz.h"

#include <gtest/gtest.h>

namespace {

TEST(SampleText, CellsOfOneRow)
{
    CLoggerRecord record;
    ScopedTz tz("UTC");
    record.SetCount(42);
    record.m_nType = 4;
    record.m_fHighLimit = 8.0f;
    record.m_fLowLimit = 2.0f;
    record.m_bTempAlarm = 1;
    record.m_fHumiHighLimit = 70.0f;
    record.m_fHumiLowLimit = 30.0f;
    record.m_bHumiAlarm = 1;
    struct Case {
        TempUnit unit;
        float temp;
        float humi;
        time64 time;
        const char* cells[4];
    } const cases[] = {
        {TempUnit::Celsius, 25.0f, 50.0f, MakeLocalTime(2018, 3, 5, 9, 7), {"1", "2018-3-5 09:07", "25.00\u00B0C*", "50.00%RH"}},
        {TempUnit::Fahrenheit, 25.0f, 50.0f, 0, {"1", "", "77.00\u00B0F*", "50.00%RH"}},
        {TempUnit::Celsius, 8.0f, 70.0f, 0, {"1", "", "8.00\u00B0C", "70.00%RH"}},
        {TempUnit::Celsius, 8.01f, 70.01f, 0, {"1", "", "8.01\u00B0C*", "70.01%RH*"}},
        {TempUnit::Fahrenheit, 2.0f, 30.0f, 0, {"1", "", "35.60\u00B0F", "30.00%RH"}},
        {TempUnit::Fahrenheit, 1.99f, 29.99f, 0, {"1", "", "35.58\u00B0F*", "29.99%RH*"}},
        {TempUnit::Celsius, -1000.0f, -1000.5f, 0, {"1", "", "", ""}},
        {TempUnit::Celsius, -999.99f, 0.0f, 0, {"1", "", "-999.99\u00B0C*", "0.00%RH*"}},
    };
    for (const Case& c : cases) {
        record.m_fTempShown[0] = c.temp;
        record.m_fTemp[0] = 0.0f; // the list shows the shown series
        record.m_fHumi[0] = c.humi;
        record.m_tTime[0] = c.time;
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(SampleCellText(record, 0, col, c.unit), QString::fromUtf8(c.cells[col])) << c.temp << " column " << col;
    }
    EXPECT_EQ(SampleCellText(record, 41, 0, TempUnit::Fahrenheit), QStringLiteral("42"));
    EXPECT_TRUE(SampleCellText(record, 0, 4, TempUnit::Fahrenheit).isEmpty());
}

TEST(SampleText, ColumnsFollowTheType)
{
    CLoggerRecord record;
    record.SetCount(1);
    record.m_nType = 4;
    EXPECT_EQ(SampleColumnCount(record), 4);
    record.m_nType = 3;
    EXPECT_EQ(SampleColumnCount(record), 3);
    // Without an alarm band no value is marked.
    record.m_bTempAlarm = 0;
    record.m_fTempShown[0] = 100.0f;
    EXPECT_EQ(SampleCellText(record, 0, 2, TempUnit::Celsius), QStringLiteral("100.00\u00B0C"));
}

} // namespace
