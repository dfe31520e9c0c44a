#pragma once

#include "base/TextId.h"

#include <QString>

// What a logger type can do, one row per type code 0..6. Code asks this
// table; it never compares type numbers itself.

// The serial clock-set frame a type takes.
enum class SerialClockFrame {
    None,      // the clock goes with the settings, or not at all
    Short,     // clock bytes right after the head
    Padded,    // three zero bytes, then the clock bytes
    ByIdLetter, // Padded when the ID begins with a small "i", else Short
};

struct LoggerType {
    int code;
    int textId;              // type description ("Temp Record", ...); 0: none
    bool humidity;           // a humidity channel beside the temperature
    bool description;        // holds a description text, read on identification
    bool alarmLimits;        // reports and stores temperature alarm limits
    bool stopsOnDownload;    // the identification before a download stops it
    bool stopsOnReidentify;  // the serial watchdog's repeated identification stops it
    bool usbStatusPoll;      // run state and battery polled over USB
    bool usbConfigurable;    // Start Setting over USB
    bool serialConfigurable; // Start Setting over the serial link
    bool clockCommand;       // its clock is set by Calibration Time (offered when its times are wrong)
    bool reportsBattery;     // the battery strip shows its level
    bool delayedStartState;  // run state 2 means a delayed start
    bool shortStatusRequest; // the serial status request carries the clock right after the head
    bool serialLongBlocks;   // takes 64-byte serial sample blocks
    bool usbSignMagnitude;   // USB settings limits in sign-magnitude (else two's complement)
    bool clockWithInterval;  // the serial clock set carries the sample interval
    SerialClockFrame serialClock;
    int sampleBytes;         // bytes per sample in logger memory
    int usbBlockSamples;     // samples per USB block read
    int usbSettingsBytes;    // settings block length written over USB; 0: none
    bool serialBattery;      // its serial status frames carry the battery level
};

constexpr int kLoggerTypeCount = 7;

// The row of a type code; codes outside 0..6 get the row of 0 (unknown).
const LoggerType& LoggerTypeOf(int code);

// Whether a code names a known logger (1..6).
inline bool IsKnownType(int code) { return code >= 1 && code < kLoggerTypeCount; }

// The serial clock frame of a logger, its ID decided where the type says so.
SerialClockFrame SerialClockFrameOf(int code, const QString& id);
