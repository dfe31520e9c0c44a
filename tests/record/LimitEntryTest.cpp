#include "record/LimitEntry.h"

#include <gtest/gtest.h>

namespace {

TEST(LimitEntryTest, ConvertsToTheNearestHundredth)
{
    struct Case {
        const char* text;
        bool fahrenheit;
        int hundredths;
    } cases[] = {
        {"8.2", false, 820},    // truncation would give 819
        {"46.4", true, 800},    // 7.99 by truncation
        {"77", true, 2500},     {"32", true, 0},
        {"-5.5", false, -550},  {"  -2 ", false, -200},
        {"", false, 0},         {"   ", true, 0}, // empty: 0, in either unit
        {"327.67", false, 32767}, {"-327.67", false, -32767},
        {"1e1", false, 1000},
    };
    for (const Case& c : cases) {
        const LimitEntry e = ReadLimit(QString::fromLatin1(c.text), c.fahrenheit, QStringLiteral("upper temperature limit"));
        EXPECT_TRUE(e.ok) << c.text << ": " << e.error.toStdString();
        EXPECT_EQ(e.hundredths, c.hundredths) << c.text;
    }
}

TEST(LimitEntryTest, RefusesTextsThatAreNoNumberOrTooLargeNamingTheField)
{
    struct Case {
        const char* text;
        bool fahrenheit;
    } cases[] = {
        {"abc", false}, {"8,2", false}, {"12x", false}, {"nan", false}, {"inf", false},
        {"327.68", false}, {"-400", false}, {"700", true}, // 371 C
        {"1e9", false},
    };
    for (const Case& c : cases) {
        const LimitEntry e = ReadLimit(QString::fromLatin1(c.text), c.fahrenheit, QStringLiteral("lower humidity limit"));
        EXPECT_FALSE(e.ok) << c.text;
        EXPECT_TRUE(e.error.contains(QStringLiteral("lower humidity limit"))) << e.error.toStdString();
        EXPECT_TRUE(e.error.contains(QString::fromLatin1(c.text))) << e.error.toStdString();
    }
}

TEST(LimitEntryTest, PairsCompareAfterConversion)
{
    const QString wrong = QStringLiteral("Alarm set wrong!");
    // 46.4 F and 8 C are the same limit once rounded: equal limits pass.
    LimitPair p = ReadLimitPair("46.4", "46.4", true, "temperature", wrong);
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.low, 800);
    EXPECT_EQ(p.high, 800);
    p = ReadLimitPair("8.01", "8", false, "temperature", wrong);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error, wrong);
    EXPECT_TRUE(p.reversed);
    p = ReadLimitPair("", "", false, "humidity", wrong);
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.low, 0);
    EXPECT_EQ(p.high, 0);
    p = ReadLimitPair("2", "x", false, "temperature", wrong);
    EXPECT_FALSE(p.ok);
    EXPECT_TRUE(p.error.contains("upper temperature limit")) << p.error.toStdString();
    EXPECT_FALSE(p.reversed);
}

} // namespace
