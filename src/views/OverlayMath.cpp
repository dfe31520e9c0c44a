#include "views/OverlayMath.h"

#include "record/Excursions.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr float kMissing = -1000.0f;

bool Present(float value)
{
    return value > kMissing;
}

// A neighbour far beyond the plot is pulled in along the line to its
// inner neighbour, so that no coordinate grows beyond what a painter holds.
void PullIn(CurvePoint& outer, const CurvePoint& inner, double edge)
{
    if (outer.x == inner.x)
        return;
    const double t = (edge - outer.x) / (inner.x - outer.x);
    outer.value = static_cast<float>(outer.value + t * (inner.value - outer.value));
    outer.x = edge;
}

} // namespace

OverlayMission OverlayMissionOf(const CLoggerRecord& record)
{
    OverlayMission m;
    m.loggerId = record.m_strValue[ROW_ID].trimmed();
    m.start = record.m_tStart;
    const int n = std::min(record.ReceivedRows(), static_cast<int>(record.m_tTime.size()));
    m.times.assign(record.m_tTime.begin(), record.m_tTime.begin() + n);
    m.temp.assign(record.m_fTempShown.begin(), record.m_fTempShown.begin() + n);
    if (record.HasHumidity())
        m.humi.assign(record.m_fHumi.begin(), record.m_fHumi.begin() + n);
    const AlarmReport alarms = FindExcursions(record);
    m.tempLimits = alarms.temperature.inForce;
    m.tempLow = record.m_fLowLimit;
    m.tempHigh = record.m_fHighLimit;
    m.humiLimits = alarms.humidity.inForce;
    m.humiLow = record.m_fHumiLowLimit;
    m.humiHigh = record.m_fHumiHighLimit;
    return m;
}

time64 AxisOffset(const OverlayMission& mission, OverlayTime mode)
{
    if (mode == OverlayTime::Clock)
        return 0;
    return mission.times.empty() ? mission.start : mission.times.front();
}

AxisSpan FullSpan(const std::vector<OverlayMission>& missions, OverlayTime mode)
{
    bool any = false;
    AxisSpan span;
    for (const OverlayMission& m : missions) {
        if (m.times.empty())
            continue;
        const time64 offset = AxisOffset(m, mode);
        const double first = static_cast<double>(m.times.front() - offset);
        const double last = static_cast<double>(m.times.back() - offset);
        span.from = any ? std::min(span.from, first) : first;
        span.to = any ? std::max(span.to, last) : last;
        any = true;
    }
    if (!any)
        return {0, 3600};
    if (span.to <= span.from) {
        span.from -= 60;
        span.to += 60;
    }
    return span;
}

void DecimateCurve(const time64* times, const float* values, int count, time64 offset, const AxisSpan& span,
                   int columns, std::vector<CurvePoint>& points)
{
    points.clear();
    if (count <= 0 || columns <= 0 || span.Length() <= 0)
        return;
    const double scale = columns / span.Length();
    const auto xOf = [&](int i) { return (static_cast<double>(times[i] - offset) - span.from) * scale; };
    const auto axisTime = [offset](time64 t) { return static_cast<double>(t - offset); };
    const time64* end = times + count;
    const int first = static_cast<int>(
        std::lower_bound(times, end, span.from, [&](time64 t, double v) { return axisTime(t) < v; }) - times);
    const int stop = static_cast<int>(
        std::upper_bound(times, end, span.to, [&](double v, time64 t) { return v < axisTime(t); }) - times);

    int before = first - 1;
    while (before >= 0 && !Present(values[before]))
        --before;
    if (before >= 0)
        points.push_back({xOf(before), values[before]});
    const std::size_t leading = points.size();

    int column = -1, maxAt = 0, minAt = 0;
    const auto flush = [&] {
        if (column < 0)
            return;
        const int a = std::min(maxAt, minAt), b = std::max(maxAt, minAt);
        points.push_back({static_cast<double>(column), values[a]});
        if (a != b)
            points.push_back({static_cast<double>(column), values[b]});
    };
    for (int i = first; i < stop; ++i) {
        const float v = values[i];
        if (!Present(v))
            continue;
        const int c = std::min(static_cast<int>(xOf(i)), columns - 1);
        if (c != column) {
            flush();
            column = c;
            maxAt = minAt = i;
        } else if (v > values[maxAt]) {
            maxAt = i;
        } else if (v < values[minAt]) {
            minAt = i;
        }
    }
    flush();

    int after = stop;
    while (after < count && !Present(values[after]))
        ++after;
    if (after < count)
        points.push_back({xOf(after), values[after]});

    if (points.size() == 1 && (leading || after < count)) {
        points.clear(); // a lone neighbour: nothing of the curve is in the span
        return;
    }
    if (leading && points.size() > 1 && points.front().x < -1)
        PullIn(points.front(), points[1], -1);
    if (after < count && points.size() > 1 && points.back().x > columns)
        PullIn(points.back(), points[points.size() - 2], columns);
}

OverlayScale NiceScale(double low, double high, int maxTicks)
{
    if (!(high > low)) {
        low -= 1;
        high += 1;
    }
    const double rough = (high - low) / std::max(1, maxTicks - 1);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10;
    for (double f : {1.0, 2.0, 2.5, 5.0})
        if (power * f >= rough) {
            step = power * f;
            break;
        }
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

std::vector<LimitLine> LimitLines(const std::vector<OverlayMission>& missions, OverlayChannel channel)
{
    struct Band {
        bool inForce;
        float low, high;
        bool operator==(const Band&) const = default;
    };
    // A band not in force compares equal to any other not in force.
    const auto band = [](bool inForce, float low, float high) {
        return inForce ? Band{true, low, high} : Band{false, 0, 0};
    };
    std::vector<std::pair<int, Band>> bands;
    for (int i = 0; i < static_cast<int>(missions.size()); ++i) {
        const OverlayMission& m = missions[static_cast<std::size_t>(i)];
        if (channel == OverlayChannel::Temperature)
            bands.push_back({i, band(m.tempLimits, m.tempLow, m.tempHigh)});
        else if (m.HasHumidity())
            bands.push_back({i, band(m.humiLimits, m.humiLow, m.humiHigh)});
    }
    std::vector<LimitLine> lines;
    if (bands.empty())
        return lines;
    const bool shared = std::all_of(bands.begin(), bands.end(), [&](const auto& b) { return b.second == bands[0].second; });
    if (shared) {
        if (bands[0].second.inForce)
            lines = {{-1, bands[0].second.low}, {-1, bands[0].second.high}};
        return lines;
    }
    for (const auto& [mission, b] : bands)
        if (b.inForce)
            lines.insert(lines.end(), {{mission, b.low}, {mission, b.high}});
    return lines;
}
