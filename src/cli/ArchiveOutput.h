#pragma once

#include "archive/Archive.h"

#include <QString>

// A mission of the archive as JSON on one line: id, type, start, stop (ISO
// 8601 with offset), interval_s, samples, temp {min, max, avg, mkt}, humi
// {min, max, avg} or null, excursions, file, missing, sha256, archived_at,
// station; degrees C and %RH rounded to 0.01.
QString MissionJson(const MissionRow& row);
// One tab-separated line of archive list: ID, start, stop, samples,
// excursions, file, and "missing" when the file is gone.
QString MissionLine(const MissionRow& row);
// archive show: one "Caption: value" line per field.
QString MissionLines(const MissionRow& row);
// One line of archive import for a file: result, path, reason.
QString ImportLine(const QString& path, const ImportResult& result);
QString ImportJson(const QString& path, const ImportResult& result);
