#pragma once

// Data files of small missions for the archive's tests: n samples every
// ten minutes from 08:00 local time on a day of June 2026, temperatures on
// a wave from 1.5 to 8.5 C; with alarms the limits are 2..8 C (40..60 %RH),
// which the wave crosses, else -10..30 C (0..100 %RH), which it never does.
#include "datafile/LoggerFile.h"
#include "record/TimeText.h"
#include "support/MissionRecord.h"

#include <QString>

struct MissionPlan {
    const char* id; // 11 characters; UTH... has humidity, UT3... not
    int day;        // of June 2026
    bool alarms;
    int samples = 50;
};

inline time64 JuneTime(int day, int hour, int minute = 0)
{
    return MakeLocalTime(2026, 6, day, hour, minute);
}

inline bool WriteMission(const QString& path, const MissionPlan& plan)
{
    CLoggerRecord r;
    const QString id = QString::fromLatin1(plan.id);
    MakeMission(r, TypeFromIdSerial(id), plan.samples);
    r.m_strValue[ROW_ID] = id;
    r.m_tStart = JuneTime(plan.day, 8);
    r.m_tStop = r.m_tStart + (plan.samples - 1) * r.m_tsInterval;
    r.BuildTimeTable();
    if (!plan.alarms) {
        r.m_fLowLimit = -10;
        r.m_fHighLimit = 30;
        r.m_fHumiLowLimit = 0;
        r.m_fHumiHighLimit = 100;
    }
    r.Recompute(true, TempUnit::Celsius);
    CLoggerFile file(path, CLoggerFile::ModeWrite);
    return file.IsOutputOpen() && file.Save(r, false);
}
