#pragma once

#include "station/StationRow.h"

#include <QString>

// One line per station event: for people on stderr ("2026-12-11 10:20:31
// archived UTH50040004 (USB 0): 144 samples, 1 excursion: FILES"), for
// programs as one JSON object (NDJSON on stdout):
// {"event", "time", "link", "port", "logger", ...} with "type" when
// identified, "received"/"total" with progress, "samples", "excursions" and
// "files" when archived, "reason" when failed. Both end in a newline.
QString WatchTextLine(const StationEvent& event);
QString WatchJsonLine(const StationEvent& event);
