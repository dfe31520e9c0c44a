#include "record/AreaSelection.h"

#include "record/TimeText.h"

namespace {

// The first sample instant at or after t and the last at or before it
// (t not before start).
time64 SnapUp(time64 start, time64 interval, time64 t)
{
    const time64 offset = t - start;
    return start + (offset / interval + (offset % interval != 0 ? 1 : 0)) * interval;
}

time64 SnapDown(time64 start, time64 interval, time64 t)
{
    return start + (t - start) / interval * interval;
}

void CopySamples(const CLoggerRecord& a, CLoggerRecord& b, int first)
{
    const bool humidity = b.HasHumidity();
    b.m_fLoggerMax = -200.0f;
    b.m_fLoggerMin = 200.0f;
    b.m_fHumiMax = 0.0f;
    b.m_fHumiMin = 100.0f;
    double tempSum = 0.0;
    double humiSum = 0.0;
    for (int i = 0; i < b.m_nCount; ++i) {
        b.m_tTime[i] = a.m_tTime[first + i];
        const float t = a.m_fTempShown[first + i];
        b.m_fTemp[i] = t;
        b.m_fLoggerMax = t > b.m_fLoggerMax ? t : b.m_fLoggerMax;
        b.m_fLoggerMin = t < b.m_fLoggerMin ? t : b.m_fLoggerMin;
        tempSum += t;
        if (humidity) {
            const float h = a.m_fHumi[first + i];
            b.m_fHumi[i] = h;
            b.m_fHumiMax = h > b.m_fHumiMax ? h : b.m_fHumiMax;
            b.m_fHumiMin = h < b.m_fHumiMin ? h : b.m_fHumiMin;
            humiSum += h;
        }
    }
    if (b.m_nCount > 0) {
        b.m_fLoggerAvg = static_cast<float>(tempSum / b.m_nCount);
        b.m_fHumiAvg = static_cast<float>(humiSum / b.m_nCount);
    }
}

void CopySettings(const CLoggerRecord& a, CLoggerRecord& b)
{
    b.m_fLowLimit = a.m_fLowLimit;
    b.m_fHighLimit = a.m_fHighLimit;
    b.m_bTempAlarm = a.m_bTempAlarm;
    b.m_bHumiAlarm = a.m_bHumiAlarm;
    b.m_fHumiLowLimit = a.m_fHumiLowLimit;
    b.m_fHumiHighLimit = a.m_fHumiHighLimit;
    b.m_strValue[ROW_ID] = a.m_strValue[ROW_ID];
    b.m_strValue[ROW_START] = FormatDateTime(b.m_tStart);
    b.m_strValue[ROW_STOP] = FormatDateTime(b.m_tStop);
    b.m_strValue[ROW_INTERVAL] = a.m_strValue[ROW_INTERVAL];
    b.m_strValue[ROW_COUNT] = QString::number(b.m_nCount);
    b.m_strValue[ROW_DESCRIPTION] = a.m_strValue[ROW_DESCRIPTION];
    b.m_nRowFlags |= RF_ID | RF_START | RF_STOP | RF_INTERVAL | RF_COUNT;
    b.m_bDescRead = a.m_bDescRead;
    b.m_bTimesValid = a.m_bTimesValid;
}

} // namespace

SelectionResult ComputeSelection(const CLoggerRecord& a, time64 from, time64 to, CLoggerRecord& b,
                                 SelectionClamps& clamps, TempUnit unit)
{
    clamps = {};
    if (a.m_tStart > a.m_tStop || a.m_nCount <= 0)
        return SelectionResult::Unchanged;
    b.ClearSamples();
    const time64 interval = a.m_tsInterval;
    if (interval <= 0)
        return SelectionResult::Refused;
    b.m_tStart = from;
    b.m_tStop = to;
    if (b.m_tStart < a.m_tStart) {
        b.m_tStart = a.m_tStart;
        clamps.start = true;
    }
    if (b.m_tStop > a.m_tStop) {
        b.m_tStop = a.m_tStop;
        clamps.stop = true;
    }
    if (b.m_tStart > b.m_tStop)
        return SelectionResult::Empty;
    b.m_tStart = SnapUp(a.m_tStart, interval, b.m_tStart);
    b.m_tStop = SnapDown(a.m_tStart, interval, b.m_tStop);
    if (b.m_tStop > a.m_tStop)
        b.m_tStop = a.m_tStop;
    if (b.m_tStart > b.m_tStop)
        return SelectionResult::Empty;

    const time64 first = (b.m_tStart - a.m_tStart) / interval;
    time64 count = (b.m_tStop - b.m_tStart) / interval + 1;
    if (first + count > a.m_nCount)
        count = a.m_nCount - first;
    if (count < 0)
        count = 0;
    b.SetCount(static_cast<int>(count));
    b.m_bRange = true;
    b.m_tsInterval = interval;
    b.m_nType = a.m_nType;
    CopySamples(a, b, static_cast<int>(first));
    CopySettings(a, b);
    b.m_nReceived = b.m_nCount;
    b.m_byDataFlags = b.m_nCount > 0 ? DATA_FLAG_SAMPLES : 0;
    b.Recompute(true, unit);
    return SelectionResult::Built;
}
