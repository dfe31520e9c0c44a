#include "cli/CliCommands.h"

#include <cstdio>

int RunInfo(const QStringList&) { std::fprintf(stderr, "info: not built yet\n"); return 1; }
int RunSamples(const QStringList&) { std::fprintf(stderr, "samples: not built yet\n"); return 1; }
int RunExport(const QStringList&) { std::fprintf(stderr, "export: not built yet\n"); return 1; }
