// The watch command: the receiving station without a window. Every logger
// attached is identified, downloaded once per mission and filed into the
// archive folder with the reports asked for, several at once.
#include "cli/CliAudit.h"
#include "cli/CliCommands.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleText.h"
#include "cli/FileArgs.h"
#include "cli/LinkOptions.h"
#include "cli/WatchOutput.h"
#include "cli/WatchSignals.h"

#include "archive/Archive.h"
#include "base/PrintableText.h"
#include "sim/SimulatedLoggers.h"
#include "sim/serial/VirtualSerialLogger.h"
#include "sim/usb/VirtualCh375.h"
#include "station/ReceivingStation.h"
#include "workflow/EventLoop.h"

#include <QDir>
#include <QElapsedTimer>
#include <ctime>
#include <memory>
#include <vector>

namespace {

const char kWatchHelp[] =
    "usage: halvern-th-cli watch --archive DIR [--report pdf,xlsx,csv] [--port PATH]... [--usb]\n"
    "                            [--once] [--json] [--archive-db ADDRESS] [--unit C|F]\n"
    "                            [--simulate usb|serial[:TYPE],... [--samples N] [--interval MIN]\n"
    "                             [--unpaced] [--time-scale FACTOR]]\n\n"
    "The receiving station: every logger present or plugged in is identified,\n"
    "downloaded once per mission and filed as DIR/ID/ID_YYYYMMDD-HHMM.tavo (its\n"
    "start, local time), with a PDF report, a worksheet and a CSV file beside it\n"
    "as --report asks; several loggers at once. Files are written whole or not\n"
    "at all. The same mission downloaded again with as many samples is not\n"
    "written again (already archived); with more samples its files are\n"
    "replaced. Each mission is added to the archive index (--archive-db, as\n"
    "for the archive command); when the index cannot be opened the files are\n"
    "still written.\n\n"
    "Without --port or --usb it watches every USB logger and every CH341\n"
    "serial port; --port PATH (repeatable) watches those serial ports only,\n"
    "--usb the USB loggers only. --simulate attaches virtual loggers instead\n"
    "(a comma-separated list, each with its own ID).\n\n"
    "One line per event on stderr; with --json one JSON object per line on\n"
    "stdout: {\"event\": attached|identified|progress|archived|already-archived|\n"
    "failed|detached, \"time\", \"link\", \"port\", \"logger\", ...}.\n\n"
    "--once archives the loggers present at start (waiting up to 10 s for each\n"
    "to answer) and exits 0 when every one was archived, 1 when any failed.\n"
    "Otherwise it runs until interrupted (Ctrl+C, SIGTERM): a download under\n"
    "way is dropped without a file, and it exits 0, or 1 when a write failed.\n"
    "Wrong arguments exit 2.\n";

constexpr int kIdentifyMs = 10000;

struct WatchArgs {
    StationSettings settings;
    DisplaySettings display;
    QString addressText; // as given, for the audit trail's recorder
    ArchiveAddress address;
    bool once = false;
    bool json = false;
    std::vector<SimulateSpec> simulate;
};

int ArgumentError(const QString& error)
{
    PrintNow(stderr, QStringLiteral("halvern-th-cli watch: %1 (try --help)\n").arg(error));
    return 2;
}

bool TakeReports(const QString& list, ReportChoice& reports, QString& error)
{
    for (const QString& kind : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString k = kind.trimmed().toLower();
        if (k == QLatin1String("pdf"))
            reports.pdf = true;
        else if (k == QLatin1String("xlsx"))
            reports.xlsx = true;
        else if (k == QLatin1String("csv"))
            reports.csv = true;
        else {
            error = QStringLiteral("--report takes pdf, xlsx and csv, not '%1'").arg(kind);
            return false;
        }
    }
    return true;
}

// -1 when the arguments are good, else the exit code.
int ParseArgs(const QStringList& args, WatchArgs& out)
{
    const QCommandLineOption archive(QStringLiteral("archive"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption report(QStringLiteral("report"), QString(), QStringLiteral("LIST"));
    const QCommandLineOption port(QStringLiteral("port"), QString(), QStringLiteral("PATH"));
    const QCommandLineOption usb(QStringLiteral("usb"));
    const QCommandLineOption once(QStringLiteral("once"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption db(QStringLiteral("archive-db"), QString(), QStringLiteral("ADDRESS"));
    const QCommandLineOption unit(QStringLiteral("unit"), QString(), QStringLiteral("C|F"));
    const QCommandLineOption simulate(QStringLiteral("simulate"), QString(), QStringLiteral("LIST"));
    const SimulateOptions mission;
    CCommandLine line(QList<QCommandLineOption>{archive, report, port, usb, once, json, db, unit, simulate} + mission.All(),
                      "option");
    const bool parsed = line.Parse(args);
    if (line.HelpAsked()) {
        std::fputs(kWatchHelp, stdout);
        return 0;
    }
    if (!parsed)
        return ArgumentError(line.Error());
    if (!line.Positional().isEmpty())
        return ArgumentError(QStringLiteral("unknown argument '%1'").arg(line.Positional().first()));
    if (!line.IsSet(archive) || line.Value(archive).isEmpty())
        return ArgumentError(QStringLiteral("say where to file the missions: --archive DIR"));
    QString error;
    StationSettings& s = out.settings;
    s.folder = QDir(line.Value(archive)).absolutePath();
    s.ports = line.Values(port);
    s.watchAllPorts = s.ports.isEmpty() && !line.IsSet(usb);
    s.watchUsb = line.IsSet(usb) || s.ports.isEmpty();
    out.once = line.IsSet(once);
    out.json = line.IsSet(json);
    out.addressText = line.IsSet(db) ? line.Value(db) : DefaultArchiveAddress();
    if (!ParseArchiveAddress(out.addressText, out.address, error))
        return ArgumentError(error);
    if (!TakeReports(line.Values(report).join(QLatin1Char(',')), s.reports, error) || !ApplyUnits(line.Values(unit), out.display, error))
        return ArgumentError(error);
    if (line.IsSet(simulate)) {
        SimulateSpec base;
        if (!mission.Read(line, base, error) || !ParseSimulateList(line.Value(simulate), base, out.simulate, error))
            return ArgumentError(error);
    } else if (mission.AnyGiven(line)) {
        return ArgumentError(QStringLiteral("--samples, --interval, --unpaced and --time-scale go with --simulate"));
    }
    return -1;
}

void Say(const QString& text)
{
    PrintNow(stderr, QStringLiteral("halvern-th-cli watch: %1\n").arg(text));
}

// The virtual loggers of --simulate: the USB ones in one virtual CH375
// library selected for the process, each serial one on its pseudo-terminal.
// The station then watches those and nothing else.
class VirtualLoggers {
public:
    ~VirtualLoggers()
    {
        for (auto& logger : m_serial)
            logger->Stop();
        if (m_usbSelected)
            SetCh375Library(nullptr);
    }

    bool Start(const std::vector<SimulateSpec>& chosen, StationSettings& settings, QString& error)
    {
        const auto now = static_cast<time64>(std::time(nullptr));
        settings.watchUsb = false;
        settings.watchAllPorts = false;
        settings.ports.clear();
        int usbIndex = 0;
        for (const SimulateSpec& kind : chosen) {
            if (kind.serial) {
                auto logger = std::make_unique<VirtualSerialLogger>(MakeSimulatedSerialConfig(kind, now));
                if (!logger->Start()) {
                    error = QStringLiteral("cannot start a virtual serial logger");
                    return false;
                }
                settings.ports << logger->SlavePath();
                m_serial.push_back(std::move(logger));
                continue;
            }
            auto logger = MakeSimulatedUsbLogger(kind, now, error);
            if (!logger)
                return false;
            m_usb.Plug(usbIndex++, std::move(logger), false);
            settings.watchUsb = true;
        }
        if (settings.watchUsb) {
            SetCh375Library(&m_usb);
            m_usbSelected = true;
        }
        return true;
    }

private:
    CVirtualCh375 m_usb;
    std::vector<std::unique_ptr<VirtualSerialLogger>> m_serial;
    bool m_usbSelected = false;
};

// The archive index, opened when first needed and, while it cannot be,
// tried again at most every half minute, so a database that is down when
// the station starts is used once it is back.
class IndexKeeper {
public:
    explicit IndexKeeper(ArchiveAddress address) : m_address(std::move(address)) {}

    CArchive* Get(QString& why)
    {
        constexpr qint64 kRetryMs = 30000;
        if (m_open)
            return &m_archive;
        if (m_lastTry.isValid() && m_lastTry.elapsed() < kRetryMs) {
            why = m_error;
            return nullptr;
        }
        m_lastTry.start();
        m_open = m_archive.Open(m_address, m_error);
        why = m_error;
        return m_open ? &m_archive : nullptr;
    }

    // Indexes a filed data file; a connection lost since the last filing is
    // made again first.
    ImportResult Import(const QString& dataFile)
    {
        ImportResult result;
        CArchive* archive = Get(result.reason);
        if (!archive)
            return result;
        result = ImportReconnecting(*archive, dataFile);
        m_open = archive->IsOpen();
        if (!m_open) {
            m_error = result.reason;
            m_lastTry.start();
        }
        return result;
    }

private:
    ArchiveAddress m_address;
    CArchive m_archive;
    bool m_open = false;
    QElapsedTimer m_lastTry;
    QString m_error;
};

bool AnyFailed(const ReceivingStation& station)
{
    for (const StationRow& row : station.Rows())
        if (row.state == StationState::Failed)
            return true;
    return false;
}

bool AnyIdentifying(const ReceivingStation& station)
{
    for (const StationRow& row : station.Rows())
        if (row.attached && row.state == StationState::Identifying)
            return true;
    return false;
}

int Watch(WatchArgs& args, WatchSignals& stopRequest)
{
    MessageQueue queue;
    queue.Install();
    struct Uninstall {
        ~Uninstall() { SetMessagePoster(nullptr); }
    } uninstall;
    VirtualLoggers virtualLoggers;
    QString error;
    if (!args.simulate.empty() && !virtualLoggers.Start(args.simulate, args.settings, error)) {
        Say(error);
        return 1;
    }
    if (!QDir().mkpath(args.settings.folder)) {
        Say(QStringLiteral("cannot create the archive folder %1").arg(args.settings.folder));
        return 1;
    }
    IndexKeeper index(args.address);
    if (!index.Get(error))
        Say(QStringLiteral("the archive index cannot be opened now; missions are filed and indexed once it can: %1")
                .arg(PrintableText(error)));

    CCliAudit audit("watch", args.addressText); // outlives the station, which records into it
    const bool json = args.json;
    ReceivingStation station(args.settings, args.display, [json](const StationEvent& event) {
        if (json)
            PrintNow(stdout, WatchJsonLine(event));
        PrintNow(stderr, WatchTextLine(event));
    });
    station.SetIndexer([&index](const QString& dataFile) { return index.Import(dataFile); });
    station.SetAudit(&audit);
    EventLoop loop(queue, [&station](const Message& m) { station.OnMessage(m); });
    loop.AddTimers(station.Timers(), [&station](int id) { station.OnTimer(id); });
    stopRequest.WakeWith([] { PostToMain(NewMessageAddress(), QueuedCall{}); });

    station.Start();
    if (args.once) {
        loop.RunUntil([&] { return stopRequest.Stopped() || !AnyIdentifying(station); }, kIdentifyMs);
        station.FailIdentifying(QStringLiteral("no logger answered within %1 s").arg(kIdentifyMs / 1000));
        loop.RunUntil([&] { return stopRequest.Stopped() || !station.Busy(); }, -1);
        if (station.Rows().empty())
            Say(QStringLiteral("no logger is attached"));
    } else {
        loop.RunUntil([&] { return stopRequest.Stopped(); }, -1);
    }
    station.Stop();
    stopRequest.WakeWith(nullptr);
    if (station.AnyWriteFailed())
        return 1;
    return args.once && !stopRequest.Stopped() && AnyFailed(station) ? 1 : 0;
}

} // namespace

int RunWatch(const QStringList& args, const DisplaySettings& display)
{
    WatchArgs parsed;
    parsed.display = display;
    if (const int code = ParseArgs(args, parsed); code >= 0)
        return code;
    // Blocked before any thread starts, so that every thread inherits the
    // mask and only the signal thread takes them.
    WatchSignals stopRequest;
    return Watch(parsed, stopRequest);
}
