#include "datafile/LoggerFile.h"

OpenDataResult OpenDataFileRecord(const QString& path, bool* pArea, QString* why)
{
    CLoggerFile file(path, CLoggerFile::ModeRead);
    if (why)
        *why = file.Error();
    if (!file.IsInputOpen())
        return OpenDataResult::NotOpened;
    g_LoggerRecord.m_byDataFlags = 0;
    const bool ok = file.Load();
    if (!ok) {
        g_LoggerRecord.Reset();
        g_AreaRecord.Reset();
    }
    if (why)
        *why = file.Error();
    if (pArea)
        *pArea = ok && file.LoadedArea();
    g_LoggerRecord.m_bDescRead = 1;
    g_LoggerRecord.BuildTimeTable();
    g_LoggerRecord.m_nBattery = 0;
    g_LoggerRecord.m_bStatusValid = 0;
    file.Close();
    return ok ? OpenDataResult::Loaded : OpenDataResult::Failed;
}
