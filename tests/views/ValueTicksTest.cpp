#include "views/ValueTicks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<QString> Levels(const ValueScale& s)
{
    std::vector<QString> texts;
    for (int k = 0; k <= 4; ++k)
        texts.push_back(ValueScaleText(s, k));
    return texts;
}

// Whether value is a whole multiple of unit, within float slack.
bool MultipleOf(double value, double unit)
{
    const double ratio = value / unit;
    return std::fabs(ratio - std::round(ratio)) < 1e-6;
}

const double kRoundMantissas[] = {1.0, 2.0, 2.5, 5.0};

bool IsRoundStep(double step)
{
    const double exponent = std::floor(std::log10(step) + 1e-9);
    const double mantissa = step / std::pow(10.0, exponent);
    for (const double m : kRoundMantissas)
        if (std::fabs(mantissa - m) < 1e-6)
            return true;
    return false;
}

// The next smaller round step: 5 -> 2.5 -> 2 -> 1 -> 0.5 ...
double SmallerRoundStep(double step)
{
    const double exponent = std::floor(std::log10(step) + 1e-9);
    const double mantissa = step / std::pow(10.0, exponent);
    if (mantissa > 4.0)
        return 2.5 * std::pow(10.0, exponent);
    if (mantissa > 2.2)
        return 2.0 * std::pow(10.0, exponent);
    if (mantissa > 1.5)
        return 1.0 * std::pow(10.0, exponent);
    return 5.0 * std::pow(10.0, exponent - 1);
}

// Whether any allowed start (a multiple of the step or, for 1 and 2 x 10^n,
// of half of it) lets four steps cover low .. high.
bool AnyStartCovers(double step, double low, double high)
{
    const double exponent = std::floor(std::log10(step) + 1e-9);
    const double mantissa = step / std::pow(10.0, exponent);
    const bool halves = std::fabs(mantissa - 1.0) < 1e-6 || std::fabs(mantissa - 2.0) < 1e-6;
    const double unit = halves ? step / 2 : step;
    return std::floor(low / unit + 1e-9) * unit + 4 * step >= high - 1e-9 * step;
}

} // namespace

TEST(ValueTicks, RoundLevelsForTypicalRanges)
{
    struct Case {
        double low, high;
        std::vector<QString> levels;
    };
    const Case cases[] = {
        {10, 30, {"10", "15", "20", "25", "30"}},             // a record of 10 .. 30 C
        {50, 86, {"50", "60", "70", "80", "90"}},             // the same in F
        {71.6, 82.38, {"70", "75", "80", "85", "90"}},        // the five levels that read 82.38, 79.69 ...
        {49.08, 81.81, {"45", "55", "65", "75", "85"}},       // half a step of 10 keeps 40 .. 120 %RH away
        {50, 59, {"50.0", "52.5", "55.0", "57.5", "60.0"}},   // 2.5 steps show their tenths
        {2.0, 3.0, {"2.00", "2.25", "2.50", "2.75", "3.00"}},
        {0.1, 0.9, {"0.1", "0.3", "0.5", "0.7", "0.9"}},      // 0.3 is not a float: slack keeps it
        {-12.3, 4.7, {"-15", "-10", "-5", "0", "5"}},         // never "-0"
        {-0.4, 0.3, {"-0.4", "-0.2", "0.0", "0.2", "0.4"}},
        {0, 1000, {"0", "250", "500", "750", "1000"}},
        {21.5, 21.5, {"20.5", "21.0", "21.5", "22.0", "22.5"}}, // flat: one unit each side
        {NAN, 3, {"-1.0", "-0.5", "0.0", "0.5", "1.0"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Levels(ChooseValueScale(c.low, c.high, 4)), c.levels) << c.low << " .. " << c.high;
}

// Over many ranges of every size and sign: the scale covers the range, its
// step is round, its levels start on the step (or half of it), and no
// smaller round step could have covered it.
TEST(ValueTicks, SmallestRoundStepThatCoversAnyRange)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> centre(-200.0, 200.0);
    std::uniform_real_distribution<double> decade(-3.0, 3.0);
    for (int i = 0; i < 20000; ++i) {
        const double width = std::pow(10.0, decade(random));
        const double low = centre(random);
        const double high = low + width;
        const ValueScale s = ChooseValueScale(low, high, 4);
        SCOPED_TRACE(testing::Message() << low << " .. " << high << ": " << s.minimum << " step " << s.step);
        ASSERT_TRUE(IsRoundStep(s.step));
        ASSERT_LE(s.minimum, low + 1e-9 * s.step);
        ASSERT_GE(s.Maximum(4), high - 1e-9 * s.step);
        ASSERT_TRUE(MultipleOf(s.minimum, s.step) || MultipleOf(s.minimum, s.step / 2));
        ASSERT_FALSE(AnyStartCovers(SmallerRoundStep(s.step), low, high));
        // The text of every level is the level, to the last shown digit.
        for (int k = 0; k <= 4; ++k)
            ASSERT_NEAR(ValueScaleText(s, k).toDouble(), s.Level(k), s.step * 1e-6) << k;
    }
}
