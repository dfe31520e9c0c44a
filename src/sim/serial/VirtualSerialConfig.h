#pragma once

#include "record/LoggerRecord.h"

#include <QString>
#include <vector>

// What a virtual serial logger holds: identity, mission, samples and state.
struct VirtualSerialConfig {
    int type = 3;          // 2 .. 6
    QString id;            // 11 characters; empty: a default ID of the type
    time64 start = 0;      // mission start; 0: one day before now
    int intervalMinutes = 10;
    std::vector<float> temps;
    std::vector<float> humis; // type 4
    float highLimit = 8.0f, lowLimit = 2.0f;
    float humiHighLimit = 80.0f, humiLowLimit = 20.0f;
    int countField = -1;   // count sent in the information frame; -1: the number of samples
    int statusByte = 1;    // status byte of the information frame (types 2, 5, 6)
    int runState = 1;      // 0 stopped, 1 recording, 2 delayed start
    int batteryLevel = 6;  // 11-byte status frames
    int batteryRaw = 734;  // 10-byte status frames (voltage reading)
    QString description;
    bool type2LongInfo = false; // a type 2 logger that answers with the 41-byte layout
    bool paced = true;     // 9600 baud; false: as fast as the pty takes it
    double timeScale = 1.0; // how much faster than the computer's its clock runs

    // A logger of `type` with `count` samples of a smooth daily curve.
    static VirtualSerialConfig Demo(int type, int count);
    QString EffectiveId() const;
    int SampleCount() const { return static_cast<int>(temps.size()); }
};
