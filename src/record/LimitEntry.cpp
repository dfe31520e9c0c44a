#include "record/LimitEntry.h"

#include <cmath>

namespace {

constexpr double kMaxHundredths = 32767.0;

} // namespace

std::optional<int> LimitHundredths(double value, bool fahrenheit)
{
    const double celsius = fahrenheit ? (value - 32.0) / 1.8 : value;
    // Rounded, not truncated: 8.2 x 100 is 819.999... in binary floating point.
    const double hundredths = std::round(celsius * 100.0);
    if (!std::isfinite(hundredths) || std::fabs(hundredths) > kMaxHundredths)
        return std::nullopt;
    return static_cast<int>(hundredths);
}

LimitEntry ReadLimit(const QString& text, bool fahrenheit, const QString& field)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {true, 0, {}};
    bool isNumber = false;
    const double value = trimmed.toDouble(&isNumber);
    if (!isNumber || !std::isfinite(value))
        return {false, 0, QStringLiteral("The %1 is not a number: \"%2\".").arg(field, trimmed)};
    const std::optional<int> hundredths = LimitHundredths(value, fahrenheit);
    if (!hundredths)
        return {false, 0, QStringLiteral("The %1 %2 is beyond what a logger can hold.").arg(field, trimmed)};
    return {true, *hundredths, {}};
}

LimitPair ReadLimitPair(const QString& lowText, const QString& highText, bool fahrenheit, const QString& quantity,
                        const QString& wrongOrder)
{
    const LimitEntry low = ReadLimit(lowText, fahrenheit, QStringLiteral("lower %1 limit").arg(quantity));
    if (!low.ok)
        return {false, 0, 0, low.error};
    const LimitEntry high = ReadLimit(highText, fahrenheit, QStringLiteral("upper %1 limit").arg(quantity));
    if (!high.ok)
        return {false, 0, 0, high.error};
    if (low.hundredths > high.hundredths)
        return {false, low.hundredths, high.hundredths, wrongOrder, true};
    return {true, low.hundredths, high.hundredths, {}};
}
