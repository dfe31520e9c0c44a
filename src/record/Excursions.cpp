#include "record/Excursions.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr float kMissing = -1000.0f;

bool Past(AlarmLimit limit, float value, float limitValue)
{
    return limit == AlarmLimit::Upper ? value > limitValue : value < limitValue;
}

// The runs of series[0 .. count-1] past one limit, appended to out.
void FindRuns(const CLoggerRecord& r, const float* series, int count, AlarmChannel channel, AlarmLimit limit,
              float limitValue, std::vector<Excursion>& out)
{
    int i = 0;
    while (i < count) {
        if (!(series[i] > kMissing) || !Past(limit, series[i], limitValue)) {
            ++i;
            continue;
        }
        Excursion e;
        e.channel = channel;
        e.limit = limit;
        e.limitValue = limitValue;
        e.first = i;
        e.peak = series[i];
        while (i < count && series[i] > kMissing && Past(limit, series[i], limitValue)) {
            e.peak = limit == AlarmLimit::Upper ? std::max(e.peak, series[i]) : std::min(e.peak, series[i]);
            ++i;
        }
        e.last = i - 1;
        e.samples = e.last - e.first + 1;
        e.firstTime = r.m_tTime[e.first];
        e.lastTime = r.m_tTime[e.last];
        e.duration = static_cast<time64>(e.samples) * r.m_tsInterval;
        out.push_back(e);
    }
}

ChannelTotals Search(const CLoggerRecord& r, const float* series, int count, AlarmChannel channel, bool alarm,
                     float high, float low, std::vector<Excursion>& out)
{
    ChannelTotals totals;
    totals.inForce = alarm && low < high;
    if (!totals.inForce)
        return totals;
    const std::size_t before = out.size();
    FindRuns(r, series, count, channel, AlarmLimit::Upper, high, out);
    FindRuns(r, series, count, channel, AlarmLimit::Lower, low, out);
    for (std::size_t k = before; k < out.size(); ++k) {
        const Excursion& e = out[k];
        (e.limit == AlarmLimit::Upper ? totals.above : totals.below) += e.duration;
        totals.longest = std::max(totals.longest, e.duration);
        ++totals.excursions;
    }
    return totals;
}

} // namespace

AlarmReport FindExcursions(const CLoggerRecord& r)
{
    const int count = r.ReceivedRows();
    AlarmReport report;
    report.temperature = Search(r, r.m_fTempShown.data(), count, AlarmChannel::Temperature, r.m_bTempAlarm != 0,
                                r.m_fHighLimit, r.m_fLowLimit, report.excursions);
    if (r.HasHumidity())
        report.humidity = Search(r, r.m_fHumi.data(), count, AlarmChannel::Humidity, r.m_bHumiAlarm != 0,
                                 r.m_fHumiHighLimit, r.m_fHumiLowLimit, report.excursions);
    std::sort(report.excursions.begin(), report.excursions.end(), [](const Excursion& a, const Excursion& b) {
        return std::tuple(a.first, a.channel, a.limit) < std::tuple(b.first, b.channel, b.limit);
    });
    return report;
}
