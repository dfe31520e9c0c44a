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

// The question Start asks: "Sure to start?", after a warning when the
// logger holds samples that were not downloaded.
QString StartQuestion(int undownloadedSamples, std::uint16_t language);

// What "Alarm set wrong!" goes on to say: the pair whose lower limit is above
// its upper one and the two values as typed, e.g. "Temperature: lower 90.00
// is above upper 86.00".
QString ReversedLimitsText(const MissionEntry& entry, LimitQuantity pair, std::uint16_t language);
