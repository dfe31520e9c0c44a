#include "record/SampleValues.h"

#include "record/Units.h"

#include <charconv>

namespace {

constexpr float kMissing = -1000.0f;

} // namespace

double RoundToHundredths(double value)
{
    // Through the decimal text, so the number is the one the list prints
    // (half-way cases go the way the text goes).
    char text[64];
    const auto printed = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
    if (printed.ec != std::errc())
        return value;
    double rounded = value;
    std::from_chars(text, printed.ptr, rounded);
    return rounded;
}

SampleValue TempValue(const CLoggerRecord& r, int row, TempUnit unit)
{
    const float t = SampleAt(r.m_fTempShown, row);
    if (!(t > kMissing))
        return {};
    const bool past = r.m_bTempAlarm && (t > r.m_fHighLimit || t < r.m_fLowLimit);
    return {true, RoundToHundredths(InUnit(t, unit)), past};
}

SampleValue HumiValue(const CLoggerRecord& r, int row)
{
    const float h = SampleAt(r.m_fHumi, row);
    if (!(h > kMissing))
        return {};
    const bool past = r.m_bHumiAlarm && (h > r.m_fHumiHighLimit || h < r.m_fHumiLowLimit);
    return {true, RoundToHundredths(static_cast<double>(h)), past};
}
