#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// Where a logger in the receiving station stands.
enum class StationState {
    Identifying,
    Downloading,
    Archived,        // downloaded and its files written
    AlreadyArchived, // the same mission with as many samples was in the folder already
    Failed,          // reason says why; nothing half-written
};

// One logger the station has seen: where it is attached, what it is and how
// far it got. A row stays after its logger is pulled out (attached false),
// so what happened to it can still be read.
struct StationRow {
    int key = 0; // stable while the station runs
    bool usb = false;
    QString port; // serial: the device path; USB: the device index
    bool attached = true;
    QString logger; // the logger ID; empty until identified
    int type = 0;
    StationState state = StationState::Identifying;
    int received = 0; // while downloading
    int total = 0;
    int samples = 0;    // the mission's samples, once downloaded
    int excursions = 0; // excursions past the alarm limits found in them
    QStringList files;  // the files written (or found already there)
    QString dataFile;   // the mission's data file among them, empty when none
    QString reason;     // why it failed, or a warning beside an archived mission
};

// What happened, as the station reports it: one event per change.
struct StationEvent {
    enum class Kind { Attached, Identified, Progress, Archived, AlreadyArchived, Failed, Detached };
    Kind kind = Kind::Attached;
    QDateTime time; // local, with its offset
    StationRow row; // the row after the change
};

// "attached", "identified", "progress", "archived", "already-archived",
// "failed", "detached".
QString EventName(StationEvent::Kind kind);
