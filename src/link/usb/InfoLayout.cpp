#include "link/usb/InfoLayout.h"

#include "link/usb/UsbEncoding.h"
#include "record/LoggerRecord.h"
#include "record/TimeText.h"

#include <iterator>

namespace infolayout {
namespace {

using F = Field;

constexpr Step kType1[] = {
    {F::ClearIntervalRow, 0}, {F::IntervalWord, 18}, {F::HighLimitSignMag, 20}, {F::LowLimitSignMag, 22},
    {F::ClearStartRow, 0}, {F::Start, 12}, {F::Stop, 25},
    {F::TempMax, 31}, {F::TempMin, 33}, {F::TempAvg, 35}, {F::Count, 37},
};
constexpr Step kType2[] = {
    {F::Start, 12}, {F::Stop, 20}, {F::IntervalByte, 18}, {F::Count, 32},
    {F::TempMax, 26}, {F::TempMin, 28}, {F::TempAvg, 30}, {F::NoTempLimits, 0},
};
constexpr Step kType3[] = {
    {F::ClearStartRow, 0}, {F::Start, 12}, {F::ClearStopRow, 0}, {F::Stop, 19},
    {F::IntervalWord, 25}, {F::HighLimit, 27}, {F::LowLimit, 29},
    {F::TempMax, 31}, {F::TempMin, 33}, {F::TempAvg, 35}, {F::Count, 37},
};
constexpr Step kType4[] = {
    {F::ClearStartRow, 0}, {F::Start, 12}, {F::ClearStopRow, 0}, {F::Stop, 19},
    {F::IntervalWord, 25}, {F::HighLimit, 27}, {F::LowLimit, 29},
    {F::HumiHighLimit, 31}, {F::HumiLowLimit, 33},
    {F::TempMax, 35}, {F::TempMin, 37}, {F::TempAvg, 39},
    {F::HumiMax, 41}, {F::HumiMin, 43}, {F::HumiAvg, 45}, {F::Count, 47},
};

constexpr Layout kLayouts[] = {
    {1, 40, 2, kType1, static_cast<int>(std::size(kType1))},
    {2, 35, 2, kType2, static_cast<int>(std::size(kType2))},
    {3, 40, 2, kType3, static_cast<int>(std::size(kType3))},
    {4, 50, 4, kType4, static_cast<int>(std::size(kType4))},
};

// The stop time a logger reports when its own is not a valid time.
time64 FallbackStop()
{
    return MakeLocalTime(2010, 10, 10, 5, 5, 0);
}

int Word(const std::uint8_t* p)
{
    return (p[0] << 8) | p[1];
}

void SetInterval(CLoggerRecord& r, int minutes)
{
    r.m_tsInterval = static_cast<time64>(minutes) * 60;
    r.m_strValue[ROW_INTERVAL] = FormatInterval(r.m_tsInterval);
    r.m_nRowFlags |= RF_INTERVAL;
}

void SetValue(CLoggerRecord& r, float& field, float value, std::int32_t flag)
{
    field = value;
    r.m_nRowFlags |= flag;
}

// Applies one step; false when the step finds an invalid start time.
bool Apply(const Step& s, const Layout& layout, const std::uint8_t* data, CLoggerRecord& r)
{
    const std::uint8_t* p = data + s.offset;
    switch (s.field) {
    case F::ClearStartRow: r.m_strValue[ROW_START].clear(); break;
    case F::ClearStopRow: r.m_strValue[ROW_STOP].clear(); break;
    case F::ClearIntervalRow: r.m_strValue[ROW_INTERVAL].clear(); break;
    case F::Start: {
        const auto t = usbcode::DecodeTime6(p);
        if (!t)
            return false;
        r.m_tStart = *t;
        r.m_strValue[ROW_START] = FormatSummaryTime(*t);
        r.m_nRowFlags |= RF_START;
        break;
    }
    case F::Stop:
        r.m_tStop = usbcode::DecodeTime6(p).value_or(FallbackStop());
        r.m_strValue[ROW_STOP] = FormatSummaryTime(r.m_tStop);
        r.m_nRowFlags |= RF_STOP;
        break;
    case F::IntervalByte: SetInterval(r, p[0]); break;
    case F::IntervalWord: SetInterval(r, Word(p)); break;
    case F::HighLimitSignMag: SetValue(r, r.m_fHighLimit, usbcode::DecodeSignedMagnitude(p), RF_HIGH_LIMIT); break;
    case F::LowLimitSignMag: SetValue(r, r.m_fLowLimit, usbcode::DecodeSignedMagnitude(p), RF_LOW_LIMIT); break;
    case F::HighLimit: SetValue(r, r.m_fHighLimit, usbcode::DecodeReading(p), RF_HIGH_LIMIT); break;
    case F::LowLimit: SetValue(r, r.m_fLowLimit, usbcode::DecodeReading(p), RF_LOW_LIMIT); break;
    case F::NoTempLimits: r.m_fHighLimit = r.m_fLowLimit = 0.0f; break;
    case F::HumiHighLimit: SetValue(r, r.m_fHumiHighLimit, usbcode::DecodeReading(p), RF_HUMI_HIGH_LIMIT); break;
    case F::HumiLowLimit: SetValue(r, r.m_fHumiLowLimit, usbcode::DecodeReading(p), RF_HUMI_LOW_LIMIT); break;
    case F::TempMax: SetValue(r, r.m_fLoggerMax, usbcode::DecodeReading(p), RF_MAX); break;
    case F::TempMin: SetValue(r, r.m_fLoggerMin, usbcode::DecodeReading(p), RF_MIN); break;
    case F::TempAvg: SetValue(r, r.m_fLoggerAvg, usbcode::DecodeReading(p), RF_AVG); break;
    case F::HumiMax: SetValue(r, r.m_fHumiMax, usbcode::DecodeReading(p), RF_HUMI_MAX); break;
    case F::HumiMin: SetValue(r, r.m_fHumiMin, usbcode::DecodeReading(p), RF_HUMI_MIN); break;
    case F::HumiAvg: SetValue(r, r.m_fHumiAvg, usbcode::DecodeReading(p), RF_HUMI_AVG); break;
    case F::Count:
        r.SetCount(Word(p) / layout.bytesPerSample); // at most 32767, below MAX_SAMPLES
        r.m_strValue[ROW_COUNT] = QString::number(r.m_nCount);
        r.m_nRowFlags |= RF_COUNT;
        break;
    }
    return true;
}

} // namespace

const Layout* ForType(int type)
{
    for (const Layout& layout : kLayouts)
        if (layout.type == type)
            return &layout;
    return nullptr;
}

Result Decode(const std::uint8_t* data, CLoggerRecord& record)
{
    const Layout* layout = ForType(record.m_nType);
    if (!layout)
        return Result::UnknownType;
    for (int i = 0; i < layout->stepCount; ++i)
        if (!Apply(layout->steps[i], *layout, data, record))
            return Result::BadStart;
    return Result::Ok;
}

} // namespace infolayout
