#pragma once

#include <cstddef>

// Widths of the body fields of a data file for one logger type. Every value
// (statistics, limits, samples) takes VALUE_WIDTH characters.
constexpr int VALUE_WIDTH = 7;
constexpr int ID_WIDTH = 11;
constexpr int TIME_WIDTH = 12;
constexpr int TIME_START_POS = ID_WIDTH;
constexpr int TIME_STOP_POS = ID_WIDTH + TIME_WIDTH;
constexpr int INTERVAL_POS = ID_WIDTH + 2 * TIME_WIDTH;
constexpr int TRAILER_SIZE = 64;       // description and end marker
constexpr int DESCRIPTION_SIZE = 60;
constexpr unsigned AREA_MARKER = 117506050; // 0x07010002

struct BodyLayout {
    int intervalWidth; // whole minutes
    int countWidth;
    bool limits;       // the two temperature limits follow the statistics
    bool humidity;     // five humidity values follow; each sample has two values

    int CountPos() const { return INTERVAL_POS + intervalWidth; }
    int StatsPos() const { return CountPos() + countWidth; }
    int LimitsPos() const { return StatsPos() + 3 * VALUE_WIDTH; }
    int HumidityPos() const { return LimitsPos() + (limits ? 2 * VALUE_WIDTH : 0); }
    int SamplesPos() const { return HumidityPos() + (humidity ? 5 * VALUE_WIDTH : 0); }
    int ValuesPerSample() const { return humidity ? 2 : 1; }
    // Body length (without the trailer) for count samples.
    long long BodyLength(long long count) const
    {
        return SamplesPos() + static_cast<long long>(VALUE_WIDTH) * ValuesPerSample() * count;
    }
};

// Types 2 and 5 have short interval and count fields and no limits; type 4
// carries humidity.
BodyLayout LayoutOfType(int type);
