// verify: whether a report or worksheet belongs to a data file, by the
// fingerprint it carries.
#include "cli/CliCommands.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleText.h"

#include "base/PrintableText.h"
#include "datafile/Fingerprint.h"
#include "datafile/LoggerFile.h"
#include "export/WorkbookText.h"
#include "report/pdf/PdfText.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

const char kVerifyHelp[] =
    "usage: halvern-th-cli verify REPORT.pdf|SHEET.xlsx FILE.tavo\n\n"
    "Reads the fingerprint that a PDF report, printed pages written with\n"
    "'print --output' or a worksheet carry (\"SHA-256: \" and 64 hex digits; in\n"
    "a worksheet the row SHA-256 of its Summary sheet) and compares it with\n"
    "the data file. The fingerprint of a record is the SHA-256 of the data file\n"
    "it saves to, so sha256sum FILE.tavo shows it too.\n"
    "  exit 0  it is the SHA-256 of FILE.tavo; or, for a file written by an\n"
    "          earlier version, the fingerprint of its record saved anew (the\n"
    "          line says so)\n"
    "  exit 1  it is neither: the line names the values\n"
    "  exit 2  the report carries no fingerprint, is truncated or damaged, is no\n"
    "          PDF or worksheet, or FILE.tavo cannot be read\n";

QString Name(const QString& path)
{
    return PrintableText(QFileInfo(path).fileName());
}

int Refuse(const QString& what)
{
    Print(stderr, QStringLiteral("halvern-th-cli verify: %1\n").arg(PrintableText(what)));
    return 2;
}

bool ReadWhole(const QString& path, QByteArray& bytes, QString& why)
{
    QFile file(path);
    if (!QFileInfo::exists(path)) {
        why = QStringLiteral("no such file");
    } else if (QFileInfo(path).isDir()) {
        why = QStringLiteral("is a directory");
    } else if (!file.open(QIODevice::ReadOnly)) {
        why = file.errorString();
    } else {
        bytes = file.readAll();
        if (bytes.size() == file.size())
            return true;
        why = file.errorString();
    }
    return false;
}

// The distinct fingerprints the report at path carries, in order; false,
// with the reason, when it carries none or cannot be read.
bool CarriedFingerprints(const QString& path, QStringList& found, QString& why)
{
    QByteArray bytes;
    if (!ReadWhole(path, bytes, why))
        return false;
    QString text;
    bool read = false;
    if (bytes.startsWith("%PDF-"))
        read = ReadPdfText(bytes, text, &why);
    else if (bytes.startsWith("PK\x03\x04"))
        read = ReadFirstSheetText(path, text, &why);
    else
        why = QStringLiteral("not a PDF report or a worksheet");
    if (!read)
        return false;
    found = FingerprintsInText(text);
    found.removeDuplicates();
    if (found.isEmpty())
        why = QStringLiteral("carries no fingerprint (no \"SHA-256: \" followed by 64 hex digits)");
    return !found.isEmpty();
}

// The fingerprint of the record the data file holds, saved anew; empty,
// with the reason in why, when the file cannot be read as a record.
QString SavedAnew(const QByteArray& bytes, const DisplaySettings& display, QString& why)
{
    CLoggerFile reader;
    CLoggerRecord record;
    if (!reader.LoadBytes(bytes, record, display)) {
        why = reader.Error();
        return {};
    }
    record.m_bRange = reader.LoadedArea();
    return RecordFingerprint(record);
}

int Verify(const QString& report, const QString& data, const DisplaySettings& display)
{
    QStringList carried;
    QString why;
    if (!CarriedFingerprints(report, carried, why))
        return Refuse(Name(report) + QStringLiteral(": ") + why);
    QByteArray bytes;
    if (!ReadWhole(data, bytes, why))
        return Refuse(Name(data) + QStringLiteral(": ") + why);

    const QString file = BytesFingerprint(bytes);
    if (carried.size() == 1 && carried[0] == file) {
        Print(stdout, QStringLiteral("%1 matches %2 (SHA-256: %3)\n").arg(Name(report), Name(data), file));
        return 0;
    }
    QString loadWhy;
    const QString anew = SavedAnew(bytes, display, loadWhy);
    if (carried.size() == 1 && carried[0] == anew) {
        Print(stdout, QStringLiteral("%1 matches the record of %2, saved anew (SHA-256: %3; the file itself: %4)\n")
                          .arg(Name(report), Name(data), anew, file));
        return 0;
    }
    QString line = QStringLiteral("%1 does not match %2: ").arg(Name(report), Name(data));
    line += carried.size() == 1 ? QStringLiteral("the report carries %1").arg(carried[0])
                                : QStringLiteral("the report carries %1 different fingerprints: %2")
                                      .arg(carried.size())
                                      .arg(carried.join(QStringLiteral(", ")));
    line += QStringLiteral("; the file's SHA-256 is %1").arg(file);
    if (anew.isEmpty())
        line += QStringLiteral(" (and it cannot be read as a record: %1)").arg(loadWhy);
    else if (anew != file)
        line += QStringLiteral(", its record saved anew %1").arg(anew);
    Print(stdout, PrintableText(line) + QLatin1Char('\n'));
    return 1;
}

} // namespace

int RunVerify(const QStringList& args, const DisplaySettings& display)
{
    CCommandLine line({}, "option");
    const bool parsed = line.Parse(args);
    if (line.HelpAsked()) {
        std::fputs(kVerifyHelp, stdout);
        return 0;
    }
    QString error = parsed ? QString() : line.Error();
    const QStringList files = line.Positional();
    if (error.isEmpty() && files.size() < 2)
        error = files.isEmpty() ? QStringLiteral("no report and no data file given") : QStringLiteral("no data file given");
    if (error.isEmpty() && files.size() > 2)
        error = QStringLiteral("one report and one data file, not also '%1'").arg(files[2]);
    if (!error.isEmpty())
        return Refuse(error + QStringLiteral(" (try --help)"));
    return Verify(files[0], files[1], display);
}
