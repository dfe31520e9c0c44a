// The archive command: import data files into the mission archive, list
// and show the missions it holds.
#include "cli/ArchiveOutput.h"
#include "cli/CliAudit.h"
#include "cli/CliCommands.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleText.h"
#include "cli/FileArgs.h"

#include "archive/Archive.h"
#include "base/PrintableText.h"

#include <QFileInfo>
#include <cstdio>

namespace {

const char kArchiveHelp[] =
    "usage: halvern-th-cli archive import PATH... [--json] [--archive-db ADDRESS]\n"
    "       halvern-th-cli archive list [--id ID] [--from TIME] [--to TIME] [--alarms] [--json]\n"
    "                                   [--archive-db ADDRESS]\n"
    "       halvern-th-cli archive show ID|FILE [--json] [--archive-db ADDRESS]\n\n"
    "The mission archive indexes .tavo data files in a database; the files stay\n"
    "the record, and importing them again rebuilds the index.\n\n"
    "import adds files, and folders searched recursively for *.tavo. A file\n"
    "already indexed is skipped (known); one indexed at a place where it no\n"
    "longer is updates the path (moved); one the reader refuses is listed with\n"
    "the reason and not indexed (refused). One tab-separated line per file\n"
    "(result, path, reason) and a summary; with --json one object per line:\n"
    "{\"file\", \"result\", \"reason\"}. Exits 1 when a file was refused.\n\n"
    "list prints the missions newest first, one tab-separated line each: ID,\n"
    "start, stop, samples, excursions, file, and 'missing' when the file is\n"
    "gone. --id: of one logger; --from/--to TIME (local YYYY-MM-DD HH:MM[:SS]):\n"
    "overlapping that time; --alarms: with at least one excursion. show prints\n"
    "the newest mission of a logger ID, or the mission of a data file.\n"
    "With --json a mission is {\"id\", \"type\", \"start\", \"stop\", \"interval_s\",\n"
    "\"samples\", \"temp\": {\"min\", \"max\", \"avg\", \"mkt\"}, \"humi\": {...} or null,\n"
    "\"excursions\", \"file\", \"missing\", \"sha256\", \"archived_at\", \"station\"}:\n"
    "degrees C and %RH to 0.01, times ISO 8601 with the offset; list prints one\n"
    "per line.\n\n"
    "--archive-db: a SQLite file (default $HALVERN_ARCHIVE_DB, else\n"
    "$XDG_DATA_HOME/halvern-th/archive.sqlite)\n"
    "or postgresql://USER@HOST[:PORT]/DATABASE[?sslmode=verify-full&connect_timeout=10]\n"
    "(options go to the PostgreSQL client). A password is never given here: the\n"
    "client reads it from ~/.pgpass, PGPASSFILE, PGPASSWORD or a service file.\n"
    "Exits 1 when the archive fails, 2 for wrong arguments.\n";

int Line(const QString& reason, int code)
{
    PrintNow(stderr, QStringLiteral("halvern-th-cli archive: %1\n").arg(PrintableText(reason)));
    return code;
}

struct ArchiveArgs {
    QString command;
    QStringList operands;
    QString address;
    bool json = false;
    ArchiveFilter filter;
    bool listOptions = false; // an option only list takes was given
};

// -1 when the arguments are good, else the exit code (help, or 2 with the reason printed).
int ParseArgs(const QStringList& args, ArchiveArgs& out)
{
    const QCommandLineOption db(QStringLiteral("archive-db"), QString(), QStringLiteral("ADDRESS"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption id(QStringLiteral("id"), QString(), QStringLiteral("ID"));
    const QCommandLineOption from(QStringLiteral("from"), QString(), QStringLiteral("TIME"));
    const QCommandLineOption to(QStringLiteral("to"), QString(), QStringLiteral("TIME"));
    const QCommandLineOption alarms(QStringLiteral("alarms"));
    CCommandLine line({db, json, id, from, to, alarms}, "option");
    const bool parsed = line.Parse(args);
    if (line.HelpAsked()) {
        Print(stdout, QString::fromLatin1(kArchiveHelp));
        return 0;
    }
    if (!parsed)
        return Line(line.Error(), 2);
    out.operands = line.Positional();
    out.command = out.operands.isEmpty() ? QString() : out.operands.takeFirst();
    out.address = line.Value(db);
    out.json = line.IsSet(json);
    out.filter.loggerId = line.Value(id);
    out.filter.alarmsOnly = line.IsSet(alarms);
    out.listOptions = line.IsSet(id) || line.IsSet(from) || line.IsSet(to) || line.IsSet(alarms);
    QString error;
    if (!TakeTimeOption(line, from, TimeForms::Local, out.filter.from, error)
        || !TakeTimeOption(line, to, TimeForms::Local, out.filter.to, error))
        return Line(error, 2);
    if (out.command != QLatin1String("import") && out.command != QLatin1String("list")
        && out.command != QLatin1String("show"))
        return Line(QStringLiteral("give import, list or show (try --help)"), 2);
    if (out.listOptions && out.command != QLatin1String("list"))
        return Line(QStringLiteral("--id, --from, --to and --alarms belong to list"), 2);
    if (out.command == QLatin1String("import") && out.operands.isEmpty())
        return Line(QStringLiteral("import needs one or more files or folders"), 2);
    if (out.command == QLatin1String("list") && !out.operands.isEmpty())
        return Line(QStringLiteral("list takes no file; --id chooses a logger"), 2);
    if (out.command == QLatin1String("show") && out.operands.size() != 1)
        return Line(QStringLiteral("show takes one logger ID or data file"), 2);
    return -1;
}

int Import(CArchive& archive, const ArchiveArgs& a)
{
    QStringList missing;
    const QStringList files = CollectDataFiles(a.operands, missing);
    int counts[ImportResult::Failed + 1] = {};
    const auto report = [&a](const QString& path, const ImportResult& result) {
        Print(stdout, (a.json ? ImportJson(path, result) : ImportLine(path, result)) + QLatin1Char('\n'));
    };
    for (const QString& path : missing) {
        ImportResult result;
        result.outcome = ImportResult::Damaged;
        result.reason = QStringLiteral("no such file or folder");
        report(path, result);
        ++counts[ImportResult::Damaged];
    }
    CCliAudit audit("archive", a.address);
    for (const QString& path : files) {
        const ImportResult result = archive.Import(path);
        if (result.outcome == ImportResult::Failed)
            return Line(result.reason, 1);
        report(path, result);
        ++counts[result.outcome];
        if (result.outcome == ImportResult::Indexed || result.outcome == ImportResult::Moved)
            audit.Record({QStringLiteral("archive-import"), result.row.loggerId,
                          {{"file", result.row.file},
                           {"sha256", result.row.sha256},
                           {"result", result.outcome == ImportResult::Indexed ? "indexed" : "moved"}}});
    }
    if (!a.json)
        Print(stdout, QStringLiteral("%1 indexed, %2 known, %3 moved, %4 refused\n")
                          .arg(counts[ImportResult::Indexed])
                          .arg(counts[ImportResult::Known])
                          .arg(counts[ImportResult::Moved])
                          .arg(counts[ImportResult::Damaged]));
    return counts[ImportResult::Damaged] > 0 ? 1 : 0;
}

int List(CArchive& archive, const ArchiveArgs& a)
{
    std::vector<MissionRow> rows;
    QString error;
    if (!archive.List(a.filter, rows, error))
        return Line(error, 1);
    QString text;
    for (const MissionRow& row : rows)
        text += (a.json ? MissionJson(row) : MissionLine(row)) + QLatin1Char('\n');
    Print(stdout, text);
    return 0;
}

int Show(CArchive& archive, const ArchiveArgs& a)
{
    const QString& what = a.operands.front();
    MissionRow row;
    bool found = false;
    QString error;
    const bool isFile = QFileInfo::exists(what) || what.contains(QLatin1Char('/'))
                        || what.endsWith(QLatin1String(".tavo"), Qt::CaseInsensitive);
    if (!(isFile ? archive.FindFile(what, row, found, error) : archive.FindNewest(what, row, found, error)))
        return Line(error, 1);
    if (!found)
        return Line(QStringLiteral("no mission of '%1' in the archive").arg(what), 1);
    Print(stdout, a.json ? MissionJson(row) + QLatin1Char('\n') : MissionLines(row));
    return 0;
}

} // namespace

int RunArchive(const QStringList& args, const DisplaySettings& /*display*/)
{
    ArchiveArgs a;
    if (const int rc = ParseArgs(args, a); rc >= 0)
        return rc;
    ArchiveAddress address;
    QString error;
    if (!ParseArchiveAddress(a.address.isEmpty() ? DefaultArchiveAddress() : a.address, address, error))
        return Line(error, 2);
    CArchive archive;
    if (!archive.Open(address, error))
        return Line(error, 1);
    if (a.command == QLatin1String("import"))
        return Import(archive, a);
    return a.command == QLatin1String("list") ? List(archive, a) : Show(archive, a);
}
