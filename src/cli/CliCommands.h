#pragma once

#include <QStringList>

// Each command takes its own arguments (after the command name) and returns
// the process exit code. Errors are one line on stderr.
int RunInfo(const QStringList& args);
int RunSamples(const QStringList& args);
int RunExport(const QStringList& args);

// Logger commands (exit 1 on any failure, 2 on wrong arguments).
int RunList(const QStringList& args);
int RunStatus(const QStringList& args);
int RunDownload(const QStringList& args);
int RunSetClock(const QStringList& args);
int RunSimulate(const QStringList& args);
int RunStart(const QStringList& args);
int RunStop(const QStringList& args);
