#pragma once

// A downloaded mission for report tests: n samples from 2026-06-15 08:00
// local time at interval seconds, temperatures on a slow wave around 5 C
// (humidity around 50 %RH for type 4), limits 2..8 C and 40..60 %RH; the
// summary texts in unit.
#include "record/LoggerRecord.h"
#include "record/TimeText.h"

#include <algorithm>
#include <cmath>
#include <vector>

inline void MakeMission(CLoggerRecord& r, int type, int n, time64 interval = 600,
                        TempUnit unit = TempUnit::Fahrenheit)
{
    r.Reset();
    r.m_nType = type;
    r.m_tsInterval = interval;
    r.m_tStart = MakeLocalTime(2026, 6, 15, 8, 0);
    r.SetCount(n);
    r.m_nReceived = r.m_nCount;
    r.m_tStop = r.m_tStart + (n > 0 ? n - 1 : 0) * interval;
    r.m_bTempAlarm = 1;
    r.m_fLowLimit = 2.0f;
    r.m_fHighLimit = 8.0f;
    r.m_bHumiAlarm = type == 4;
    r.m_fHumiLowLimit = 40.0f;
    r.m_fHumiHighLimit = 60.0f;
    std::vector<float> values;
    std::vector<float> temps;
    std::vector<float> humis;
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(std::round((5.0 + 3.5 * std::sin(i / 9.0)) * 100) / 100);
        const float h = static_cast<float>(std::round((50.0 + 12.0 * std::cos(i / 7.0)) * 100) / 100);
        temps.push_back(t);
        humis.push_back(h);
        values.push_back(t);
        if (type == 4)
            values.push_back(h);
    }
    r.StoreSamples(0, values.data(), n);
    r.BuildTimeTable();
    if (n > 0) {
        r.m_fLoggerMax = *std::max_element(temps.begin(), temps.end());
        r.m_fLoggerMin = *std::min_element(temps.begin(), temps.end());
        r.m_fHumiMax = *std::max_element(humis.begin(), humis.end());
        r.m_fHumiMin = *std::min_element(humis.begin(), humis.end());
    }
    r.m_strValue[ROW_ID] = QStringLiteral("TH20260615A");
    r.m_strValue[ROW_DESCRIPTION] = QStringLiteral("Cold room 3");
    r.m_strValue[ROW_START] = FormatSummaryTime(r.m_tStart);
    r.m_strValue[ROW_STOP] = FormatSummaryTime(r.m_tStop);
    r.m_strValue[ROW_INTERVAL] = FormatInterval(interval);
    r.m_strValue[ROW_COUNT] = QString::number(n);
    r.Recompute(true, unit);
}
