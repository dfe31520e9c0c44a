#include "datafile/BodyWriter.h"

#include "datafile/BodyLayout.h"
#include "record/TimeText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

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

// The largest number a field of width decimal digits holds.
long long FieldMax(int width)
{
    long long max = 1;
    for (int i = 0; i < width; ++i)
        max *= 10;
    return max - 1;
}

bool IdFits(const QString& id)
{
    if (id.size() != ID_WIDTH)
        return false;
    for (QChar c : id)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    return true;
}

// The years a reader accepts.
bool TimeFits(time64 t)
{
    const LocalTm l = ToLocal(t);
    return l.year >= 1900 && l.year <= 3000;
}

} // namespace

QString LayoutRefusal(const CLoggerRecord& r)
{
    const BodyLayout layout = LayoutOfType(TypeFromIdSerial(r.m_strValue[ROW_ID]));
    const long long maxCount = std::min<long long>(FieldMax(layout.countWidth), MAX_SAMPLES);
    if (!IdFits(r.m_strValue[ROW_ID]))
        return QStringLiteral("the logger ID is not 11 letters, digits or signs");
    if (!TimeFits(r.m_tStart) || !TimeFits(r.m_tStop))
        return QStringLiteral("a start or stop time outside the years 1900 to 3000");
    if (r.m_nCount < 0 || r.m_nCount > maxCount)
        return QStringLiteral("%1 samples; a data file of this logger type holds at most %2")
            .arg(r.m_nCount).arg(maxCount);
    const long long minutes = r.m_tsInterval / 60;
    if (minutes < 0 || minutes > FieldMax(layout.intervalWidth))
        return QStringLiteral("a sampling interval of %1 minutes; a data file of this logger type holds at most %2")
            .arg(minutes).arg(FieldMax(layout.intervalWidth));
    return {};
}

// "%4.2f" without printf: a float times 100 is exact in double, so rounding
// that product half to even gives the digits printf gives for the float.
bool AppendValue(std::string& out, float value)
{
    if (!(std::fabs(value) < 1e7f))
        return false; // not finite, or an integer part of eight digits
    const long long hundredths = std::llrint(static_cast<double>(value) * 100.0);
    const unsigned long long magnitude = static_cast<unsigned long long>(hundredths < 0 ? -hundredths : hundredths);
    char text[24];
    char* p = text + sizeof text;
    unsigned long long rest = magnitude;
    for (int digit = 0; digit < 3 || rest > 0; ++digit) {
        if (digit == 2)
            *--p = '.';
        *--p = static_cast<char>('0' + rest % 10);
        rest /= 10;
    }
    if (std::signbit(value))
        *--p = '-';
    std::size_t n = static_cast<std::size_t>(text + sizeof text - p);
    if (n > VALUE_WIDTH) {
        // Drop decimals only; an integer part that does not fit is refused.
        if (std::string_view(p, n).find('.') >= VALUE_WIDTH)
            return false;
        n = VALUE_WIDTH;
    }
    out.append(p, n);
    out.append(VALUE_WIDTH - n, ' ');
    return true;
}

bool BuildBody(const CLoggerRecord& r, std::string& out, QString* why)
{
    if (const QString refusal = LayoutRefusal(r); !refusal.isEmpty()) {
        if (why)
            *why = refusal;
        return false;
    }
    const BodyLayout layout = LayoutOfType(TypeFromIdSerial(r.m_strValue[ROW_ID]));
    out.clear();
    out.reserve(static_cast<std::size_t>(layout.BodyLength(r.m_nCount)));
    out += r.m_strValue[ROW_ID].toLatin1().toStdString();
    bool ok = AppendTime(out, r.m_tStart) && AppendTime(out, r.m_tStop)
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
    if (!ok && why)
        *why = QStringLiteral("a value too large for the data file's seven characters");
    return ok;
}
