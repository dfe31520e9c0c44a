#pragma once

#include "base/DisplaySettings.h"
#include "record/LoggerRecord.h"
#include "station/StationSettings.h"

#include <QString>
#include <QStringList>

// The place of a mission in the archive folder:
// FOLDER/<ID>/<ID>_<start as YYYYMMDD-HHMM, local>.tavo. Characters a file
// name cannot hold become '_'; a logger without an ID files under "unknown".
QString MissionFolder(const QString& folder, const QString& loggerId);
QString MissionBaseName(const QString& loggerId, time64 start);

struct FilingResult {
    enum class Outcome { Archived, AlreadyArchived, Failed };
    Outcome outcome = Outcome::Failed;
    // Archived: the files written; AlreadyArchived: the ones found there;
    // Failed: those written all the same (the CSV of a mission no data file
    // can hold), usually none.
    QStringList files;
    QString dataFile; // the mission's .tavo among files
    QString reason;   // Failed: why
};

// Files a downloaded record: its data file and the reports chosen, each
// written whole to a staging folder beside the target and moved into place
// only when all of them are written, so a failure leaves nothing
// half-written and earlier files as they were.
//   - The same mission (ID and start) with as many samples filed already:
//     nothing is written.
//   - The same mission filed with fewer samples (the logger kept
//     recording): its files are replaced whole.
//   - Anything else under the same name (another logger's mission, one
//     filed with more samples, a file that cannot be read): the name gains
//     "_2", "_3", ... so neither is written over the other.
// A record the data file cannot hold still has its CSV written, and the
// reason is given.
FilingResult FileMission(const CLoggerRecord& record, const DisplaySettings& display, const QString& folder,
                         const ReportChoice& reports);
