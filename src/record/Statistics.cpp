// Statistics of a record: MKT, the shown maximum/minimum/average (plain or
// ten-hour moving MKT) and the statistics texts of the summary rows.
#include "record/LoggerRecord.h"
#include "record/Units.h"

#include <cmath>
#include <vector>

namespace {

constexpr double kActivation = 10000.0; // activation energy over gas constant, K
constexpr double kKelvin = 273.1;

double MktFromMeanTerm(double mean)
{
    return -kActivation / std::log(mean) - kKelvin;
}

} // namespace

void CLoggerRecord::FormatStatTexts(TempUnit unit)
{
    auto put = [&](int row, float v) { m_strValue[row] = FormatValue(InUnit(v, unit), UnitText(unit)); };
    put(ROW_MAX, m_fMax);
    put(ROW_MIN, m_fMin);
    put(ROW_AVG, m_fAvg);
    // The MKT comes from the samples: without them there is none to show
    // (a logger that is identified but not yet downloaded).
    m_strValue[ROW_MKT].clear();
    if (m_byDataFlags & DATA_FLAG_SAMPLES)
        put(ROW_MKT, m_fMkt);
    m_strValue[ROW_HIGH_LIMIT].clear();
    m_strValue[ROW_LOW_LIMIT].clear();
    if (m_fLowLimit < m_fHighLimit) {
        put(ROW_HIGH_LIMIT, m_fHighLimit);
        put(ROW_LOW_LIMIT, m_fLowLimit);
    }
    if (HasHumidity()) {
        m_strValue[ROW_HUMI_MAX] = FormatValue(m_fHumiMax, kUnitRH);
        m_strValue[ROW_HUMI_MIN] = FormatValue(m_fHumiMin, kUnitRH);
        m_strValue[ROW_HUMI_AVG] = FormatValue(m_fHumiAvg, kUnitRH);
        m_strValue[ROW_HUMI_HIGH_LIMIT].clear();
        m_strValue[ROW_HUMI_LOW_LIMIT].clear();
        if (m_fHumiLowLimit < m_fHumiHighLimit) {
            m_strValue[ROW_HUMI_HIGH_LIMIT] = FormatValue(m_fHumiHighLimit, kUnitRH);
            m_strValue[ROW_HUMI_LOW_LIMIT] = FormatValue(m_fHumiLowLimit, kUnitRH);
        }
    }
}

void CLoggerRecord::ComputeMkt(TempUnit unit)
{
    m_fMkt = 0.0f;
    if (m_nCount <= 0)
        return;
    double sum = 0.0;
    for (int i = 0; i < m_nCount; ++i) {
        const float term = static_cast<float>(std::exp(-kActivation / (m_fTemp[i] + kKelvin)));
        m_dMktTerm[i] = term;
        sum += term;
    }
    m_fMkt = static_cast<float>(MktFromMeanTerm(sum / m_nCount));
    m_strValue[ROW_MKT] = FormatValue(InUnit(m_fMkt, unit), UnitText(unit));
}

bool CLoggerRecord::ChooseMovingMkt(bool bPlain)
{
    QString& desc = m_strValue[ROW_DESCRIPTION];
    desc = desc.trimmed();
    if (bPlain || desc.size() < 4)
        return false;
    // The window is counted in whole minutes; shorter intervals stay plain.
    if (m_tsInterval < 60)
        return false;
    // Only the ASCII letters fold: a look-alike such as the Kelvin sign does not
    // select the mode.
    static const char kMarker[] = "vtqk";
    for (int i = 0; i < 4; ++i) {
        const char16_t c = desc[i].unicode();
        const char16_t lower = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
        if (lower != static_cast<char16_t>(kMarker[i]))
            return false;
    }
    return true;
}

void CLoggerRecord::FillPlain()
{
    for (int i = 0; i < m_nCount; ++i)
        m_fTempShown[i] = m_fTemp[i];
    m_fAvg = m_fLoggerAvg;
    m_fMax = m_fLoggerMax;
    m_fMin = m_fLoggerMin;
}

void CLoggerRecord::FillMovingMkt()
{
    const int count = m_nCount;
    const long long minutes = m_tsInterval / 60;
    long long w = 600 / minutes;
    if (w < 5)
        w = 5;
    if (w >= count)
        w = count / 2;
    if (2 * w > count)
        w = count / 2;

    // Prefix sums in extended precision make every window mean O(1).
    std::vector<long double> prefix(static_cast<size_t>(count) + 1, 0.0L);
    for (int i = 0; i < count; ++i)
        prefix[i + 1] = prefix[i] + static_cast<long double>(m_dMktTerm[i]);
    auto windowMkt = [&](long long first, long long n) {
        const long double mean = (prefix[first + n] - prefix[first]) / static_cast<long double>(n);
        return MktFromMeanTerm(static_cast<double>(mean));
    };

    m_fAvg = 0.0f;
    m_fMax = -3000.0f;
    m_fMin = 3000.0f;
    for (int i = 0; i < count; ++i) {
        double v;
        if (w <= 0) {
            v = m_fTemp[i];
        } else if (i < 2 * w) {
            const long long m = i / 2 + i % 2;
            const long long n = w - 1;
            v = n <= 0 ? static_cast<double>(m_fTemp[i]) : windowMkt(m, n);
        } else {
            v = windowMkt(i - w + 1, w);
        }
        const float fv = static_cast<float>(v);
        m_fTempShown[i] = fv;
        m_fAvg += fv;
        if (fv > m_fMax)
            m_fMax = fv;
        if (fv < m_fMin)
            m_fMin = fv;
    }
    if (count > 0)
        m_fAvg /= static_cast<float>(count);
}

void CLoggerRecord::Recompute(bool bPlain, TempUnit unit)
{
    const bool moving = ChooseMovingMkt(bPlain);
    ComputeMkt(unit);
    if (moving)
        FillMovingMkt();
    else
        FillPlain();
    FormatStatTexts(unit);
    m_nRowFlags |= RF_MAX | RF_MIN | RF_AVG;
    if (m_bTempAlarm)
        m_nRowFlags |= RF_HIGH_LIMIT | RF_LOW_LIMIT;
    if (HasHumidity()) {
        m_nRowFlags |= RF_HUMI_MAX | RF_HUMI_MIN | RF_HUMI_AVG;
        if (m_bHumiAlarm)
            m_nRowFlags |= RF_HUMI_HIGH_LIMIT | RF_HUMI_LOW_LIMIT;
    }
}
