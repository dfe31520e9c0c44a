#include "views/GraphMath.h"

#include <cmath>

GraphGeometry GraphGeometry::AtScale(float s, int extraWidth, int extraHeight)
{
    GraphGeometry g;
    const auto ew = static_cast<float>(extraWidth), eh = static_cast<float>(extraHeight);
    g.scale = s;
    g.extraHeight = eh;
    g.bitmapWidth = g.bitmapWidth * s + ew;
    g.bitmapHeight = g.bitmapHeight * s + eh;
    g.x0 *= s;
    g.tickStart *= s;
    g.levelStep = g.levelStep * s + eh / 4;
    g.plotWidth = g.plotWidth * s + ew;
    g.columns = TruncClamped(g.bitmapWidth) - TruncClamped(g.x0);
    g.pointCapacity = 2 * g.columns + 2;
    g.topLevel = TruncClamped(25.0 * s);
    g.bottomLevel = TruncClamped(225.0 * s + eh);
    g.valueSpan = g.valueSpan * s + eh;
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

namespace {

int Clamp(long long value, long long low, long long high)
{
    return static_cast<int>(value < low ? low : (value > high ? high : value));
}

// round(numerator / denominator) for a non-negative numerator and a
// positive denominator, halves rounding up.
long long RoundedQuotient(long long numerator, long long denominator)
{
    return (2 * numerator + denominator) / (2 * denominator);
}

int SpanOf(int sampleCount, int zoomDivisor)
{
    const int per = zoomDivisor > 0 ? sampleCount / zoomDivisor : sampleCount;
    return per - 1 > 1 ? per - 1 : 1;
}

// Samples that can start a view that still reaches the record's end.
int LastFullFirst(int sampleCount, int span)
{
    return sampleCount - 1 - span > 0 ? sampleCount - 1 - span : 0;
}

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

// One past the last offset (from the first visible sample) on column c.
long long ColumnEnd(const VisibleRange& v, int c)
{
    if (v.columns <= 1)
        return static_cast<long long>(v.last) - v.first + 1;
    const long long numerator = (2LL * c + 1) * v.span;
    const long long denominator = 2LL * (v.columns - 1);
    return (numerator + denominator - 1) / denominator;
}

} // namespace

VisibleRange PlanVisible(int sampleCount, int zoomDivisor, int firstSample, int columns)
{
    VisibleRange v;
    v.columns = columns > 1 ? columns : 1;
    v.span = SpanOf(sampleCount, zoomDivisor);
    v.first = firstSample > 0 ? firstSample : 0;
    const long long last = static_cast<long long>(v.first) + v.span;
    v.last = static_cast<int>(last < sampleCount - 1 ? last : sampleCount - 1);
    return v;
}

int ColumnOfSample(const VisibleRange& v, int sample)
{
    const long long offset = static_cast<long long>(sample) - v.first;
    const long long scaled = offset * (v.columns - 1);
    return static_cast<int>(offset >= 0 ? RoundedQuotient(scaled, v.span) : -RoundedQuotient(-scaled, v.span));
}

int SampleAtColumn(const VisibleRange& v, int column)
{
    if (v.last < v.first)
        return v.first;
    if (v.columns <= 1)
        return v.first;
    const int c = Clamp(column, 0, v.columns - 1);
    const long long sample = v.first + RoundedQuotient(static_cast<long long>(c) * v.span, v.columns - 1);
    return Clamp(sample, v.first, v.last);
}

int DecimateColumns(const float* temp, const float* humi, const VisibleRange& v, int capacity, int* tempIdx,
                    int* humiIdx, int* columnOf)
{
    int n = 0;
    for (int i = v.first; i <= v.last && n + 2 <= capacity;) {
        const int column = ColumnOfSample(v, i);
        const long long end = static_cast<long long>(v.first) + ColumnEnd(v, column);
        const int stop = end > v.last + 1LL ? v.last + 1 : static_cast<int>(end > i ? end : i + 1);
        if (stop - i == 1) {
            tempIdx[n] = humiIdx[n] = i;
            columnOf[n++] = column;
        } else {
            PutInOrder(BucketExtremes(temp, i, stop), tempIdx, n);
            PutInOrder(BucketExtremes(humi, i, stop), humiIdx, n);
            columnOf[n] = columnOf[n + 1] = column;
            n += 2;
        }
        i = stop;
    }
    return n;
}

int ZoomedIn(int zoomDivisor, int sampleCount)
{
    const long long z = 2LL * zoomDivisor;
    if (z >= sampleCount)
        return sampleCount > 0 ? sampleCount : 1;
    return z > 0 ? static_cast<int>(z) : 1;
}

int ZoomedOut(int zoomDivisor, int sampleCount)
{
    const int z = zoomDivisor / 2;
    if (z >= sampleCount)
        return sampleCount > 0 ? sampleCount : 1;
    return z > 0 ? z : 1;
}

int FirstSampleKeeping(int anchor, int column, int sampleCount, int zoomDivisor, int columns)
{
    const int span = SpanOf(sampleCount, zoomDivisor);
    const long long c = column > 0 ? column : 0;
    const long long shift = columns > 1 ? RoundedQuotient(c * span, columns - 1) : 0;
    return Clamp(anchor - shift, 0, LastFullFirst(sampleCount, span));
}

int FirstSampleAfterPan(const VisibleRange& v, int dx, int sampleCount)
{
    const long long pixels = dx < 0 ? -static_cast<long long>(dx) : dx;
    const long long samples = v.columns > 1 ? RoundedQuotient(pixels * v.span, v.columns - 1) : 0;
    const long long first = dx < 0 ? v.first + samples : v.first - samples;
    const int upper = LastFullFirst(sampleCount, v.span);
    return Clamp(first, 0, upper > v.first ? upper : v.first);
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

float LimitPosition(const ValueAxis& axis, float limit, int topLevel, int bottomLevel)
{
    const float y = static_cast<float>(bottomLevel) - (limit - axis.minimum) / axis.unitsPerPixel;
    if (y < static_cast<float>(topLevel))
        return static_cast<float>(topLevel - 5);
    if (y > static_cast<float>(bottomLevel))
        return static_cast<float>(bottomLevel + 5);
    return y;
}
