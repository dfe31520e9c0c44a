#pragma once

#include "cli/FileArgs.h"
#include "record/LoggerRecord.h"

#include <QByteArray>
#include <QStringList>
#include <span>

// The records of a file command: the opened file's, and the range of it
// that --from/--to take.
struct FileTarget {
    CLoggerRecord whole;
    CLoggerRecord range;
    bool ranged = false; // the command works on range

    CLoggerRecord& Record() { return ranged ? range : whole; }
};

// What a file command accepts besides FILE, --unit, --from and --to.
struct FileOptions {
    std::span<const OutputOption> outputs; // the output options (export)
    bool json = false;                     // --json
};

// Parses the arguments, opens the data file as the Open command does and
// takes the range asked for. Returns -1 when the command goes on, else the
// exit code (the help printed, wrong arguments, a file that cannot be read,
// a range that cannot be taken). display: the settings of --lang, which
// parsed.display gives with the unit of --unit.
int PrepareFileCommand(const char* command, const QByteArray& help, const QStringList& args,
                       const DisplaySettings& display, FileOptions options, FileArgs& parsed, FileTarget& target);
