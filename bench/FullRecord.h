#pragma once

// A full type 4 record for the benchmarks: 60000 samples of temperature and
// humidity every 10 minutes from 2025-01-01, slow cycles rounded to
// hundredths. Limits, alarms and derived tables are left to each benchmark.
#include "record/LoggerRecord.h"
#include "record/TimeText.h"

#include <cmath>

inline void FillFullType4(CLoggerRecord& r)
{
    r.Reset();
    r.m_nType = 4;
    r.m_strValue[ROW_ID] = QStringLiteral("UTH12345678");
    r.m_strValue[ROW_DESCRIPTION] = QStringLiteral("Warehouse 7");
    r.m_tsInterval = 600;
    r.m_tStart = MakeLocalTime(2025, 1, 1, 0, 0);
    r.SetCount(MAX_SAMPLES);
    r.m_tStop = r.m_tStart + (MAX_SAMPLES - 1) * r.m_tsInterval;
    for (int i = 0; i < MAX_SAMPLES; ++i) {
        r.m_fTemp[i] = static_cast<float>(std::round((15.0 + 10.0 * std::sin(i * 0.004)) * 100) / 100);
        r.m_fHumi[i] = static_cast<float>(std::round((50.0 + 20.0 * std::cos(i * 0.003)) * 100) / 100);
    }
}
