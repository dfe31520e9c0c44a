#include "record/LoggerRecord.h"

#include "base/TextTable.h"
#include "record/LoggerType.h"

#include <algorithm>

CLoggerRecord::CLoggerRecord()
{
    Reset();
}

void CLoggerRecord::Reset()
{
    m_nType = 0;
    m_nBattery = 0;
    m_nRunState = 0;
    ClearSamples();
    m_nRowFlags = 0;
    m_bStatusValid = 0;
    m_bTempAlarm = 0;
    m_bHumiAlarm = 0;
    m_bDescRead = 0;
    m_fLoggerMax = m_fLoggerMin = m_fLoggerAvg = m_fMkt = 0.0f;
    m_fHighLimit = m_fLowLimit = 0.0f;
    m_fHumiMax = m_fHumiMin = m_fHumiAvg = m_fHumiHighLimit = m_fHumiLowLimit = 0.0f;
    m_nLoggerFlag = -1;
    m_tLoggerClock = 0;
    for (int i = 0; i < SUMMARY_ROWS; ++i)
        m_strValue[i].clear();
}

QString SummaryCaption(int row, std::uint16_t language)
{
    if (row == ROW_MKT)
        return GetText(TextId::MktCaption, language);
    return GetText(ToInt(TextId::FirstRowCaption) + row, language);
}

void CLoggerRecord::SetCount(int count)
{
    m_nCount = count;
    const std::size_t size = static_cast<std::size_t>(std::clamp(count, 0, MAX_SAMPLES));
    m_fTemp.resize(size);
    m_fHumi.resize(size);
    m_tTime.resize(size);
    m_dMktTerm.resize(size);
    m_fTempShown.resize(size);
}

void CLoggerRecord::ClearSamples()
{
    SetCount(0);
    m_nReceived = 0;
}

bool CLoggerRecord::HasHumidity() const
{
    return LoggerTypeOf(m_nType).humidity;
}

int CLoggerRecord::ReceivedRows() const
{
    return std::clamp(m_nReceived, 0, static_cast<int>(m_fTemp.size()));
}

void CLoggerRecord::StoreSamples(int first, const float* values, int n)
{
    m_byDataFlags |= DATA_FLAG_SAMPLES;
    const bool pairs = HasHumidity();
    for (int i = 0; i < n; ++i) {
        const int index = first + i;
        if (index < 0 || index >= static_cast<int>(m_fTemp.size()))
            continue;
        m_fTemp[index] = pairs ? values[2 * i] : values[i];
        // The received samples are shown as they arrive; the completion's
        // Recompute then decides between plain and moving-MKT.
        m_fTempShown[index] = m_fTemp[index];
        if (pairs)
            m_fHumi[index] = values[2 * i + 1];
    }
}

void CLoggerRecord::BuildTimeTable()
{
    const int n = static_cast<int>(m_tTime.size());
    if (n == 0)
        return;
    m_tTime[0] = m_tStart;
    for (int i = 1; i < n; ++i)
        m_tTime[i] = m_tTime[i - 1] + m_tsInterval;
}

int TypeTextId(int type)
{
    return LoggerTypeOf(type).textId;
}

void CLoggerRecord::SetTypeText(std::uint16_t language)
{
    m_strValue[ROW_DESCRIPTION].clear();
    if (const int id = TypeTextId(m_nType))
        m_strValue[ROW_DESCRIPTION] = GetText(id, language);
}

namespace {

bool Starts(const QString& id, const char* prefix)
{
    return id.startsWith(QLatin1String(prefix), Qt::CaseSensitive);
}

// The tests shared by both links once the two-letter and first-letter
// cases of each link have been decided.
int TypeFromU(const QString& id)
{
    if (Starts(id, "UTH"))
        return 4;
    if (Starts(id, "UT"))
        return 3;
    if (Starts(id, "U"))
        return 1;
    return 0;
}

} // namespace

int TypeFromIdUsb(const QString& id)
{
    if (Starts(id, "UI"))
        return 3;
    if (Starts(id, "D") || Starts(id, "i") || Starts(id, "I"))
        return 2;
    return TypeFromU(id);
}

int TypeFromIdSerial(const QString& id)
{
    if (Starts(id, "DI"))
        return 6;
    if (Starts(id, "UI"))
        return 3;
    if (Starts(id, "D") || Starts(id, "i"))
        return 2;
    if (Starts(id, "I"))
        return 5;
    return TypeFromU(id);
}
