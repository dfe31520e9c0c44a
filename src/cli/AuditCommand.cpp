// The audit command: list the audit trail and check its chain.
#include "cli/CliCommands.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleText.h"
#include "cli/FileArgs.h"
#include "cli/JsonWriter.h"

#include "archive/Archive.h"
#include "archive/AuditQueue.h"
#include "base/PrintableText.h"

#include <QFileInfo>
#include <cstdio>

namespace {

const char kAuditHelp[] =
    "usage: halvern-th-cli audit list [--logger ID] [--from TIME] [--to TIME] [--json]\n"
    "                                 [--archive-db ADDRESS]\n"
    "       halvern-th-cli audit verify [--archive-db ADDRESS]\n\n"
    "The audit trail records every download, start, stop, clock set, save,\n"
    "export, print and archive import, by this program's window and commands,\n"
    "in the archive database: time (UTC), operating-system user, host, action,\n"
    "logger ID and the particulars as a JSON object. Each entry holds the hash\n"
    "of the entry before it and its own: SHA-256 (hex) of prev, seq, time, user,\n"
    "host, action, logger and detail joined by newlines, so an entry changed,\n"
    "removed or added in the database afterwards breaks the chain.\n\n"
    "list prints the entries oldest first, one tab-separated line each: seq,\n"
    "time, user, host, action, logger ('-' for none), detail. --logger: of one\n"
    "logger; --from/--to TIME (local YYYY-MM-DD HH:MM[:SS], or ISO 8601 with Z\n"
    "or an offset): recorded in that time. With --json one object per line:\n"
    "{\"seq\", \"time\", \"user\", \"host\", \"action\", \"logger\" (or null),\n"
    "\"detail\" (an object), \"prev\", \"hash\"}.\n\n"
    "verify checks every entry in order: exit 0 with \"N entries, chain intact\",\n"
    "exit 1 naming the first entry whose hash or link does not match, or the\n"
    "entries missing. An action that could not be recorded waits in\n"
    "$XDG_STATE_HOME/halvern-th/audit-queue.jsonl until the archive can be\n"
    "written; list and verify say when entries wait there.\n\n"
    "--archive-db: as for the archive command (default $HALVERN_ARCHIVE_DB,\n"
    "else $XDG_DATA_HOME/halvern-th/archive.sqlite).\n"
    "Exits 2 for wrong arguments or an archive that cannot be read.\n";

int Line(const QString& reason, int code)
{
    PrintNow(stderr, QStringLiteral("halvern-th-cli audit: %1\n").arg(PrintableText(reason)));
    return code;
}

struct AuditArgs {
    QString command;
    QString address;
    bool json = false;
    AuditFilter filter;
};

// -1 when the arguments are good, else the exit code.
int ParseArgs(const QStringList& args, AuditArgs& out)
{
    const QCommandLineOption db(QStringLiteral("archive-db"), QString(), QStringLiteral("ADDRESS"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption logger(QStringLiteral("logger"), QString(), QStringLiteral("ID"));
    const QCommandLineOption from(QStringLiteral("from"), QString(), QStringLiteral("TIME"));
    const QCommandLineOption to(QStringLiteral("to"), QString(), QStringLiteral("TIME"));
    CCommandLine line({db, json, logger, from, to}, "option");
    const bool parsed = line.Parse(args);
    if (line.HelpAsked()) {
        Print(stdout, QString::fromLatin1(kAuditHelp));
        return 0;
    }
    if (!parsed)
        return Line(line.Error(), 2);
    QStringList operands = line.Positional();
    out.command = operands.isEmpty() ? QString() : operands.takeFirst();
    out.address = line.Value(db);
    out.json = line.IsSet(json);
    out.filter.loggerId = line.Value(logger);
    QString error;
    if (!TakeTimeOption(line, from, TimeForms::LocalOrZoned, out.filter.from, error)
        || !TakeTimeOption(line, to, TimeForms::LocalOrZoned, out.filter.to, error))
        return Line(error, 2);
    if (out.command != QLatin1String("list") && out.command != QLatin1String("verify"))
        return Line(QStringLiteral("give list or verify (try --help)"), 2);
    if (!operands.isEmpty())
        return Line(QStringLiteral("%1 takes no operand, not '%2'").arg(out.command, operands.front()), 2);
    const bool listOptions = line.IsSet(json) || line.IsSet(logger) || line.IsSet(from) || line.IsSet(to);
    if (out.command == QLatin1String("verify") && listOptions)
        return Line(QStringLiteral("--logger, --from, --to and --json belong to list"), 2);
    return -1;
}

QString EntryLine(const AuditEntry& e)
{
    const QStringList fields = {QString::number(e.seq), e.time, PrintableText(e.user), PrintableText(e.host),
                                PrintableText(e.action), e.logger.isEmpty() ? QStringLiteral("-") : PrintableText(e.logger),
                                PrintableText(e.detail)};
    return fields.join(QLatin1Char('\t'));
}

QString EntryJson(const AuditEntry& e)
{
    CJsonWriter json;
    json.BeginObject().Key("seq").Integer(e.seq).Key("time").String(e.time);
    json.Key("user").String(e.user).Key("host").String(e.host).Key("action").String(e.action).Key("logger");
    if (e.logger.isEmpty())
        json.Null();
    else
        json.String(e.logger);
    json.Key("detail").Raw(e.detail).Key("prev").String(e.prev).Key("hash").String(e.hash);
    return json.EndObject().Text();
}

// Says on stderr when entries wait in the queue, recorded nowhere yet.
void NoteQueue()
{
    const CAuditQueue queue(DefaultAuditQueuePath());
    std::vector<AuditEntry> waiting;
    QString error;
    if (!queue.Read(waiting, error))
        Line(error, 0);
    else if (!waiting.empty())
        Line(QStringLiteral("%1 %2 in %3 until the archive can be written")
                 .arg(waiting.size())
                 .arg(waiting.size() == 1 ? QStringLiteral("entry waits") : QStringLiteral("entries wait"), queue.Path()),
             0);
}

int List(CArchive& archive, const AuditArgs& a)
{
    std::vector<AuditEntry> entries;
    QString error;
    if (!archive.ListAudit(a.filter, entries, error))
        return Line(error, 2);
    QString text;
    for (const AuditEntry& e : entries)
        text += (a.json ? EntryJson(e) : EntryLine(e)) + QLatin1Char('\n');
    Print(stdout, text);
    NoteQueue();
    return 0;
}

int Verify(CArchive& archive)
{
    AuditVerdict verdict;
    QString error;
    if (!archive.VerifyAudit(verdict, error))
        return Line(error, 2);
    NoteQueue();
    if (verdict.intact) {
        Print(stdout, QStringLiteral("%1 %2, chain intact\n")
                          .arg(verdict.entries)
                          .arg(verdict.entries == 1 ? QStringLiteral("entry") : QStringLiteral("entries")));
        return 0;
    }
    const QString before = verdict.entries == 0 ? QString()
                           : verdict.entries == 1 ? QStringLiteral("; the entry before it is intact")
                                                  : QStringLiteral("; the %1 entries before it are intact").arg(verdict.entries);
    Print(stdout, verdict.problem + before + QLatin1Char('\n'));
    return 1;
}

} // namespace

int RunAudit(const QStringList& args, const DisplaySettings& /*display*/)
{
    AuditArgs a;
    if (const int rc = ParseArgs(args, a); rc >= 0)
        return rc;
    ArchiveAddress address;
    QString error;
    if (!ParseArchiveAddress(a.address.isEmpty() ? DefaultArchiveAddress() : a.address, address, error))
        return Line(error, 2);
    // Reading never makes an archive where there is none.
    if (address.kind == ArchiveAddress::Kind::Sqlite && !QFileInfo::exists(address.path))
        return Line(QStringLiteral("there is no archive at %1").arg(address.path), 2);
    CArchive archive;
    if (!archive.Open(address, error))
        return Line(error, 2);
    return a.command == QLatin1String("list") ? List(archive, a) : Verify(archive);
}
