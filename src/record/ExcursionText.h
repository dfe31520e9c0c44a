#pragma once

#include "record/Excursions.h"

#include <QString>

// The texts of the alarm excursions, in the language in force: captions,
// values in the unit in force, durations and totals. The window's Alarms
// page and the CLI's alarms command share them.

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

QString GetAlarmText(AlarmText id);

// "Temperature" / "Humidity".
QString ChannelText(AlarmChannel channel);
// "Upper Limit" / "Lower Limit".
QString LimitText(AlarmLimit limit);
// A temperature ("%.2f" in the unit in force, with the unit) or a humidity ("%.2f%RH").
QString AlarmValueText(AlarmChannel channel, float value);
// A value in the unit the texts use: degrees F or C for a temperature, %RH.
double AlarmValueInUnit(AlarmChannel channel, float value);
// "Excursions: 2  Time above: 00:30:00  Time below: 00:10:00  Longest: 00:30:00",
// the parts joined by separator.
QString TotalsText(const ChannelTotals& totals, const QString& separator);
