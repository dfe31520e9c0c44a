#include "sim/LiveMission.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDaySeconds = 86400.0;
// An excursion ends every 8 hours of mission time and lasts an hour.
constexpr double kExcursionEvery = 8 * 3600.0;
constexpr double kExcursionLength = 3600.0;

// A small deterministic noise in -1 .. 1 for sample index.
double Noise(int index)
{
    std::uint32_t x = static_cast<std::uint32_t>(index) * 2654435761u + 0x9E3779B9u;
    x ^= x >> 15;
    x *= 0x2C1B3C6Du;
    x ^= x >> 12;
    return static_cast<double>(x % 2001u) / 1000.0 - 1.0;
}

} // namespace

LiveClock::LiveClock(time64 now, double scale)
    : m_base(Steady::now()), m_tBase(now), m_scale(std::max(scale, 0.0))
{
}

time64 LiveClock::NowAt(Steady::time_point at) const
{
    const double elapsed = std::chrono::duration<double>(at - m_base).count();
    return m_tBase + static_cast<time64>(std::floor(std::max(elapsed, 0.0) * m_scale));
}

void LiveClock::SetAt(time64 t, Steady::time_point at)
{
    m_base = at;
    m_tBase = t;
}

int DueSamples(time64 start, int intervalMinutes, time64 now, int capacity)
{
    if (now < start || capacity <= 0)
        return 0;
    const time64 interval = static_cast<time64>(std::max(intervalMinutes, 1)) * 60;
    const time64 due = (now - start) / interval + 1;
    return static_cast<int>(std::min<time64>(due, capacity));
}

LiveReading MissionReading(int index, int intervalMinutes)
{
    const double t = static_cast<double>(index) * std::max(intervalMinutes, 1) * 60.0;
    const double day = 2.0 * M_PI * t / kDaySeconds;
    double temp = 5.0 + 1.5 * std::sin(day) + 0.15 * Noise(index);
    double humi = 55.0 + 8.0 * std::cos(day) + 1.0 * Noise(index + 7919);
    const double intoCycle = std::fmod(t, kExcursionEvery);
    const double excursionStart = kExcursionEvery - kExcursionLength;
    if (intoCycle >= excursionStart) {
        const double rise = std::sin(M_PI * (intoCycle - excursionStart) / kExcursionLength);
        temp += 7.0 * rise;
        humi += 20.0 * rise;
    }
    return {static_cast<std::int16_t>(std::lround(temp * 100.0)), static_cast<std::int16_t>(std::lround(humi * 100.0))};
}
