#pragma once

#include <QString>

// The texts of a workbook's first sheet (the Summary sheet of the worksheet
// export): each row's cells joined by a tab, rows by a line break. Cells
// are read as stored: inline strings, shared strings, numbers as written.
//
// False, with the reason in why, when path is no workbook (not a zip
// archive, or one without a first sheet) or cannot be read whole (a
// truncated or damaged archive, a sheet that is no well-formed XML).
bool ReadFirstSheetText(const QString& path, QString& text, QString* why = nullptr);
