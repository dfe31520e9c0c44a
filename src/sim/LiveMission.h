#pragma once

#include "record/LoggerRecord.h"

#include <chrono>
#include <cstdint>

// What lets a virtual logger record a mission as time passes in the
// program: a clock that runs on from the time it was set, `scale` times as
// fast as the computer's (a demo watches an hour of recording in seconds),
// and the readings a recording takes.

class LiveClock {
public:
    using Steady = std::chrono::steady_clock;

    // A clock set to `now` that runs `scale` times as fast as the steady
    // clock; scale 0 stops it (it then moves only through Advance).
    LiveClock(time64 now, double scale);

    time64 Now() const { return NowAt(Steady::now()); }
    time64 NowAt(Steady::time_point at) const;
    // The clock := t; it runs on from there.
    void Set(time64 t) { SetAt(t, Steady::now()); }
    void SetAt(time64 t, Steady::time_point at);
    void Advance(time64 seconds) { m_tBase += seconds; }
    double Scale() const { return m_scale; }

private:
    Steady::time_point m_base;
    time64 m_tBase;
    double m_scale;
};

// How many samples a mission started at `start` with `intervalMinutes`
// has taken by `now`: the first at the start, then one per interval, at
// most capacity.
int DueSamples(time64 start, int intervalMinutes, time64 now, int capacity);

// The reading of sample `index` of a recording mission, in hundredths:
// a slow daily cycle around 5 C (55 %RH) with some noise, and now and then
// an excursion of an hour well above it, as when a door stays open.
struct LiveReading {
    std::int16_t temp;
    std::int16_t humi;
};
LiveReading MissionReading(int index, int intervalMinutes);
