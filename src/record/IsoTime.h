#pragma once

#include "record/LoggerRecord.h"

#include <QString>

// ISO 8601 local time with the zone's offset at that instant, whole seconds:
// "2024-05-01T10:10:00+02:00".
QString FormatIsoLocal(time64 t);
