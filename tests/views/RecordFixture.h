#pragma once

#include "record/LoggerRecord.h"
#include "record/TimeText.h"
#include "record/Units.h"

// A small mission in memory: count samples every 10 minutes from
// 2024-03-05 09:00, temperatures 10..30 C, limits 12 and 28; the summary
// texts in unit.
inline void FillMission(CLoggerRecord& r, int type, int count, TempUnit unit = TempUnit::Fahrenheit)
{
    r.Reset();
    r.m_nType = type;
    r.m_strValue[ROW_ID] = type == 4 ? QStringLiteral("UTH40000004") : QStringLiteral("U1000000001");
    r.m_tsInterval = 600;
    r.m_tStart = MakeLocalTime(2024, 3, 5, 9, 0);
    r.SetCount(count);
    r.m_nReceived = r.m_nCount;
    r.m_tStop = r.m_tStart + (count - 1) * r.m_tsInterval;
    for (int i = 0; i < count; ++i) {
        r.m_fTemp[i] = 10.0f + 20.0f * static_cast<float>(i % 21) / 20.0f;
        r.m_fHumi[i] = type == 4 ? 40.0f + static_cast<float>(i % 11) : 0.0f;
    }
    r.m_fLoggerMax = 30.0f;
    r.m_fLoggerMin = 10.0f;
    r.m_fLoggerAvg = 20.0f;
    r.m_fHighLimit = 28.0f;
    r.m_fLowLimit = 12.0f;
    r.m_bTempAlarm = 1;
    r.m_fHumiHighLimit = 48.0f;
    r.m_fHumiLowLimit = 42.0f;
    r.m_bHumiAlarm = type == 4 ? 1 : 0;
    r.m_fHumiMax = type == 4 ? 50.0f : 0.0f;
    r.m_fHumiMin = type == 4 ? 40.0f : 0.0f;
    r.m_byDataFlags = DATA_FLAG_SAMPLES;
    r.BuildTimeTable();
    r.Recompute(true, unit);
}
