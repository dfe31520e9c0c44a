#pragma once

#include "record/LoggerRecord.h"

#include <QString>

// The time zone the local times of a record are written in, for readers of
// reports and sheets: "Times in UTC+01:00 (Europe/Berlin)", the offset at
// start, and for each change of offset up to stop ", changes to UTC+02:00
// on 2026-03-29 02:00" (the local time the change happens at, on the clock
// as it was before). The zone's name is left out when it is not known.
QString ZoneNote(time64 start, time64 stop);

// "UTC+01:00", "UTC-03:30", "UTC+00:00".
QString UtcOffsetText(long offsetSeconds);

// The name of the zone local times are in (TZ when it names one, else the
// system's), empty when unknown.
QString LocalZoneName();
