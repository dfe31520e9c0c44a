#pragma once

#include "record/LoggerRecord.h"
#include "workflow/MissionEntry.h"

#include <QString>
#include <QTime>

// What the configuration dialog's fields show and read, as plain functions.

// The interval picker's time of a logger interval in seconds: whole hours
// (without whole days) and minutes; seconds are not shown (90 s: 00:01).
QTime IntervalPickerTime(time64 intervalSeconds);
// The interval in minutes the picker holds (01:30: 90).
int IntervalMinutes(const QTime& picker);

// A limit the logger holds (degrees C or %RH), as the limit field shows it
// in the unit in force: at most two decimals, no trailing zeros.
QString LimitFieldText(float value, bool fahrenheit);

// Text id of the run-state field: 77 recording, 78 delayed, else 76.
int RunStateTextId(int runState);
// A run state of a logger that records, or waits for its delayed start.
bool MissionRunning(int runState);

// The question Start asks, after a warning when the logger holds samples
// that were not downloaded.
QString StartQuestion(int undownloadedSamples, std::uint16_t language);

// What a limit field will be stored as, in the unit the field is typed in
// (degrees F come back on the logger's 0.01 degree C grid: 60 -> "stored:
// 60.01°F"), or why it cannot be stored. humidity: a %RH field, never
// converted.
QString StoredLimitText(const QString& typed, bool fahrenheit, bool humidity, std::uint16_t language);

// The status line after a Start the logger took: its ID, the interval and
// when it records from (the later of start and now), e.g. " Started
// UTH50040004: every 10 min from 2026-12-11 12:00."
QString MissionStartedText(const QString& id, int intervalMinutes, time64 start, time64 now,
                           std::uint16_t language);

// What "Invalid alarm limits!" goes on to say: the pair whose lower limit is above
// its upper one and the two values as typed, e.g. "Temperature: lower 90.00
// is above upper 86.00".
QString ReversedLimitsText(const MissionEntry& entry, LimitQuantity pair, std::uint16_t language);
