#pragma once

#include <QByteArray>
#include <QString>

// The number formats of the worksheet's cells, shared by both sheets so that
// a value shows the same text wherever it stands.

// Two decimals and the unit: the unit quoted, so that a "%" in it is text
// and does not scale the value.
inline QByteArray UnitFormat(const QString& unit)
{
    return "0.00\"" + unit.toUtf8() + '"';
}

// A local date-time as the data list shows it: "2026-6-15 08:00".
inline const QByteArray kDateTimeFormat = "yyyy-m-d hh:mm";
// As a logger's read-out shows its start and stop: two blanks before the time.
inline const QByteArray kWideDateTimeFormat = "yyyy-m-d  hh:mm";
// A sampling interval: hours of the day, minutes, seconds.
inline const QByteArray kIntervalFormat = "hh:mm:ss";
