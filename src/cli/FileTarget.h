#pragma once

#include "cli/FileArgs.h"
#include "record/LoggerRecord.h"

#include <QByteArray>
#include <QStringList>
#include <span>

// The record a file command works on: the opened file's, or the range of it.
struct FileTarget {
    CLoggerRecord* record = &g_LoggerRecord;
    bool area = false; // a selected range (the data file's range marker)
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
