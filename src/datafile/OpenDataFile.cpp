#include "datafile/LoggerFile.h"

#include <utility>

OpenDataResult OpenDataFileRecord(const QString& path, CLoggerRecord& record, const DisplaySettings& display, bool* pArea,
                                  QString* why)
{
    if (pArea)
        *pArea = false;
    CLoggerFile file(path, CLoggerFile::ModeRead);
    if (why)
        *why = file.Error();
    if (!file.IsInputOpen())
        return OpenDataResult::NotOpened;
    // The file is read into a copy of the record (so what the file does not
    // hold stays as before), and the copy replaces the record only when the
    // whole file was accepted: a refused file changes nothing.
    CLoggerRecord loaded = record;
    loaded.m_byDataFlags = 0;
    const bool ok = file.Load(loaded, display);
    if (why)
        *why = file.Error();
    if (pArea)
        *pArea = ok && file.LoadedArea();
    file.Close();
    if (!ok)
        return OpenDataResult::Failed;
    loaded.m_bDescRead = 1;
    loaded.BuildTimeTable();
    loaded.m_nBattery = 0;
    loaded.m_bStatusValid = 0;
    record = std::move(loaded);
    return OpenDataResult::Loaded;
}
