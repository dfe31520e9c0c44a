#include "views/ValueTicks.h"

#include <cmath>

namespace {

// Slack for the binary representation of decimal steps (0.1, 0.25 ...).
constexpr double kSlack = 1e-9;

struct RoundStep {
    double mantissa;
    int exponent;
    double Value() const { return mantissa * std::pow(10.0, exponent); }
    int Decimals() const
    {
        const int d = (mantissa == 2.5 ? 1 : 0) - exponent;
        return d > 0 ? d : 0;
    }
};

constexpr double kMantissas[] = {1.0, 2.0, 2.5, 5.0};

// The bottom level: the highest multiple of `unit` at or below low.
double Floor(double low, double unit)
{
    return std::floor(low / unit + kSlack) * unit;
}

bool Covers(double minimum, double step, double high, int intervals)
{
    return minimum + intervals * step >= high - kSlack * step;
}

// Half of a step of 1 or 2 x 10^n, itself round: 5 x 10^(n-1) or 1 x 10^n.
RoundStep HalfOf(const RoundStep& step)
{
    return step.mantissa == 1.0 ? RoundStep{5.0, step.exponent - 1} : RoundStep{1.0, step.exponent};
}

// Where the scale may start: on a multiple of the step, or, for steps of 1
// and 2 x 10^n, of half the step (the levels then read 45, 55, 65 ... or
// 10, 30, 50 ..., still round). Sets the scale and returns whether it covers.
bool Place(const RoundStep& step, double low, double high, int intervals, ValueScale& scale)
{
    scale.step = step.Value();
    scale.minimum = Floor(low, scale.step);
    scale.decimals = step.Decimals();
    if (Covers(scale.minimum, scale.step, high, intervals))
        return true;
    if (step.mantissa != 1.0 && step.mantissa != 2.0)
        return false;
    const RoundStep half = HalfOf(step);
    scale.minimum = Floor(low, half.Value());
    scale.decimals = half.Decimals();
    return Covers(scale.minimum, scale.step, high, intervals);
}

} // namespace

ValueScale ChooseValueScale(double low, double high, int intervals)
{
    if (intervals < 1)
        intervals = 1;
    if (!std::isfinite(low) || !std::isfinite(high) || !std::isfinite(high - low)) {
        low = 0;
        high = 0;
    }
    if (!(high > low)) {
        low -= 1;
        high += 1;
    }
    // Steps below range / intervals never cover; start one decade lower so
    // that float slack cannot skip the right one.
    const int firstExponent = static_cast<int>(std::floor(std::log10((high - low) / intervals))) - 1;
    for (int exponent = firstExponent;; ++exponent) {
        for (const double mantissa : kMantissas) {
            ValueScale scale;
            if (Place(RoundStep{mantissa, exponent}, low, high, intervals, scale))
                return scale;
        }
    }
}

QString ValueScaleText(const ValueScale& scale, int k)
{
    double value = scale.Level(k);
    if (std::fabs(value) < scale.step * kSlack)
        value = 0; // never "-0"
    return QString::number(value, 'f', scale.decimals);
}
