// The simulate command: a virtual serial logger on a pseudo-terminal that
// another program (another halvern-th-cli, the GUI) talks to.
#include "cli/ConsoleText.h"
#include "cli/CliCommands.h"
#include "cli/CommandLine.h"
#include "cli/LinkOptions.h"

#include "sim/SimulatedLoggers.h"
#include "sim/serial/VirtualSerialLogger.h"

#include <csignal>
#include <cstdio>
#include <ctime>
#include <pthread.h>

namespace {

const char kSimulateHelp[] =
    "usage: halvern-th-cli simulate serial[:TYPE] [--samples N] [--interval MIN] [--unpaced]\n"
    "                               [--time-scale FACTOR]\n\n"
    "Runs a virtual serial logger (type 2..6, default 4: temperature and\n"
    "humidity) holding a mission of N samples (default 144) taken every MIN\n"
    "minutes (default 10) up to now, on a pseudo-terminal. Prints the\n"
    "terminal's path on stdout and answers on it at 9600 baud (--unpaced: as\n"
    "fast as it is read) until interrupted (Ctrl+C, SIGTERM). In another\n"
    "terminal:  halvern-th-cli download --port PATH -o mission.tavo\n"
    "A mission started on it (halvern-th-cli start) records as its clock runs,\n"
    "FACTOR times as fast as this computer's (--time-scale 600: an hour in six\n"
    "seconds).\n";

int ArgumentError(const QString& error)
{
    PrintNow(stderr, QStringLiteral("halvern-th-cli simulate: %1 (try --help)\n").arg(error));
    return 2;
}

} // namespace

int RunSimulate(const QStringList& args, const DisplaySettings&)
{
    const SimulateOptions mission;
    CCommandLine line(mission.All(), "argument");
    const bool parsed = line.Parse(args);
    if (line.HelpAsked()) {
        std::fputs(kSimulateHelp, stdout);
        return 0;
    }
    if (!parsed)
        return ArgumentError(line.Error());
    const QStringList kinds = line.Positional();
    if (kinds.size() > 1)
        return ArgumentError(QStringLiteral("unknown argument '%1'").arg(kinds[1]));
    if (kinds.isEmpty())
        return ArgumentError(QStringLiteral("say which logger: serial[:TYPE]"));
    SimulateSpec chosen;
    QString error;
    if (!ParseSimulateKind(kinds[0], chosen, error) || !mission.Read(line, chosen, error))
        return ArgumentError(error);
    if (!chosen.serial)
        return ArgumentError(QStringLiteral("a virtual USB logger runs only inside a program: use --simulate usb with a command"));

    // The signals are taken by sigwait below; blocked before the logger's
    // thread starts, so that thread inherits the mask and never gets them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    VirtualSerialLogger logger(MakeSimulatedSerialConfig(chosen, static_cast<time64>(std::time(nullptr))));
    if (!logger.Start()) {
        PrintNow(stderr, QStringLiteral("halvern-th-cli simulate: cannot open a pseudo-terminal\n"));
        return 1;
    }
    PrintNow(stdout, logger.SlavePath() + QLatin1Char('\n'));
    PrintNow(stderr, QStringLiteral("virtual serial logger %1 (type %2, %3 samples) on %4; Ctrl+C stops it\n")
                      .arg(logger.Config().EffectiveId())
                      .arg(chosen.type)
                      .arg(chosen.samples)
                      .arg(logger.SlavePath()));
    int signal = 0;
    sigwait(&stopSignals, &signal);
    logger.Stop();
    PrintNow(stderr, QStringLiteral("virtual serial logger stopped\n"));
    return 0;
}
