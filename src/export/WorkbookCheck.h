#pragma once

#include <QString>

// Reads a written .xlsx back and checks that every part is whole: the
// archive's checksums hold and each XML part ends with the closing tag of
// its root element. The library that writes workbooks ignores failed
// writes to its own temporary files (a full disk, a file-size limit), which
// would otherwise leave a valid archive holding a cut-off sheet. Returns
// why the workbook is damaged, or an empty text when it is whole.
QString WorkbookDamage(const QString& path);
