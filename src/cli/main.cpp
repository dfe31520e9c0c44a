#include "base/PrintableText.h"
#include "base/TextTable.h"
#include "record/Units.h"
#include "cli/CliCommands.h"
#include "cli/ConsoleText.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

struct Command {
    const char* name;
    int (*run)(const QStringList&, const DisplaySettings&);
    const char* summary;
};

const Command kCommands[] = {
    {"info", RunInfo, "print the summary of a .tavo data file"},
    {"samples", RunSamples, "print the samples of a .tavo data file"},
    {"export", RunExport, "write a .tavo file again, or as CSV, .xlsx worksheet or PDF report"},
    {"alarms", RunAlarms, "list the alarm excursions of a .tavo data file"},
    {"verify", RunVerify, "check that a PDF report or worksheet carries a .tavo file's fingerprint"},
    {"archive", RunArchive, "index .tavo files in the mission archive, list and show them"},
    {"audit", RunAudit, "list the audit trail of downloads, starts, saves, ... and check it"},
    {"list", RunList, "list the loggers present on USB and serial ports"},
    {"status", RunStatus, "print a logger's ID, type, run state, battery and clock"},
    {"download", RunDownload, "download a logger's samples to a .tavo file (and CSV)"},
    {"set-clock", RunSetClock, "set a logger's clock to this computer's time"},
    {"simulate", RunSimulate, "run a virtual serial logger on a pseudo-terminal"},
    {"start", RunStart, "start a logger's next mission (interval, limits, description)"},
    {"stop", RunStop, "stop a logger's mission"},
    {"watch", RunWatch, "download and file every logger attached, several at once"},
#ifdef HALVERN_CLI_PRINT
    {"print", RunPrint, "print curve or text pages of a .tavo data file, or into a PDF file"},
#endif
};

void PrintUsage(std::FILE* out)
{
    std::fprintf(out, "usage: halvern-th-cli [--lang en|zh] COMMAND [ARGS...]\n\ncommands:\n");
    for (const Command& c : kCommands)
        std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
    std::fprintf(out, "\n'halvern-th-cli COMMAND --help' describes a command.\n");
    std::fprintf(out, "--lang en|zh: the language of captions and status texts; without it the\n"
                      "desktop's (LC_ALL, LC_MESSAGES, LANG beginning with zh: Chinese).\n");
}

int UnknownCommand(const QString& name)
{
    std::fprintf(stderr, "halvern-th-cli: unknown command '%s' (try --help)\n", PrintableText(name).toLocal8Bit().constData());
    return 2;
}

int WrongLanguage(const QString& error)
{
    std::fprintf(stderr, "halvern-th-cli: %s\n", PrintableText(error).toLocal8Bit().constData());
    return 2;
}

// Standard output is a file the command wrote too: a write to it that failed
// (a full disk, /dev/full, a closed pipe) fails the command with one line.
int CheckStandardOutput(int rc)
{
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return rc;
    const int error = StandardOutputError() != 0 ? StandardOutputError() : errno;
    QString why = error ? QString::fromLocal8Bit(std::strerror(error)) : QString();
    if (!why.isEmpty())
        why = QStringLiteral(": ") + why[0].toLower() + why.mid(1);
    std::fprintf(stderr, "halvern-th-cli: cannot write standard output%s\n", why.toLocal8Bit().constData());
    return rc == 0 ? 1 : rc;
}

int RunCommandLine(const QStringList& arguments)
{
    // Options up to the command name are the program's; the rest belong to the command.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    parser.addOption(help);
    const QCommandLineOption lang(QStringLiteral("lang"), QString(), QStringLiteral("en|zh"));
    parser.addOption(lang);
    const bool parsed = parser.parse(arguments);
    QStringList args = parser.positionalArguments();
    if (parser.isSet(help) || args.value(0) == QLatin1String("help")) {
        PrintUsage(stdout);
        return 0;
    }
    if (!parsed && arguments.value(1).startsWith(QLatin1String("--lang")))
        return WrongLanguage(QStringLiteral("--lang needs a value: en or zh"));
    if (!parsed)
        return UnknownCommand(arguments.value(1));
    // The language changes texts only: temperatures stay in degrees F
    // unless a command is given --unit C.
    QString error;
    DisplaySettings display;
    if (!ChooseLanguage(parser.isSet(lang), parser.value(lang), display.language, error))
        return WrongLanguage(error);
    if (args.isEmpty()) {
        PrintUsage(stderr);
        return 2;
    }
    const QString name = args.takeFirst();
    for (const Command& c : kCommands)
        if (name == QLatin1String(c.name))
            return c.run(args, display);
    return UnknownCommand(name);
}

} // namespace

int main(int argc, char** argv)
{
    // Past a file-size limit a write fails with its error and the command
    // says so, instead of the signal ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    const auto app = MakeCliApplication(argc, argv);
    return CheckStandardOutput(RunCommandLine(app->arguments()));
}
