#include "datafile/BodyWriter.h"

#include "datafile/BodyLayout.h"
#include "record/TimeText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

bool AppendFixed(std::string& out, const char* format, long long value, int width)
{
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, format, width, value);
    if (n != width)
        return false;
    out.append(buffer, static_cast<std::size_t>(n));
    return true;
}

bool AppendTime(std::string& out, time64 t)
{
    const LocalTm l = ToLocal(t);
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, "%4d%.2d%.2d%.2d%.2d", l.year, l.month, l.day, l.hour, l.minute);
    if (n != TIME_WIDTH)
        return false;
    out.append(buffer, TIME_WIDTH);
    return true;
}

bool AppendId(std::string& out, const QString& id)
{
    if (id.size() != ID_WIDTH)
        return false;
    for (QChar c : id)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    out += id.toLatin1().toStdString();
    return true;
}

} // namespace

bool AppendValue(std::string& out, float value)
{
    if (!std::isfinite(value))
        return false;
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                         std::chars_format::fixed, 2);
    if (ec != std::errc())
        return false;
    std::size_t n = static_cast<std::size_t>(end - buffer);
    if (n > VALUE_WIDTH) {
        const std::string_view text(buffer, n);
        if (text.find('.') >= VALUE_WIDTH)
            return false;
        n = VALUE_WIDTH;
    }
    out.append(buffer, n);
    out.append(VALUE_WIDTH - n, ' ');
    return true;
}

bool BuildBody(const CLoggerRecord& r, std::string& out)
{
    if (r.m_nCount < 0 || r.m_nCount > MAX_SAMPLES)
        return false;
    const BodyLayout layout = LayoutOfType(TypeFromIdSerial(r.m_strValue[ROW_ID]));
    out.clear();
    out.reserve(static_cast<std::size_t>(layout.BodyLength(r.m_nCount)));
    bool ok = AppendId(out, r.m_strValue[ROW_ID]) && AppendTime(out, r.m_tStart) && AppendTime(out, r.m_tStop)
        && AppendFixed(out, "%.*lld", r.m_tsInterval / 60, layout.intervalWidth)
        && AppendFixed(out, "%.*lld", r.m_nCount, layout.countWidth)
        && AppendValue(out, r.m_fLoggerMax) && AppendValue(out, r.m_fLoggerMin) && AppendValue(out, r.m_fLoggerAvg);
    if (ok && layout.limits)
        ok = AppendValue(out, r.m_fHighLimit) && AppendValue(out, r.m_fLowLimit);
    if (ok && layout.humidity)
        ok = AppendValue(out, r.m_fHumiMax) && AppendValue(out, r.m_fHumiMin) && AppendValue(out, r.m_fHumiAvg)
            && AppendValue(out, r.m_fHumiHighLimit) && AppendValue(out, r.m_fHumiLowLimit);
    for (int i = 0; ok && i < r.m_nCount; ++i) {
        ok = AppendValue(out, r.m_fTemp[i]);
        if (ok && layout.humidity)
            ok = AppendValue(out, r.m_fHumi[i]);
    }
    return ok;
}
