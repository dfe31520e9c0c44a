#include "link/serial/SerialProtocol.h"

#include "link/serial/SerialChecksum.h"
#include "link/serial/SerialLayouts.h"
#include "record/TimeText.h"

using namespace serial;

namespace {

bool ChecksumAOrB(const std::uint8_t* b, int h)
{
    const std::uint32_t stored = static_cast<std::uint32_t>(GetU16(b, h));
    return SerialChecksumA(b, h) == stored || SerialChecksumB(b, h) == stored;
}

// A count above MAX_SAMPLES is replaced by the number of intervals between
// start and stop, or 0 when that does not fit either.
std::int32_t BoundedCount(int count, time64 start, time64 stop, time64 interval)
{
    if (count <= MAX_SAMPLES)
        return count;
    if (interval <= 0)
        return 0;
    const time64 span = (stop - start) / interval + 1;
    return span < 0 || span > MAX_SAMPLES ? 0 : static_cast<std::int32_t>(span);
}

void DecodeTime(CLoggerRecord& r, time64 t, time64& field, int row, std::int32_t bit)
{
    field = t;
    r.m_strValue[row].clear();
    if (t == 0)
        return;
    r.m_strValue[row] = FormatSummaryTime(t);
    r.m_nRowFlags |= bit;
}

} // namespace

bool SerialProtocol::HandleInfo(int h, bool& bInfoDecoded)
{
    const std::uint8_t* b = m_byRx;
    if (!ChecksumAOrB(b, h))
        return false;
    CLoggerRecord& r = *m_pRecord;
    if (m_nReply == SERIAL_IDENTIFY)
        m_nReply = SERIAL_IDENTIFY + SERIAL_REPLY_ARRIVED;
    r.m_nLoggerFlag = -1;
    r.m_strValue[ROW_ID].clear();
    if (h >= InfoLayoutOf(InfoKind::Type2).h) {
        r.m_nRowFlags = 0;
        for (int i = 0; i < kIdLength; ++i)
            r.m_strValue[ROW_ID].append(QChar(b[kInfoId + i]));
        r.m_nRowFlags |= RF_ID;
        r.m_nType = TypeFromIdSerial(r.m_strValue[ROW_ID]);
        if (m_nSerialMode != kDownloadMode) {
            r.SetTypeText(m_pDisplay->language);
            r.m_nRowFlags |= RF_DESCRIPTION;
        }
    }
    r.m_bTimesValid = 0;
    const InfoLayout* layout = ChooseInfoLayout(r.m_nType, h);
    if (!layout)
        return true;
    DecodeInfo(*layout);
    bInfoDecoded = true;
    if (m_nSerialMode == kDownloadMode)
        OnDownloadInformation();
    return true;
}

void SerialProtocol::DecodeInfo(const InfoLayout& L)
{
    const std::uint8_t* b = m_byRx;
    CLoggerRecord& r = *m_pRecord;
    DecodeTime(r, GetInfoTime(b, kInfoStart), r.m_tStart, ROW_START, RF_START);
    DecodeTime(r, GetInfoTime(b, L.stop), r.m_tStop, ROW_STOP, RF_STOP);

    const int minutes = L.intervalWidth == 1 ? b[L.interval] : GetU16(b, L.interval);
    r.m_tsInterval = static_cast<time64>(minutes) * 60;
    r.m_strValue[ROW_INTERVAL] = FormatInterval(r.m_tsInterval);
    r.m_nRowFlags |= RF_INTERVAL;

    const int count = GetU16(b, L.count);
    m_nReportedCount = count;
    r.SetCount(BoundedCount(count, r.m_tStart, r.m_tStop, r.m_tsInterval));
    m_nBoundedCount = r.m_nCount;
    if (count <= MAX_SAMPLES)
        r.m_nRowFlags |= RF_COUNT;
    r.m_strValue[ROW_COUNT] = QString::number(r.m_nCount);

    r.m_fHighLimit = L.highLimit == kNone ? 0.0f : GetReading(b, L.highLimit);
    r.m_fLowLimit = L.lowLimit == kNone ? 0.0f : GetReading(b, L.lowLimit);
    if (L.humiHighLimit != kNone) {
        r.m_fHumiHighLimit = GetReading(b, L.humiHighLimit);
        r.m_fHumiLowLimit = GetReading(b, L.humiLowLimit);
    }
    r.m_fLoggerMax = GetReading(b, L.max);
    r.m_fLoggerMin = GetReading(b, L.min);
    if (L.avg != kNone)
        r.m_fLoggerAvg = GetReading(b, L.avg);
    else
        r.m_fLoggerAvg = r.m_nCount < 1 ? 0.0f : static_cast<float>(GetI32(b, L.sum) / 100.0 / r.m_nCount);
    if (L.humiMax != kNone) {
        r.m_fHumiMax = GetReading(b, L.humiMax);
        r.m_fHumiMin = GetReading(b, L.humiMin);
        r.m_fHumiAvg = GetReading(b, L.humiAvg);
    }

    const int status = b[L.status];
    r.m_nLoggerFlag = status;
    if (L.statusIsRunState) {
        r.m_nRunState = status;
        r.m_nRowFlags |= RF_LOGGER_CLOCK;
    }

    r.m_bTimesValid = r.m_tStart != 0 && r.m_tStop != 0 && r.m_tStart <= r.m_tStop
        && (!L.timeCheckNeedsCount || r.m_nCount > 0);
    if (!r.m_bTimesValid)
        r.m_nRowFlags = RF_ID;

    if (L.type2Rules && (status == 0 || r.m_nCount == 0)) {
        r.SetCount(0);
        r.m_nRowFlags = RF_ID;
        Events().OnCalibrationOffered();
    }

    r.FormatStatTexts(m_pDisplay->unit);
    r.BuildTimeTable();
    const bool bandLayout = L.highLimit != kNone;
    r.m_bTempAlarm = bandLayout && r.m_fLowLimit < r.m_fHighLimit;
    r.m_bHumiAlarm = L.humiHighLimit != kNone && r.m_fHumiLowLimit < r.m_fHumiHighLimit;
    r.m_nReceived = 0;
}
