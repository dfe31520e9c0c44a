#pragma once

#include <QByteArray>
#include <QString>

// The library that writes workbooks prints numbers with 16 significant
// digits, which for most times of day does not read back as the double the
// time was: 08:00 on a day becomes a value a few microseconds off, and a
// formula comparing the cell with DATE()+TIME() fails. A time cell holds a
// whole number of seconds, so its exact serial is recovered from the printed
// one and written with as many digits as it needs to read back exactly.

// The sheet XML with every numeric cell of the given column (a letter)
// rewritten so; other cells are copied as they are.
QByteArray ExactSerialsInColumn(const QByteArray& sheetXml, char column);

// Copies the workbook at from to to with that rewrite applied to the part
// named part (for example "xl/worksheets/sheet2.xml"). Empty on success,
// else why the workbook could not be copied.
QString CopyWithExactSerials(const QString& from, const QString& to, const QByteArray& part, char column);
