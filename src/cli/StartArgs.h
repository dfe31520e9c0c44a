#pragma once

#include "cli/LinkOptions.h"
#include "record/LoggerRecord.h"

#include <QString>
#include <QStringList>
#include <optional>

// Arguments of `start` and `stop`: the link options, and for start the
// mission: --interval HH:MM, --at TIME, --temp-limits LO HI, --humi-limits
// LO HI (values may be negative: they are taken as values, not options),
// --description TEXT, --unit C|F and --erase.
struct StartArgs {
    LinkOptions link;
    int intervalMinutes = 0;
    std::optional<time64> at;
    std::optional<QString> tempLow, tempHigh;
    std::optional<QString> humiLow, humiHigh;
    std::optional<QString> description;
    bool fahrenheit = true;
    bool erase = false;
    bool help = false;
    QString error; // not empty when the arguments are wrong
};

StartArgs ParseStartArgs(const QStringList& args);
// stop takes the link options only.
LinkOptions ParseStopArgs(const QStringList& args);

// "HH:MM" as minutes (00:01 .. 99:59); empty when it is not that.
std::optional<int> ParseIntervalArg(const QString& text);
