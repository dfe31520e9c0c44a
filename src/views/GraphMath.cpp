#include "views/GraphMath.h"

#include <cmath>

GraphGeometry GraphGeometry::AtScale(float s)
{
    GraphGeometry g;
    g.scale = s;
    g.bitmapWidth *= s;
    g.bitmapHeight *= s;
    g.x0 *= s;
    g.tickStart *= s;
    g.levelStep *= s;
    g.plotWidth *= s;
    g.pointCapacity = TruncClamped(495.0 * s);
    g.topLevel = TruncClamped(25.0 * s);
    g.bottomLevel = TruncClamped(225.0 * s);
    g.valueSpan *= s;
    return g;
}

int TruncClamped(double value)
{
    constexpr double kLimit = 1.0e9;
    if (std::isnan(value))
        return 0;
    if (value > kLimit)
        return static_cast<int>(kLimit);
    if (value < -kLimit)
        return static_cast<int>(-kLimit);
    return static_cast<int>(value);
}

DecimationPlan PlanDecimation(int sampleCount, int zoomDivisor, float plotWidth)
{
    DecimationPlan plan;
    plan.per = zoomDivisor > 0 ? sampleCount / zoomDivisor : sampleCount;
    if (static_cast<float>(plan.per) >= plotWidth) {
        plan.stride = TruncClamped(2.0f * static_cast<float>(plan.per) / plotWidth + 1.0f);
        plan.pixelStep = 1;
    } else {
        plan.stride = 2;
        plan.pixelStep = plan.per < 1 ? 1 : TruncClamped(plotWidth / static_cast<float>(plan.per));
        if (plan.pixelStep < 1)
            plan.pixelStep = 1;
    }
    plan.maxPoints = TruncClamped(plotWidth / static_cast<float>(plan.pixelStep) + 2.0f);
    return plan;
}

namespace {

struct Extremes {
    int maxIndex;
    int minIndex;
};

// First maximum and last minimum of values[first .. end).
Extremes BucketExtremes(const float* values, int first, int end)
{
    Extremes e{first, first};
    for (int j = first + 1; j < end; ++j) {
        if (values[j] > values[e.maxIndex])
            e.maxIndex = j;
        if (values[j] <= values[e.minIndex])
            e.minIndex = j;
    }
    return e;
}

void PutInOrder(const Extremes& e, int* slots, int n)
{
    slots[n] = e.maxIndex < e.minIndex ? e.maxIndex : e.minIndex;
    slots[n + 1] = e.maxIndex < e.minIndex ? e.minIndex : e.maxIndex;
}

} // namespace

int DecimateSlots(const float* temp, const float* humi, int sampleCount, int firstSample,
                  const DecimationPlan& plan, int capacity, int* tempIdx, int* humiIdx)
{
    if (sampleCount < 1 || plan.stride < 1)
        return 0;
    int n = 0;
    for (int i = firstSample < 0 ? 0 : firstSample; i < sampleCount && n < plan.maxPoints; i += plan.stride) {
        if (n + 2 > capacity)
            break;
        const int end = i + plan.stride < sampleCount ? i + plan.stride : sampleCount;
        const Extremes t = BucketExtremes(temp, i, end);
        const Extremes h = BucketExtremes(humi, i, end);
        const bool two = t.maxIndex != t.minIndex;
        if (two)
            PutInOrder(t, tempIdx, n);
        else
            tempIdx[n] = t.maxIndex;
        if (h.maxIndex != h.minIndex) {
            PutInOrder(h, humiIdx, n);
        } else {
            humiIdx[n] = h.maxIndex;
            humiIdx[n + 1] = h.maxIndex;
        }
        n += two ? 2 : 1;
    }
    return n;
}

ValueAxis MakeAxis(float minimum, float maximum, float valueSpan)
{
    ValueAxis axis;
    if (!(maximum > minimum) || !std::isfinite(maximum - minimum)) {
        const float centre = std::isfinite(minimum) ? minimum : 0.0f;
        minimum = centre - 1.0f;
        maximum = centre + 1.0f;
    }
    axis.minimum = minimum;
    axis.maximum = maximum;
    axis.unitsPerPixel = (maximum - minimum) / valueSpan;
    return axis;
}

int ValueToY(const ValueAxis& axis, float value, int bottomLevel)
{
    return TruncClamped(static_cast<float>(bottomLevel) - (value - axis.minimum) / axis.unitsPerPixel);
}

float TickValue(const ValueAxis& axis, int k, float levelStep)
{
    return axis.minimum + static_cast<float>(k) * axis.unitsPerPixel * levelStep;
}

float LimitPosition(const ValueAxis& axis, float limit, int topLevel, int bottomLevel)
{
    const float y = static_cast<float>(bottomLevel) - (limit - axis.minimum) / axis.unitsPerPixel;
    if (y < static_cast<float>(topLevel))
        return static_cast<float>(topLevel - 5);
    if (y > static_cast<float>(bottomLevel))
        return static_cast<float>(bottomLevel + 5);
    return y;
}

int CursorSlot(int clickX, float x0, int pixelStep, int pointCount)
{
    const float p = (static_cast<float>(clickX) - x0) / static_cast<float>(pixelStep > 0 ? pixelStep : 1);
    int slot = TruncClamped(p);
    if (p - static_cast<float>(slot) > 0.5f)
        ++slot;
    if (slot > pointCount - 1)
        slot = pointCount - 1;
    if (slot < 0)
        slot = 0;
    return slot;
}
