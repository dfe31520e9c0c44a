#pragma once

#include "base/DisplaySettings.h"
#include "record/Excursions.h"

#include <QString>

// The texts of the alarm excursions in a language: captions, values in a
// unit, durations and totals. The window's Alarms page and the CLI's alarms
// command share them.

enum class AlarmText {
    Tab,          // "Alarms"
    Channel,      // column captions
    Limit,
    Start,
    End,
    Duration,
    Peak,
    Excursions,   // totals captions
    TimeAbove,
    TimeBelow,
    Longest,
    NoAlarm,      // no alarm limit in force
};

QString GetAlarmText(AlarmText id, std::uint16_t language);

// "Temperature" / "Humidity".
QString ChannelText(AlarmChannel channel, std::uint16_t language);
// "Upper Limit" / "Lower Limit".
QString LimitText(AlarmLimit limit, std::uint16_t language);
// A temperature ("%.2f" in unit, with the unit) or a humidity ("%.2f%RH").
QString AlarmValueText(AlarmChannel channel, float value, TempUnit unit);
// A value in the unit the texts use: unit for a temperature, %RH.
double AlarmValueInUnit(AlarmChannel channel, float value, TempUnit unit);
// "Excursions: 2  Time above: 00:30:00  Time below: 00:10:00  Longest: 00:30:00",
// the parts joined by separator.
QString TotalsText(const ChannelTotals& totals, const QString& separator, std::uint16_t language);
