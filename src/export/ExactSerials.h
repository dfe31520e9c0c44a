#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <string_view>
#include <vector>

// The library that writes workbooks prints numbers with 16 significant
// digits, which for most times of day does not read back as the double the
// time was: 08:00 on a day becomes a value a few microseconds off, and a
// formula comparing the cell with DATE()+TIME() fails. A time cell holds a
// whole number of seconds, so its exact serial is recovered from the printed
// one and written with as many digits as it needs to read back exactly.

// Which cells of a sheet hold times, by their reference ("B7").
using TimeCells = std::function<bool(std::string_view reference)>;

// Every cell of column (a letter).
TimeCells WholeColumn(char column);
// The cells named.
TimeCells TheseCells(std::vector<std::string> references);

// The sheet XML with every numeric cell that cells names rewritten so;
// other cells are copied as they are.
QByteArray ExactSerials(const QByteArray& sheetXml, const TimeCells& cells);

// The time cells of one part of a workbook ("xl/worksheets/sheet2.xml").
struct PartTimeCells {
    QByteArray part;
    TimeCells cells;
};

// Copies the workbook at from to to with that rewrite applied to each part
// named in parts. Empty on success, else why the workbook could not be copied.
QString CopyWithExactSerials(const QString& from, const QString& to, const std::vector<PartTimeCells>& parts);
