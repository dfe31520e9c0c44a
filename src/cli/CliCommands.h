#pragma once

#include <QStringList>

// Each command takes its own arguments (after the command name) and returns
// the process exit code. Errors are one line on stderr.
int RunInfo(const QStringList& args);
int RunSamples(const QStringList& args);
int RunExport(const QStringList& args);
