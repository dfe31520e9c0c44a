#pragma once

#include "station/StationSettings.h"

#include <QString>

class QSettings;

// What the window remembers of its automatic mode, in the program's
// QSettings: whether Automatic is on, and the station's archive folder,
// reports and whether it stops a logger after a complete download.
struct StationPreferences {
    bool automatic = false;
    StationSettings station;
};

// The archive folder when none was chosen: "Halvern TH archive" in the
// user's documents folder, or "halvern-th/archive" under the user's XDG data
// folder when there is no documents folder.
QString DefaultStationFolder();

// Missing keys take the defaults: Automatic off, the default folder, a PDF
// report only, the logger left recording.
StationPreferences LoadStationPreferences(const QSettings& settings);
void SaveStationPreferences(QSettings& settings, const StationPreferences& preferences);
