#include "record/SampleText.h"

#include "record/TimeText.h"
#include "record/Units.h"

namespace {

constexpr float kMissing = -1000.0f;

QString TempText(const CLoggerRecord& r, int row)
{
    const float t = r.m_fTempShown[row];
    if (!(t > kMissing))
        return {};
    QString text = QString::asprintf("%.2f", IsFahrenheit() ? ToFahrenheit(t) : static_cast<double>(t)) + g_strTempUnit;
    if (r.m_bTempAlarm && (t > r.m_fHighLimit || t < r.m_fLowLimit))
        text += QLatin1Char('*');
    return text;
}

QString HumiText(const CLoggerRecord& r, int row)
{
    const float h = r.m_fHumi[row];
    if (!(h > kMissing))
        return {};
    QString text = QString::asprintf("%.2f", static_cast<double>(h)) + g_strUnitRH;
    if (r.m_bHumiAlarm && (h > r.m_fHumiHighLimit || h < r.m_fHumiLowLimit))
        text += QLatin1Char('*');
    return text;
}

} // namespace

int SampleColumnCount(const CLoggerRecord& record)
{
    return record.HasHumidity() ? 4 : 3;
}

int SampleColumnTextId(int column)
{
    return 30 + column;
}

QString SampleCellText(const CLoggerRecord& record, int row, int column)
{
    if (row < 0 || row >= MAX_SAMPLES)
        return {};
    switch (column) {
    case 0:
        return QString::number(row + 1);
    case 1:
        return record.m_tTime[row] != 0 ? FormatDateTime(record.m_tTime[row]) : QString();
    case 2:
        return TempText(record, row);
    case 3:
        return HumiText(record, row);
    default:
        return {};
    }
}
