// Logger record: type codes, Reset, time table, type texts, interval text.
#include "base/TextTable.h"
#include "record/LoggerRecord.h"
#include "record/TimeText.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

TEST(Record, TypeCodesOfBothLinks)
{
    struct Case {
        const char* id;
        int usb;
        int serial;
    } const cases[] = {
        {"UTH12345678", 4, 4}, {"UT123456789", 3, 3}, {"UTh12345678", 3, 3}, {"UI123456789", 3, 3},
        {"U1234567890", 1, 1}, {"D1234567890", 2, 2}, {"DI123456789", 2, 6}, {"Di123456789", 2, 2},
        {"I1234567890", 2, 5}, {"i1234567890", 2, 2}, {"u1234567890", 0, 0}, {"X1234567890", 0, 0},
        {"", 0, 0}, {"U", 1, 1}, {"UT", 3, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TypeFromIdUsb(QString::fromLatin1(c.id)), c.usb) << c.id;
        EXPECT_EQ(TypeFromIdSerial(QString::fromLatin1(c.id)), c.serial) << c.id;
    }
}

TEST(Record, ResetRestoresCaptionsAndClearsValuesAndSamplesButKeepsTimes)
{
    CLoggerRecord record;
    record.m_nType = 4;
    record.SetCount(12);
    record.m_nLoggerFlag = 3;
    record.m_fHumiMax = 80;
    record.m_tStart = 1000;
    record.m_fMax = 9;
    record.m_byDataFlags = DATA_FLAG_SAMPLES;
    record.m_fTemp[3] = 4.5f;
    record.m_strDescription = QStringLiteral("kept");
    for (QString& v : record.m_strValue)
        v = QStringLiteral("x");
    record.Reset();

    EXPECT_EQ(record.m_nType, 0);
    EXPECT_EQ(record.m_nCount, 0);
    EXPECT_EQ(record.m_nLoggerFlag, -1);
    EXPECT_EQ(record.m_fHumiMax, 0.0f);
    EXPECT_EQ(record.m_tStart, 1000);
    EXPECT_EQ(record.m_fMax, 9.0f);
    EXPECT_EQ(record.m_byDataFlags, DATA_FLAG_SAMPLES);
    EXPECT_TRUE(record.m_fTemp.empty());
    EXPECT_EQ(record.m_strDescription, QStringLiteral("kept"));
    const char* captions[SUMMARY_ROWS] = {
        " Serial Number:", " Start Time:", " Stop Time:", " Sampling Interval:", " Quantity of Data:",
        " Max Temp.:", " Min Temp.:", " Avg Temp.:", " Upper Limit Temp.:", " Lower Limit Temp.:",
        " Max Humi.:", " Min Humi.:", " Avg Humi.:", " Upper Limit Humi.:", " Lower Limit Humi.:",
        " Description:", "", " Mean Kinetic Temp.:", "", ""};
    for (int i = 0; i < SUMMARY_ROWS; ++i) {
        EXPECT_EQ(SummaryCaption(i, 0), QString::fromLatin1(captions[i])) << i;
        EXPECT_TRUE(record.m_strValue[i].isEmpty()) << i;
    }
}

TEST(Record, TimeTableCoversTheCountAndNeverMore)
{
    CLoggerRecord record;
    struct Case {
        int count;
        time64 interval;
    } const cases[] = {{0, 600}, {1, 600}, {5, 90000}, {MAX_SAMPLES, 4000000000LL}, {MAX_SAMPLES + 5, 60}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        record.m_tStart = 1700000000;
        record.m_tsInterval = c.interval;
        record.SetCount(c.count);
        record.BuildTimeTable();
        const int n = std::min(c.count, MAX_SAMPLES);
        ASSERT_EQ(record.m_tTime.size(), static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(record.m_tTime[i], 1700000000 + i * c.interval) << i;
    }
}

TEST(Record, TypeTextFillsTheDescriptionRow)
{
    CLoggerRecord record;
    const struct {
        int type;
        const char* text;
    } cases[] = {{0, ""}, {1, "Temp Record"}, {2, "Temp Record"}, {3, "Temp Record"},
                 {4, "Temp&Humi Record"}, {5, "Temp Record"}, {6, "Temp Record"}};
    for (const auto& c : cases) {
        record.m_nType = c.type;
        record.m_strValue[ROW_DESCRIPTION] = QStringLiteral("old");
        record.SetTypeText(0);
        EXPECT_EQ(record.m_strValue[ROW_DESCRIPTION], QString::fromLatin1(c.text)) << c.type;
    }
}

TEST(Record, IntervalTextTakesHoursModulo24)
{
    EXPECT_EQ(FormatInterval(25 * 3600), QStringLiteral("01:00:00"));
    EXPECT_EQ(FormatInterval(600), QStringLiteral("00:10:00"));
    EXPECT_EQ(FormatInterval(3600 + 61), QStringLiteral("01:01:01"));
    EXPECT_EQ(FormatInterval(0), QStringLiteral("00:00:00"));
}

} // namespace
