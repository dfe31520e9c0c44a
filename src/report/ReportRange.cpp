#include "report/ReportRange.h"

#include "record/Units.h"

#include <algorithm>
#include <cmath>

namespace {

void Statistics(const CLoggerRecord& r, ReportRange& g)
{
    g.maxT = g.minT = r.m_fTempShown[g.first];
    g.maxH = g.minH = r.m_fHumi[g.first];
    float sumT = 0, sumH = 0;
    double sumTerms = 0;
    for (int i = g.first; i <= g.last; ++i) {
        const float t = r.m_fTempShown[i];
        const float h = r.m_fHumi[i];
        g.maxT = t > g.maxT ? t : g.maxT;
        g.minT = t < g.minT ? t : g.minT;
        g.maxH = h > g.maxH ? h : g.maxH;
        g.minH = h < g.minH ? h : g.minH;
        sumT += t;
        sumH += h;
        sumTerms += r.m_dMktTerm[i];
    }
    g.avgT = sumT / static_cast<float>(g.count);
    g.avgH = sumH / static_cast<float>(g.count);
    // A mean term that is not positive (terms never computed) has no MKT.
    const double mean = sumTerms / g.count;
    if (g.first < g.last && mean > 0)
        g.mkt = static_cast<float>(-10000.0 / std::log(mean) - 273.1);
}

} // namespace

bool SelectRange(const CLoggerRecord& r, time64 start, time64 end, ReportRange& range)
{
    start = std::max(start, r.m_tStart);
    end = std::min(end, r.m_tStop);
    if (start > end)
        return false;
    ReportRange g;
    const int n = r.ReceivedRows();
    if (n == 0) {
        range = g;
        return true;
    }
    for (int i = 0; i < n; ++i) {
        if (r.m_tTime[i] <= start)
            g.first = i;
        if (r.m_tTime[i] <= end)
            g.last = i;
    }
    g.start = r.m_tTime[g.first];
    g.end = r.m_tTime[g.last];
    g.count = g.last - g.first + 1;
    if (g.count < 1) {
        // Times out of order: no sample lies in the range.
        range = ReportRange{};
        return true;
    }
    Statistics(r, g);
    range = g;
    return true;
}

const QString& ReportData::TempUnitText() const
{
    return UnitText(display.unit);
}

double ReportData::Temp(float celsius) const
{
    return InUnit(celsius, display.unit);
}

QString ReportData::TempText(float celsius) const
{
    return QString::asprintf("%.2f", Temp(celsius));
}

void ReportData::ComputeAxisLabels()
{
    const float stepT = (range.maxT - range.minT) * 0.25f;
    const float stepH = (range.maxH - range.minH) * 0.25f;
    for (int i = 0; i < 5; ++i) {
        tempLabel[i] = static_cast<float>(Temp(range.maxT - static_cast<float>(i) * stepT));
        humiLabel[i] = range.maxH - static_cast<float>(i) * stepH;
    }
}
