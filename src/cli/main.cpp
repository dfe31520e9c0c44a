#include "base/TextTable.h"
#include "record/Units.h"
#include "cli/CliCommands.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace {

struct Command {
    const char* name;
    int (*run)(const QStringList&);
    const char* summary;
};

const Command kCommands[] = {
    {"info", RunInfo, "print the summary of a .tavo data file"},
    {"samples", RunSamples, "print the samples of a .tavo data file"},
    {"export", RunExport, "write a .tavo data file again, or as CSV"},
    {"list", RunList, "list the loggers present on USB and serial ports"},
    {"status", RunStatus, "print a logger's ID, type, run state, battery and clock"},
    {"download", RunDownload, "download a logger's samples to a .tavo file (and CSV)"},
    {"set-clock", RunSetClock, "set a logger's clock to this computer's time"},
    {"simulate", RunSimulate, "run a virtual serial logger on a pseudo-terminal"},
};

void PrintUsage(std::FILE* out)
{
    std::fprintf(out, "usage: halvern-th-cli COMMAND [ARGS...]\n\ncommands:\n");
    for (const Command& c : kCommands)
        std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
    std::fprintf(out, "\n'halvern-th-cli COMMAND --help' describes a command.\n");
}

int UnknownCommand(const QString& name)
{
    std::fprintf(stderr, "halvern-th-cli: unknown command '%s' (try --help)\n", name.toLocal8Bit().constData());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    InitLanguageAndUnits();
    // Options up to the command name are the program's; the rest belong to the command.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    parser.addOption(help);
    const bool parsed = parser.parse(app.arguments());
    QStringList args = parser.positionalArguments();
    if (parser.isSet(help) || args.value(0) == QLatin1String("help")) {
        PrintUsage(stdout);
        return 0;
    }
    if (!parsed)
        return UnknownCommand(app.arguments().value(1));
    if (args.isEmpty()) {
        PrintUsage(stderr);
        return 2;
    }
    const QString name = args.takeFirst();
    for (const Command& c : kCommands)
        if (name == QLatin1String(c.name))
            return c.run(args);
    return UnknownCommand(name);
}
