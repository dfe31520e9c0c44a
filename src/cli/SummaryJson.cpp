#include "cli/SummaryJson.h"

#include "base/PrintableText.h"
#include "cli/JsonWriter.h"
#include "datafile/Fingerprint.h"
#include "record/IsoTime.h"
#include "record/SummaryList.h"
#include "record/Units.h"

namespace {

struct Number {
    int row;
    const char* key;
    float CLoggerRecord::*field;
};

const Number kTemperature[] = {
    {ROW_MAX, "max", &CLoggerRecord::m_fMax},
    {ROW_MIN, "min", &CLoggerRecord::m_fMin},
    {ROW_AVG, "avg", &CLoggerRecord::m_fAvg},
    {ROW_MKT, "mkt", &CLoggerRecord::m_fMkt},
    {ROW_HIGH_LIMIT, "upper_limit", &CLoggerRecord::m_fHighLimit},
    {ROW_LOW_LIMIT, "lower_limit", &CLoggerRecord::m_fLowLimit},
};

const Number kHumidity[] = {
    {ROW_HUMI_MAX, "max", &CLoggerRecord::m_fHumiMax},
    {ROW_HUMI_MIN, "min", &CLoggerRecord::m_fHumiMin},
    {ROW_HUMI_AVG, "avg", &CLoggerRecord::m_fHumiAvg},
    {ROW_HUMI_HIGH_LIMIT, "upper_limit", &CLoggerRecord::m_fHumiHighLimit},
    {ROW_HUMI_LOW_LIMIT, "lower_limit", &CLoggerRecord::m_fHumiLowLimit},
};

// An object of the shown rows among numbers; nothing when none is shown.
template <std::size_t N>
void WriteChannel(CJsonWriter& json, const CLoggerRecord& r, const char* key, const Number (&numbers)[N],
                  bool temperature, TempUnit unit)
{
    bool open = false;
    for (const Number& n : numbers) {
        if (!SummaryRowPrinted(r, n.row))
            continue;
        if (!open)
            json.Key(key).BeginObject();
        open = true;
        const float value = r.*n.field;
        json.Key(n.key).Hundredths(temperature ? InUnit(value, unit) : static_cast<double>(value));
    }
    if (open)
        json.EndObject();
}

} // namespace

bool SummaryRowPrinted(const CLoggerRecord& r, int row)
{
    return ShowSummaryRow(r, row) == SummaryRowShow::Value && !r.m_strValue[row].trimmed().isEmpty();
}

QString SummaryJson(const CLoggerRecord& r, TempUnit unit)
{
    CJsonWriter json;
    json.BeginObject();
    json.Key("unit").String(UnitText(unit));
    if (SummaryRowPrinted(r, ROW_ID))
        json.Key("id").String(PrintableText(r.m_strValue[ROW_ID].trimmed()));
    if (SummaryRowPrinted(r, ROW_START))
        json.Key("start").String(FormatIsoLocal(r.m_tStart));
    if (SummaryRowPrinted(r, ROW_STOP))
        json.Key("stop").String(FormatIsoLocal(r.m_tStop));
    if (SummaryRowPrinted(r, ROW_INTERVAL))
        json.Key("interval_s").Integer(r.m_tsInterval);
    if (SummaryRowPrinted(r, ROW_COUNT))
        json.Key("samples").Integer(r.m_nCount);
    WriteChannel(json, r, "temperature", kTemperature, true, unit);
    WriteChannel(json, r, "humidity", kHumidity, false, unit);
    if (SummaryRowPrinted(r, ROW_DESCRIPTION))
        json.Key("description").String(PrintableText(r.m_strValue[ROW_DESCRIPTION].trimmed()));
    if (const QString fingerprint = RecordFingerprint(r); !fingerprint.isEmpty())
        json.Key("sha256").String(fingerprint);
    json.EndObject();
    return json.Text() + QLatin1Char('\n');
}
