#include "report/LimitMark.h"

#include "record/Units.h"

namespace {

// value and the limits compared as stored; the limit passed shown in the
// value's unit by shown.
template <typename Shown>
QString Mark(bool alarm, float value, float low, float high, Shown shown)
{
    if (alarm && low > value)
        return QString::asprintf(" [<%.2f]", shown(low));
    if (alarm && value > high)
        return QString::asprintf(" [>%.2f]", shown(high));
    return {};
}

} // namespace

QString TempLimitMark(const CLoggerRecord& r, float celsius, TempUnit unit)
{
    return Mark(r.m_bTempAlarm, celsius, r.m_fLowLimit, r.m_fHighLimit, [unit](float c) { return InUnit(c, unit); });
}

QString HumiLimitMark(const CLoggerRecord& r, float humidity)
{
    return Mark(r.m_bHumiAlarm, humidity, r.m_fHumiLowLimit, r.m_fHumiHighLimit,
                [](float h) { return static_cast<double>(h); });
}
