#pragma once

#include "base/DisplaySettings.h"

#include <QCoreApplication>
#include <QStringList>
#include <memory>

// Each command takes its own arguments (after the command name) and the
// settings of --lang (degrees F), and returns the process exit code.
// Errors are one line on stderr.
int RunInfo(const QStringList& args, const DisplaySettings& display);
int RunSamples(const QStringList& args, const DisplaySettings& display);
int RunExport(const QStringList& args, const DisplaySettings& display);
int RunAlarms(const QStringList& args, const DisplaySettings& display);
// Whether a PDF report or worksheet carries the fingerprint of a data file.
int RunVerify(const QStringList& args, const DisplaySettings& display);
// The mission archive: import, list, show.
int RunArchive(const QStringList& args, const DisplaySettings& display);
// The audit trail: list, verify.
int RunAudit(const QStringList& args, const DisplaySettings& display);

// Logger commands (exit 1 on any failure, 2 on wrong arguments).
int RunList(const QStringList& args, const DisplaySettings& display);
int RunStatus(const QStringList& args, const DisplaySettings& display);
int RunDownload(const QStringList& args, const DisplaySettings& display);
int RunSetClock(const QStringList& args, const DisplaySettings& display);
int RunSimulate(const QStringList& args, const DisplaySettings& display);
int RunStart(const QStringList& args, const DisplaySettings& display);
int RunStop(const QStringList& args, const DisplaySettings& display);
// The receiving station: files every logger attached until stopped.
int RunWatch(const QStringList& args, const DisplaySettings& display);

// Printing (built with the GUI libraries only): curve or text pages of a
// data file to a printer or into a PDF file.
int RunPrint(const QStringList& args, const DisplaySettings& display);

// The application object of a command: Qt GUI's for print, else Qt Core's.
std::unique_ptr<QCoreApplication> MakeCliApplication(int& argc, char** argv);
