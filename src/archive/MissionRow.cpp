#include "archive/MissionRow.h"

#include "record/Excursions.h"

MissionRow MissionFromRecord(const CLoggerRecord& r, const QString& file, qint64 size, const QString& sha256)
{
    MissionRow row;
    row.loggerId = r.m_strValue[ROW_ID].trimmed();
    row.type = r.m_nType;
    row.start = r.m_tStart;
    row.stop = r.m_tStop;
    row.interval = r.m_tsInterval;
    row.samples = r.m_nCount;
    row.tempMin = r.m_fMin;
    row.tempMax = r.m_fMax;
    row.tempAvg = r.m_fAvg;
    row.tempMkt = r.m_fMkt;
    row.hasHumidity = r.HasHumidity();
    if (row.hasHumidity) {
        row.humiMin = r.m_fHumiMin;
        row.humiMax = r.m_fHumiMax;
        row.humiAvg = r.m_fHumiAvg;
    }
    const AlarmReport alarms = FindExcursions(r);
    row.tempLimits = alarms.temperature.inForce;
    if (row.tempLimits) {
        row.tempLow = r.m_fLowLimit;
        row.tempHigh = r.m_fHighLimit;
    }
    row.humiLimits = alarms.humidity.inForce;
    if (row.humiLimits) {
        row.humiLow = r.m_fHumiLowLimit;
        row.humiHigh = r.m_fHumiHighLimit;
    }
    row.tempExcursions = alarms.temperature.excursions;
    row.tempExcursionTime = alarms.temperature.above + alarms.temperature.below;
    row.humiExcursions = alarms.humidity.excursions;
    row.humiExcursionTime = alarms.humidity.above + alarms.humidity.below;
    row.description = r.m_strValue[ROW_DESCRIPTION].trimmed();
    row.file = file;
    row.fileSize = size;
    row.sha256 = sha256;
    return row;
}
