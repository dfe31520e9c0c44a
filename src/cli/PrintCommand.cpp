// print: the print preview's pages of a data file, to a printer or into a PDF file.
#ifdef HALVERN_CLI_PRINT
#include "cli/CliAudit.h"
#include "cli/CliCommands.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleText.h"
#include "cli/FileArgs.h"
#include "cli/PrintService.h"

#include "base/PrintableText.h"
#include "base/TextTable.h"
#include "datafile/Fingerprint.h"
#include "datafile/LoggerFile.h"
#include "record/Units.h"
#include "report/PageGeometry.h"
#include "report/ui/ReportPrinting.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <cstdio>

namespace {

const char kPrintHelp[] =
    "usage: halvern-th-cli print FILE.tavo [--from TIME] [--to TIME] [--unit C|F]\n"
    "                            [--curve-pages N | --text] [--printer NAME | --output OUT.pdf]\n\n"
    "Prints the pages the print preview shows: N curve pages (1 to 99, landscape;\n"
    "1 when neither --curve-pages nor --text is given) or the text pages\n"
    "(a summary page, then 60 samples a page, portrait). --output writes them\n"
    "into a PDF file titled with the logger ID instead of printing; without\n"
    "--printer or --output they go to the default printer.\n"
    "The range runs from the last sample at or before --from (default: the\n"
    "record's start) to the last at or before --to (default: its stop); times\n"
    "outside the record are moved to it. A start after the end exits 2 with\n"
    "\"The start time is after the end time.\".\n";

struct PrintArgs {
    QString file;
    std::optional<time64> from, to;
    int curvePages = 1;
    bool text = false;
    QString printer;
    QString output;
    DisplaySettings display;
};

void Complain(const QString& what)
{
    Print(stderr, QStringLiteral("halvern-th-cli print: %1\n").arg(PrintableText(what)));
}

// Parses args into out; returns -1 to go on, else the exit code.
int Parse(const QStringList& args, const DisplaySettings& display, PrintArgs& out)
{
    const QCommandLineOption unit(QStringLiteral("unit"), QString(), QStringLiteral("C|F"));
    const QCommandLineOption from(QStringLiteral("from"), QString(), QStringLiteral("TIME"));
    const QCommandLineOption to(QStringLiteral("to"), QString(), QStringLiteral("TIME"));
    const QCommandLineOption pages(QStringLiteral("curve-pages"), QString(), QStringLiteral("N"));
    const QCommandLineOption text(QStringLiteral("text"));
    const QCommandLineOption printer(QStringLiteral("printer"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption output(QStringLiteral("output"), QString(), QStringLiteral("OUT.pdf"));
    CCommandLine line({unit, from, to, pages, text, printer, output}, "option");
    const bool parsed = line.Parse(args);
    if (line.HelpAsked()) {
        std::fputs(kPrintHelp, stdout);
        return 0;
    }
    QString error = parsed ? QString() : line.Error();
    // The unit and the times are checked by the shared file-command parser.
    QStringList common;
    for (const auto* option : {&unit, &from, &to})
        for (const QString& value : line.Values(*option))
            common << QStringLiteral("--") + option->names().first() << value;
    const FileArgs file = ParseFileArgs(common << QStringLiteral("file"), display);
    if (error.isEmpty())
        error = file.error;
    if (error.isEmpty() && !line.IntValue(pages, 1, 99, out.curvePages))
        error = QStringLiteral("--curve-pages takes a number from 1 to 99, not '%1'").arg(line.Value(pages));
    if (error.isEmpty() && line.IsSet(pages) && line.IsSet(text))
        error = QStringLiteral("--curve-pages and --text choose different pages: give one");
    if (error.isEmpty() && line.IsSet(printer) && line.IsSet(output))
        error = QStringLiteral("--printer and --output are two destinations: give one");
    const QStringList files = line.Positional();
    if (error.isEmpty() && files.size() != 1)
        error = files.isEmpty() ? QStringLiteral("no data file given") : QStringLiteral("only one data file, not also '%1'").arg(files[1]);
    if (!error.isEmpty()) {
        Complain(error + QStringLiteral(" (try --help)"));
        return 2;
    }
    out.file = files[0];
    out.from = file.from;
    out.to = file.to;
    out.display = file.display;
    out.text = line.IsSet(text);
    out.printer = line.Value(printer);
    out.output = line.Value(output);
    return -1;
}

// The point budget of a chart: the screen's, or a 96 dpi display's without one.
int PlotWidth()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return ScreenPlotWidth(screen ? static_cast<int>(screen->logicalDotsPerInchX()) : 96);
}

// The print's entry in the audit trail: the pages and where they went.
void RecordPrint(const ReportData& data, ReportKind kind, QJsonObject detail)
{
    detail.insert("kind", kind == ReportKind::Text ? "text" : "curve");
    detail.insert("pages", data.totalPages);
    CCliAudit("print").Record({QStringLiteral("print"), data.record->m_strValue[ROW_ID].trimmed(), detail});
}

int ToPrinter(const PrintArgs& a, const ReportData& data, ReportKind kind)
{
    const QPrinterInfo info = a.printer.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(a.printer);
    if (info.isNull()) {
        if (!PrintServiceReachable())
            Complain(QStringLiteral("the print service cannot be reached at %1: start it, or give --output OUT.pdf")
                         .arg(PrintServiceAddress()));
        else if (a.printer.isEmpty())
            Complain(QStringLiteral("no printer found: give --printer NAME or --output OUT.pdf"));
        else
            Complain(QStringLiteral("no printer named '%1'").arg(a.printer));
        return 1;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageOrientation(PageOrientation(kind));
    printer.setDocName(data.record->m_strValue[ROW_ID]);
    QString why;
    if (!RenderReport(printer, data, kind, &why)) {
        Complain(QStringLiteral("not printed: ") + why);
        return 1;
    }
    RecordPrint(data, kind, {{"printer", info.printerName()}});
    return 0;
}

} // namespace

int RunPrint(const QStringList& args, const DisplaySettings& display)
{
    PrintArgs a;
    if (const int rc = Parse(args, display, a); rc >= 0)
        return rc;
    QString why;
    const std::uint16_t language = a.display.language;
    CLoggerRecord r;
    bool area = false;
    if (OpenDataFileRecord(a.file, r, a.display, &area, &why) != OpenDataResult::Loaded) {
        Print(stderr, GetText(40, language) + PrintableText(QFileInfo(a.file).fileName()) + QStringLiteral(": ") + PrintableText(why) + '\n');
        return 1;
    }
    // A data file that holds a range is fingerprinted as a range again.
    r.m_bRange = area;
    ReportData data;
    data.record = &r;
    data.fingerprint = RecordFingerprint(r);
    data.display = a.display;
    data.screenPlotWidth = PlotWidth();
    if (!SelectRange(r, a.from.value_or(r.m_tStart), a.to.value_or(r.m_tStop), data.range)) {
        Complain(GetText(100, language));
        return 2;
    }
    data.ComputeAxisLabels();
    const ReportKind kind = a.text ? ReportKind::Text : ReportKind::Curve;
    data.totalPages = a.text ? TextPageCount(data.range.count) : a.curvePages;
    if (a.output.isEmpty())
        return ToPrinter(a, data, kind);
    if (!PrintReportToPdf(a.output, data, kind, &why)) {
        Print(stderr, GetText(38, language) + PrintableText(QFileInfo(a.output).fileName()) + QStringLiteral(": ") + PrintableText(why) + '\n');
        return 1;
    }
    RecordPrint(data, kind, WrittenFile(a.output));
    return 0;
}
#endif
