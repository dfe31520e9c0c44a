#pragma once

#include <QString>
#include <QStringList>

// Arguments of the file commands: one data file and options.
struct FileArgs {
    QString file;
    QString tavoOut;
    QString csvOut;
    bool help = false;
    QString error; // not empty when the arguments are wrong
};

// Accepts FILE, --unit C|F (sets the temperature unit at once), --help, and
// with withOutputs also --tavo OUT and --csv OUT.
FileArgs ParseFileArgs(const QStringList& args, bool withOutputs);
