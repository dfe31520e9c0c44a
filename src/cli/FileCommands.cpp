// The data-file commands: info, samples, export.
#include "cli/ConsoleText.h"
#include "cli/CliCommands.h"
#include "cli/FileArgs.h"

#include "base/TextTable.h"
#include "datafile/LoggerFile.h"
#include "export/CsvExport.h"
#include "record/SampleText.h"

#include <QFileInfo>
#include <cstdio>

namespace {

const char kInfoHelp[] =
    "usage: halvern-th-cli info FILE.tavo [--unit C|F]\n\n"
    "Opens a data file and prints its summary, one 'caption<TAB>value' line\n"
    "per row that holds a value. Temperatures in degrees F unless --unit C.\n";
const char kSamplesHelp[] =
    "usage: halvern-th-cli samples FILE.tavo [--unit C|F]\n\n"
    "Opens a data file and prints one line per sample: number, time,\n"
    "temperature (\"*\" past an alarm limit) and, for a temperature and\n"
    "humidity logger, humidity, separated by tabs.\n";
const char kExportHelp[] =
    "usage: halvern-th-cli export FILE.tavo [--tavo OUT.tavo] [--csv OUT.csv] [--unit C|F]\n\n"
    "Opens a data file and writes it again as a data file (--tavo) and/or\n"
    "its samples as CSV (--csv: \"Num\",\"RecordTime\",\"Temperature\"[,\"Humidity\"],\n"
    "UTF-8). Exits 0 only when every requested file was written whole.\n";

QString FileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

// Parses the arguments and opens the data file as the Open command does.
// Returns -1 when the command goes on, else the exit code.
int Prepare(const char* command, const char* help, const QStringList& args, bool withOutputs, FileArgs& parsed, bool* pArea = nullptr)
{
    parsed = ParseFileArgs(args, withOutputs);
    if (parsed.help) {
        std::fputs(help, stdout);
        return 0;
    }
    if (!parsed.error.isEmpty()) {
        Print(stderr, QStringLiteral("halvern-th-cli %1: %2 (try --help)\n").arg(QLatin1String(command), parsed.error));
        return 2;
    }
    if (OpenDataFileRecord(parsed.file, pArea) != OpenDataResult::Loaded) {
        Print(stderr, GetText(40) + FileName(parsed.file) + '\n');
        return 1;
    }
    return -1;
}

} // namespace

int RunInfo(const QStringList& args)
{
    FileArgs parsed;
    if (const int rc = Prepare("info", kInfoHelp, args, false, parsed); rc >= 0)
        return rc;
    QString text;
    for (int row = 0; row < SUMMARY_ROWS; ++row) {
        const QString value = g_LoggerRecord.m_strValue[row].trimmed();
        if (!value.isEmpty())
            text += g_LoggerRecord.m_strLabel[row].trimmed() + '\t' + value + '\n';
    }
    Print(stdout, text);
    return 0;
}

int RunSamples(const QStringList& args)
{
    FileArgs parsed;
    if (const int rc = Prepare("samples", kSamplesHelp, args, false, parsed); rc >= 0)
        return rc;
    const CLoggerRecord& r = g_LoggerRecord;
    const int columns = SampleColumnCount(r);
    QString text;
    for (int row = 0; row < r.m_nReceived; ++row) {
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                text += '\t';
            text += SampleCellText(r, row, c);
        }
        text += '\n';
        if (text.size() > 1 << 16) {
            Print(stdout, text);
            text.clear();
        }
    }
    Print(stdout, text);
    return 0;
}

int RunExport(const QStringList& args)
{
    FileArgs parsed;
    bool area = false;
    if (const int rc = Prepare("export", kExportHelp, args, true, parsed, &area); rc >= 0)
        return rc;
    int rc = 0;
    if (!parsed.tavoOut.isEmpty()) {
        CLoggerFile file(parsed.tavoOut, CLoggerFile::ModeWrite);
        file.m_pRecord = &g_LoggerRecord;
        if (!file.IsOutputOpen() || !file.Save(area)) {
            Print(stderr, GetText(38) + FileName(parsed.tavoOut) + '\n');
            rc = 1;
        }
    }
    if (!parsed.csvOut.isEmpty() && !WriteCsvFile(g_LoggerRecord, parsed.csvOut)) {
        Print(stderr, GetText(38) + FileName(parsed.csvOut) + '\n');
        rc = 1;
    }
    return rc;
}
