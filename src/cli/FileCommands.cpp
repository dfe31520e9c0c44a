// The data-file commands: info, samples, export.
#include "cli/CliAudit.h"
#include "cli/ConsoleText.h"
#include "cli/CliCommands.h"
#include "cli/FileArgs.h"
#include "cli/FileTarget.h"
#include "cli/SummaryJson.h"

#include "base/PrintableText.h"
#include "base/TextTable.h"
#include "datafile/DataFileWriter.h"
#include "datafile/LoggerFile.h"
#include "export/CsvExport.h"
#include "export/Worksheet.h"
#include "report/pdf/PdfReport.h"
#include "record/AreaSelection.h"
#include "record/LoggerType.h"
#include "record/SampleText.h"
#include "record/TimeText.h"

#include <QFileInfo>
#include <cstdio>

namespace {

using RecordWriter = bool (*)(const CLoggerRecord& record, const DisplaySettings& display, const QString& path,
                              QString* why);

#define RANGE_HELP                                                                           \
    "With --from and/or --to (local time YYYY-MM-DD HH:MM, also YYYY-MM-DDTHH:MM,\n"          \
    "either with :SS) the command works on that range of the record, as the\n"               \
    "graph's selection does: from the first sample at or after --from to the\n"              \
    "last at or before --to; a missing end is the record's own start or stop.\n"             \
    "A time outside the record is moved to its start or stop (\"Time Over\" on\n"            \
    "stderr); a range without a sample instant exits 1.\n"

const char kInfoHelp[] =
    "usage: halvern-th-cli info FILE.tavo [--from TIME] [--to TIME] [--unit C|F] [--json]\n\n"
    "Opens a data file and prints its summary, one 'caption<TAB>value' line\n"
    "per row that holds a value. Temperatures in degrees F unless --unit C.\n"
    "With --json the summary is one JSON object, numbers as numbers (rounded\n"
    "to 0.01), times in ISO 8601 local time with the zone's offset, and\n"
    "\"sha256\": the fingerprint of the record, the SHA-256 of its data file.\n" RANGE_HELP;
const char kSamplesHelp[] =
    "usage: halvern-th-cli samples FILE.tavo [--from TIME] [--to TIME] [--unit C|F]\n\n"
    "Opens a data file and prints one line per sample: number, time,\n"
    "temperature (\"*\" past an alarm limit) and, for a temperature and\n"
    "humidity logger, humidity, separated by tabs.\n" RANGE_HELP;
const char kExportHelp[] =
    "usage: halvern-th-cli export FILE.tavo OUTPUTS... [--from TIME] [--to TIME] [--unit C|F]\n\n"
    "Opens a data file and writes the record to each output given (any\n"
    "combination, at least one):\n"
    "%1"
    "Exits 0 only when every requested file was written whole; a file that\n"
    "fails has its own line and the others are written all the same.\n" RANGE_HELP
    "Each output then holds just the range; --tavo saves it as a data file of\n"
    "a selected range, as the window saves its selection.\n";

#undef RANGE_HELP

// A data file holds the record as it is, whatever the display.
bool WriteData(const CLoggerRecord& record, const DisplaySettings&, const QString& path, QString* why)
{
    return WriteRecordDataFile(record, path, why);
}

// The files export writes: the option, its value, the writer, and what
// the file holds (for --help).
struct ExportOutput {
    OutputOption option;
    RecordWriter write;
    const char* holds;
};

const ExportOutput kExportOutputs[] = {
    {{"tavo", "OUT.tavo"}, WriteData, "a data file"},
    {{"csv", "OUT.csv"}, WriteCsvFile, "the samples as CSV, UTF-8: \"Num\",\"RecordTime\",\"Temperature\"[,\"Humidity\"]"},
    {{"xlsx", "OUT.xlsx"}, WriteWorksheet, "a worksheet: sheets Summary and Data, numbers in the unit"},
    {{"pdf", "OUT.pdf"}, WritePdfReport, "the PDF report: summary, chart and sample table"},
};

QList<OutputOption> ExportOptions()
{
    QList<OutputOption> options;
    for (const ExportOutput& output : kExportOutputs)
        options << output.option;
    return options;
}

QByteArray ExportHelp()
{
    QString outputs;
    for (const ExportOutput& output : kExportOutputs)
        outputs += QStringLiteral("  %1  %2\n")
                       .arg(QStringLiteral("--%1 %2")
                                .arg(QLatin1String(output.option.name), QLatin1String(output.option.valueName))
                                .leftJustified(15),
                            QLatin1String(output.holds));
    return QString::fromLatin1(kExportHelp).arg(outputs).toUtf8();
}

QString FileName(const QString& path)
{
    return PrintableText(QFileInfo(path).fileName());
}

void Complain(const char* command, const QString& what)
{
    Print(stderr, QStringLiteral("halvern-th-cli %1: %2\n").arg(QLatin1String(command), PrintableText(what)));
}

// A file failure: the window's text, the file's name and the cause.
void FileFailure(int textId, std::uint16_t language, const QString& path, const QString& why)
{
    Print(stderr, GetText(textId, language) + FileName(path) + QStringLiteral(": ") + PrintableText(why) + '\n');
}

// Why a range cannot be taken; empty when it can.
QString RangeRefusal(SelectionResult result, const CLoggerRecord& whole, time64 from, time64 to)
{
    switch (result) {
    case SelectionResult::Unchanged:
        return whole.m_nCount <= 0 ? QStringLiteral("the file holds no samples to take a range of")
                                   : QStringLiteral("the file's stop time is before its start time: no range to take");
    case SelectionResult::Refused:
        return QStringLiteral("the file's sampling interval is 0: it has no sample instants to take a range of");
    case SelectionResult::Empty:
        return QStringLiteral("no sample between %1 and %2").arg(FormatDateTime(from), FormatDateTime(to));
    case SelectionResult::Built:
        break;
    }
    return {};
}

// Builds the target's range from the --from/--to range of its whole record, telling
// each end moved to the record's own. Returns -1 when the command goes on
// with the range, else the exit code.
int TakeRange(const char* command, const FileArgs& parsed, FileTarget& target)
{
    const CLoggerRecord& whole = target.whole;
    const time64 from = parsed.from.value_or(whole.m_tStart);
    const time64 to = parsed.to.value_or(whole.m_tStop);
    SelectionClamps clamps;
    const SelectionResult result = ComputeSelection(whole, from, to, target.range, clamps, parsed.display.unit);
    const QString timeOver = GetText(TextId::TimeOver, parsed.display.language);
    if (clamps.start)
        Complain(command, QStringLiteral("%1: --from is before the record's start, %2 is used")
                              .arg(timeOver, FormatDateTime(whole.m_tStart)));
    if (clamps.stop)
        Complain(command, QStringLiteral("%1: --to is after the record's stop, %2 is used")
                              .arg(timeOver, FormatDateTime(whole.m_tStop)));
    if (const QString refusal = RangeRefusal(result, whole, from, to); !refusal.isEmpty()) {
        Complain(command, refusal);
        return 1;
    }
    target.ranged = true;
    return -1;
}

} // namespace

int PrepareFileCommand(const char* command, const QByteArray& help, const QStringList& args,
                       const DisplaySettings& display, FileOptions options, FileArgs& parsed, FileTarget& target)
{
    parsed = ParseFileArgs(args, display, options.outputs, options.json);
    if (parsed.help) {
        std::fputs(help.constData(), stdout);
        return 0;
    }
    if (!parsed.error.isEmpty()) {
        Complain(command, parsed.error + QStringLiteral(" (try --help)"));
        return 2;
    }
    target.ranged = false;
    QString why;
    bool area = false;
    if (OpenDataFileRecord(parsed.file, target.whole, parsed.display, &area, &why) != OpenDataResult::Loaded) {
        FileFailure(40, parsed.display.language, parsed.file, why);
        return 1;
    }
    // A data file that holds a range is saved as a range again.
    target.whole.m_bRange = area;
    if (!parsed.from && !parsed.to)
        return -1;
    return TakeRange(command, parsed, target);
}

int RunInfo(const QStringList& args, const DisplaySettings& display)
{
    FileArgs parsed;
    FileTarget target;
    if (const int rc = PrepareFileCommand("info", kInfoHelp, args, display, {{}, true}, parsed, target); rc >= 0)
        return rc;
    const CLoggerRecord& r = target.Record();
    if (parsed.json) {
        Print(stdout, SummaryJson(r, parsed.display.unit));
        return 0;
    }
    QString text;
    for (int row = 0; row < SUMMARY_ROWS; ++row)
        if (SummaryRowPrinted(r, row))
            text += PrintableText(SummaryCaption(row, parsed.display.language).trimmed()) + '\t' + PrintableText(r.m_strValue[row].trimmed()) + '\n';
    Print(stdout, text);
    return 0;
}

int RunSamples(const QStringList& args, const DisplaySettings& display)
{
    FileArgs parsed;
    FileTarget target;
    if (const int rc = PrepareFileCommand("samples", kSamplesHelp, args, display, {}, parsed, target); rc >= 0)
        return rc;
    const CLoggerRecord& r = target.Record();
    const int columns = SampleColumnCount(r);
    QString text;
    for (int row = 0; row < r.m_nReceived; ++row) {
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                text += '\t';
            text += PrintableText(SampleCellText(r, row, c, parsed.display.unit));
        }
        text += '\n';
        if (text.size() > 1 << 16) {
            Print(stdout, text);
            text.clear();
            if (std::ferror(stdout))
                return 1; // main reports the failed write
        }
    }
    Print(stdout, text);
    return 0;
}

int RunExport(const QStringList& args, const DisplaySettings& display)
{
    FileArgs parsed;
    FileTarget target;
    const QList<OutputOption> options = ExportOptions();
    if (const int rc = PrepareFileCommand("export", ExportHelp(), args, display, {options, false}, parsed, target); rc >= 0)
        return rc;
    CCliAudit audit("export");
    int rc = 0;
    for (const ExportOutput& output : kExportOutputs) {
        const QString path = parsed.outputs.value(QString::fromLatin1(output.option.name));
        QString why;
        if (path.isEmpty())
            continue;
        if (!output.write(target.Record(), parsed.display, path, &why)) {
            FileFailure(38, parsed.display.language, path, why);
            rc = 1;
            continue;
        }
        QJsonObject detail = WrittenFile(path);
        detail.insert("kind", QLatin1String(output.option.name));
        detail.insert("source", QFileInfo(parsed.file).absoluteFilePath());
        audit.Record({QStringLiteral("export"), target.Record().m_strValue[ROW_ID].trimmed(), detail});
    }
    return rc;
}
