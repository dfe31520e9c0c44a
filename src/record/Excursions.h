#pragma once

#include "record/LoggerRecord.h"

#include <vector>

// Alarm excursions of a record: for each alarm limit in force, every maximal
// run of consecutive samples past it, and the totals per channel.

enum class AlarmChannel { Temperature, Humidity };
enum class AlarmLimit { Upper, Lower };

struct Excursion {
    AlarmChannel channel = AlarmChannel::Temperature;
    AlarmLimit limit = AlarmLimit::Upper;
    float limitValue = 0; // degrees C or %RH
    int first = 0;        // index of the first sample of the run
    int last = 0;         // index of its last sample
    time64 firstTime = 0;
    time64 lastTime = 0;
    int samples = 0;
    time64 duration = 0; // samples x interval, seconds
    float peak = 0;      // the maximum past an upper limit, the minimum past a lower one
};

struct ChannelTotals {
    bool inForce = false; // the channel's alarm band is set
    int excursions = 0;
    time64 above = 0;   // seconds past the upper limit
    time64 below = 0;   // seconds past the lower limit
    time64 longest = 0; // the longest excursion, 0 when there is none
};

struct AlarmReport {
    // Sorted by first sample, then temperature before humidity, then upper before lower.
    std::vector<Excursion> excursions;
    ChannelTotals temperature;
    ChannelTotals humidity;

    const ChannelTotals& Totals(AlarmChannel channel) const
    {
        return channel == AlarmChannel::Temperature ? temperature : humidity;
    }
};

// Searches the received samples: the shown temperature series and, for a
// logger with humidity, the humidity series. A sample is past a limit when
// strictly above the upper or below the lower one (as the data list marks
// it); a missing sample (-1000 and below) ends a run and never counts. A
// channel's alarm is in force when its flag is set and its lower limit is
// below its upper one.
AlarmReport FindExcursions(const CLoggerRecord& record);
