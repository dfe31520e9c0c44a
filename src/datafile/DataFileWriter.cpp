#include "datafile/DataFileWriter.h"

#include "datafile/LoggerFile.h"

bool WriteDataFile(const CLoggerRecord& record, bool area, const QString& path, QString* why)
{
    CLoggerFile file(path, CLoggerFile::ModeWrite);
    // Save only reads the record.
    file.m_pRecord = const_cast<CLoggerRecord*>(&record);
    if (file.IsOutputOpen() && file.Save(area))
        return true;
    if (why)
        *why = file.Error();
    return false;
}

bool WriteRecordDataFile(const CLoggerRecord& record, const QString& path, QString* why)
{
    return WriteDataFile(record, &record == &g_AreaRecord, path, why);
}
