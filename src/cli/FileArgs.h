#pragma once

#include "record/LoggerRecord.h"

class CCommandLine;
class QCommandLineOption;

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>

// An output option of a file command: --NAME VALUE.
struct OutputOption {
    const char* name;      // "xlsx"
    const char* valueName; // "OUT.xlsx"
};

// Arguments of the file commands: one data file and options.
struct FileArgs {
    QString file;
    QMap<QString, QString> outputs; // output option name -> the path given
    std::optional<time64> from; // --from: start of the range to work on
    std::optional<time64> to;   // --to: its end
    bool json = false;          // --json: one JSON object for scripts
    DisplaySettings display;    // the command's settings with the unit of --unit
    bool help = false;
    QString error; // not empty when the arguments are wrong
};

// Accepts FILE, --unit C|F (the unit of display in the result), --from
// TIME, --to TIME, --help, the output options given, of which at least one
// is then required, and with withJson also --json.
FileArgs ParseFileArgs(const QStringList& args, const DisplaySettings& display,
                       std::span<const OutputOption> outputs = {}, bool withJson = false);

// A local time written YYYY-MM-DD HH:MM, with T in place of the blank and/or
// :SS after the minutes (month, day and hour may have one digit, as the
// program prints them). False when text is none of these or no such time.
bool ParseLocalTimeArg(const QString& text, time64& t);

// How a --from/--to value may be written: a local time only, or also an
// ISO 8601 time with Z or an offset (as the audit trail's JSON gives them).
enum class TimeForms { Local, LocalOrZoned };

// The time of option's last value into t (left as it is when the option is
// not given); false with error set when it is not a time of those forms.
bool TakeTimeOption(const CCommandLine& line, const QCommandLineOption& option, TimeForms forms,
                    std::optional<time64>& t, QString& error);

// Takes the temperature unit of the last --unit value into display; false
// with error set when one of them is neither C nor F.
bool ApplyUnits(const QStringList& units, DisplaySettings& display, QString& error);
