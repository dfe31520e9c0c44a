#pragma once

#include "base/TextId.h"
#include "record/LoggerRecord.h"

#include <QString>
#include <QStringList>
#include <span>

// The kinds of file Save writes, one row each: the save dialog's filter,
// the extension (without the dot) and the writer, which writes texts and
// temperatures as display shows them.
using RecordWriter = bool (*)(const CLoggerRecord& record, const DisplaySettings& display, const QString& path,
                              QString* why);

struct SaveKind {
    TextId filter;
    const char* extension;
    RecordWriter write;
};

std::span<const SaveKind> SaveKinds();
// The save dialog's filter of a kind in language ("Halvern File (*.tavo)").
QString FilterText(const SaveKind& kind, std::uint16_t language);
// The filters of the save dialog, in the order of the rows.
QStringList SaveFilters(std::uint16_t language = 0);
// The kind of a filter in either language; null for none.
const SaveKind* SaveKindOfFilter(const QString& filter);

// What Save writes for a path chosen in the dialog and the filter chosen
// with it. The extension is the part of the file name after its first dot
// (none without a dot), compared case-sensitively. An extension that names
// a kind chooses that kind and the path stays as typed, whatever the filter
// (so one output only, never two kinds onto one name); otherwise the
// filter's kind is written and its extension appended to the whole name:
// "run1" -> "run1.xlsx", "site.a.tavo" -> "site.a.tavo.tavo".
struct SaveTarget {
    const SaveKind* kind = nullptr; // null when neither names a kind
    QString path;
    QString name; // the file name of path
};
SaveTarget ResolveSaveTarget(const QString& chosenPath, const QString& filter);

// The name Save proposes: the logger ID without surrounding blanks, "T",
// then the year, month, day and hour of the start of the record to save
// in local time ("U2512345678T2018030509").
QString DefaultSaveName(const QString& loggerId, time64 start);
