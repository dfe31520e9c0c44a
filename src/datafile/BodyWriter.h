#pragma once

#include "record/LoggerRecord.h"

#include <QString>
#include <string>

// Plain body text of a data file for a record. The layout follows the type
// that a reader derives from the ID, so every file written can be read back.
// Returns false, leaving out unspecified, when a value cannot be stored in
// its field: an ID that is not 11 ASCII characters, a time, interval or
// count too wide, a count outside 0..60000, a value that is not finite or
// whose integer part does not fit seven characters. Values longer than seven
// characters lose their last decimals (-1000.00, the missing-value mark,
// is stored as -1000.0).
// why, when given, receives the reason worded for the user.
bool BuildBody(const CLoggerRecord& record, std::string& out, QString* why = nullptr);

// Why record cannot be stored in the data-file layout of its type ("10000
// samples; a data file of this logger type holds at most 9999"); empty when
// its ID, times, interval and count fit. Values are checked by BuildBody.
QString LayoutRefusal(const CLoggerRecord& record);

// "%4.2f", cut to seven characters when only decimals are lost, padded with
// blanks to seven. False when the value cannot be stored that way.
bool AppendValue(std::string& out, float value);
