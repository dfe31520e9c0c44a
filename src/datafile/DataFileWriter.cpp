#include "datafile/DataFileWriter.h"

#include "datafile/LoggerFile.h"

bool WriteDataFile(const CLoggerRecord& record, bool area, const QString& path, QString* why)
{
    CLoggerFile file(path, CLoggerFile::ModeWrite);
    if (file.IsOutputOpen() && file.Save(record, area))
        return true;
    if (why)
        *why = file.Error();
    return false;
}

bool WriteRecordDataFile(const CLoggerRecord& record, const QString& path, QString* why)
{
    return WriteDataFile(record, record.m_bRange, path, why);
}
