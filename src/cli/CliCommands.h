#pragma once

#include <QCoreApplication>
#include <QStringList>
#include <memory>

// Each command takes its own arguments (after the command name) and returns
// the process exit code. Errors are one line on stderr.
int RunInfo(const QStringList& args);
int RunSamples(const QStringList& args);
int RunExport(const QStringList& args);
int RunAlarms(const QStringList& args);
// The mission archive: import, list, show.
int RunArchive(const QStringList& args);

// Logger commands (exit 1 on any failure, 2 on wrong arguments).
int RunList(const QStringList& args);
int RunStatus(const QStringList& args);
int RunDownload(const QStringList& args);
int RunSetClock(const QStringList& args);
int RunSimulate(const QStringList& args);
int RunStart(const QStringList& args);
int RunStop(const QStringList& args);

// Printing (built with the GUI libraries only): curve or text pages of a
// data file to a printer or into a PDF file.
int RunPrint(const QStringList& args);

// The application object of a command: Qt GUI's for print, else Qt Core's.
std::unique_ptr<QCoreApplication> MakeCliApplication(int& argc, char** argv);
