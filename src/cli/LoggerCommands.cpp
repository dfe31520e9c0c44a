// The logger commands: list, status, download, set-clock.
#include "cli/CliAudit.h"
#include "cli/ConsoleText.h"
#include "cli/CliCommands.h"
#include "cli/LinkOptions.h"
#include "cli/LoggerSession.h"

#include "base/Messages.h"
#include "base/PrintableText.h"
#include "base/TextTable.h"
#include "datafile/LoggerFile.h"
#include "export/CsvExport.h"
#include "link/serial/Ch341Ports.h"
#include "link/serial/PortTable.h"
#include "link/usb/Ch375Library.h"
#include "record/LoggerRecord.h"
#include "record/LoggerType.h"
#include "record/TimeText.h"
#include "sim/SimulatedLoggers.h"
#include "sim/serial/VirtualSerialLogger.h"
#include "sim/usb/VirtualCh375.h"
#include "workflow/DownloadAuditHold.h"

#include <QFileInfo>
#include <cstdio>
#include <ctime>
#include <memory>

namespace {

#define LINK_HELP                                                                          \
    "Link (one of; without any, the USB devices 0..15 are tried first, then the\n"      \
    "highest CH341 serial port):\n"                                                      \
    "  --usb INDEX          the CH375 logger at device index INDEX (0..15)\n"            \
    "  --port PATH          a serial logger on the tty PATH (a pseudo-terminal too)\n"   \
    "  --simulate usb|serial[:TYPE]\n"                                                   \
    "                       an in-process virtual logger (USB types 1..4, serial\n"     \
    "                       2..6; default 4, temperature and humidity), with\n"         \
    "                       --samples N (default 144), --interval MIN (default 10)\n"   \
    "                       and, for serial, --unpaced (no 9600 baud pacing);\n"  \
    "                       --time-scale FACTOR runs its clock FACTOR times as\n" \
    "                       fast as this computer's\n"                           \
    "  --trace FILE         record every frame on the link in FILE\n"                   \
    "Exits 0 on success, otherwise 1 (2 for wrong arguments) with a one-line error.\n"

const char kListHelp[] =
    "usage: halvern-th-cli list [--simulate usb|serial[:TYPE]]\n\n"
    "Prints one line per logger link present: 'usb<TAB>INDEX' for each CH375\n"
    "device that opens, 'serial<TAB>PATH' for each CH341 serial port. Loggers\n"
    "are not identified. Exits 1 with \"no logger found\" when there is none.\n";
const char kStatusHelp[] =
    "usage: halvern-th-cli status [LINK OPTIONS]\n\n"
    "Identifies the logger, waits for its first status poll and prints\n"
    "'caption<TAB>value' lines: ID, type, link, run state, battery, clock\n"
    "(\"-\" where the logger does not report it).\n\n" LINK_HELP;
const char kDownloadHelp[] =
    "usage: halvern-th-cli download -o FILE.tavo [--csv FILE.csv] [LINK OPTIONS]\n\n"
    "Identifies the logger, downloads every sample and writes them as a data\n"
    "file (and as CSV). Progress goes to stderr. Nothing is written unless\n"
    "every sample arrived.\n\n" LINK_HELP;
const char kSetClockHelp[] =
    "usage: halvern-th-cli set-clock [LINK OPTIONS]\n\n"
    "Identifies the logger and sets its clock to this computer's time.\n\n" LINK_HELP;

int Failure(const char* command, const QString& reason)
{
    PrintNow(stderr, QStringLiteral("halvern-th-cli %1: %2\n").arg(QLatin1String(command), PrintableText(reason)));
    return 1;
}

// Returns -1 when the command goes on, else its exit code.
int Prepare(const char* command, const char* help, const QStringList& args, bool withOutputs, LinkOptions& o)
{
    o = ParseLinkOptions(args, withOutputs);
    if (o.help) {
        std::fputs(help, stdout);
        return 0;
    }
    if (!o.error.isEmpty()) {
        PrintNow(stderr, QStringLiteral("halvern-th-cli %1: %2 (try --help)\n").arg(QLatin1String(command), o.error));
        return 2;
    }
    return -1;
}

QString RunStateText(int state)
{
    switch (state) {
    case 0: return QStringLiteral("stopped");
    case 1: return QStringLiteral("recording");
    case 2: return QStringLiteral("waiting to start");
    default: return QString::number(state);
    }
}

QString ClockText(time64 t)
{
    if (t == 0)
        return QStringLiteral("-");
    const LocalTm c = ToLocal(t);
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour, c.minute, c.second);
}

// The CH341 ports present, highest number last.
QStringList SerialLoggers()
{
    QStringList found;
    LsComm::CComPort scanner;
    for (int n : ScanCh341Ports(scanner))
        found << PortTable::Instance().PathOf(n);
    return found;
}

QStringList UsbLoggers()
{
    QStringList found;
    Ch375Library& usb = GetCh375Library();
    for (int i = 0; i < Ch375Library::kMaxDevices; ++i) {
        const auto index = static_cast<unsigned long>(i);
        if (usb.CH375OpenDevice(index) == Ch375Library::kInvalidHandle)
            continue;
        usb.CH375CloseDevice(index);
        found << QString::number(i);
    }
    return found;
}

} // namespace

int RunList(const QStringList& args, const DisplaySettings&)
{
    LinkOptions o;
    if (const int rc = Prepare("list", kListHelp, args, false, o); rc >= 0)
        return rc;
    if (o.link != LinkOptions::Link::Detect && o.link != LinkOptions::Link::Simulate) {
        PrintNow(stderr, QStringLiteral("halvern-th-cli list: --usb and --port do not apply (try --help)\n"));
        return 2;
    }
    // A virtual logger of --simulate is plugged in while the list is made.
    CVirtualCh375 virtualUsb;
    std::unique_ptr<VirtualSerialLogger> virtualSerial;
    const time64 now = static_cast<time64>(std::time(nullptr));
    if (o.link == LinkOptions::Link::Simulate && o.simulate.serial) {
        virtualSerial = std::make_unique<VirtualSerialLogger>(MakeSimulatedSerialConfig(o.simulate, now));
        if (!virtualSerial->Start())
            return Failure("list", QStringLiteral("cannot start the virtual serial logger"));
    } else if (o.link == LinkOptions::Link::Simulate) {
        QString error;
        auto logger = MakeSimulatedUsbLogger(o.simulate, now, error);
        if (!logger)
            return Failure("list", error);
        virtualUsb.Plug(0, std::move(logger), false);
        SetCh375Library(&virtualUsb);
    }
    QString text;
    for (const QString& index : UsbLoggers())
        text += QStringLiteral("usb\t%1\n").arg(index);
    for (const QString& path : SerialLoggers())
        text += QStringLiteral("serial\t%1\n").arg(path);
    SetCh375Library(nullptr);
    if (text.isEmpty())
        return Failure("list", QStringLiteral("no logger found"));
    PrintNow(stdout, text);
    return 0;
}

int RunStatus(const QStringList& args, const DisplaySettings& display)
{
    LinkOptions o;
    if (const int rc = Prepare("status", kStatusHelp, args, false, o); rc >= 0)
        return rc;
    LoggerSession session(o, display);
    if (!session.Connect() || !session.WaitForStatus())
        return Failure("status", session.Error());
    const CLoggerRecord& r = session.Connection().Record();
    // A polled USB logger reports run state and battery without more.
    const bool hasState = r.m_bStatusValid || (session.IsUsb() && LoggerTypeOf(r.m_nType).usbStatusPoll);
    QString text;
    text += QStringLiteral("ID\t%1\n").arg(PrintableText(r.m_strValue[ROW_ID].trimmed()));
    text += QStringLiteral("Type\t%1 %2\n").arg(r.m_nType).arg(GetText(TypeTextId(r.m_nType), display.language).trimmed());
    text += QStringLiteral("Link\t%1\n").arg(session.LinkName());
    text += QStringLiteral("Run state\t%1\n").arg(hasState ? RunStateText(r.m_nRunState) : QStringLiteral("-"));
    text += QStringLiteral("Battery\t%1\n").arg(hasState ? QString::number(r.m_nBattery) : QStringLiteral("-"));
    text += QStringLiteral("Clock\t%1\n").arg(ClockText(r.m_tLoggerClock));
    PrintNow(stdout, text);
    return 0;
}

int RunDownload(const QStringList& args, const DisplaySettings& display)
{
    LinkOptions o;
    if (const int rc = Prepare("download", kDownloadHelp, args, true, o); rc >= 0)
        return rc;
    // Opened first, so an unwritable target fails before a long download.
    CLoggerFile file(o.output, CLoggerFile::ModeWrite);
    if (!file.IsOutputOpen())
        return Failure("download", QStringLiteral("cannot write %1: %2").arg(o.output, file.Error()));
    // The download's audit entry waits for the file it was written to.
    CCliAudit audit("download");
    CDownloadAuditHold held(&audit);
    LoggerSession session(o, display);
    session.Connection().Workflow().SetAuditSink(&held);
    if (!session.Connect() || !session.Download())
        return Failure("download", session.Error());
    // Every output is written that can be, whatever became of the others.
    const CLoggerRecord& r = session.Connection().Record();
    int rc = 0;
    QJsonObject written;
    if (file.Save(r, false))
        written = WrittenFile(o.output);
    else
        rc = Failure("download", QStringLiteral("cannot write %1: %2").arg(o.output, file.Error()));
    QString why;
    if (!o.csv.isEmpty() && WriteCsvFile(r, display, o.csv, &why))
        written.insert("csv", WrittenFile(o.csv));
    else if (!o.csv.isEmpty())
        rc = Failure("download", QStringLiteral("cannot write %1: %2").arg(o.csv, why));
    held.Release(written);
    if (rc != 0)
        return rc;
    const int received = r.m_nReceived;
    PrintNow(stderr, QStringLiteral("%1 %2 of logger %3 saved to %4\n")
                      .arg(received)
                      .arg(received == 1 ? QStringLiteral("sample") : QStringLiteral("samples"))
                      .arg(PrintableText(r.m_strValue[ROW_ID].trimmed()),
                           PrintableText(QFileInfo(o.output).fileName())));
    return 0;
}

int RunSetClock(const QStringList& args, const DisplaySettings& display)
{
    LinkOptions o;
    if (const int rc = Prepare("set-clock", kSetClockHelp, args, false, o); rc >= 0)
        return rc;
    CCliAudit audit("set-clock");
    LoggerSession session(o, display);
    session.Connection().Workflow().SetAuditSink(&audit);
    if (!session.Connect() || !session.SetClock())
        return Failure("set-clock", session.Error());
    return 0;
}
