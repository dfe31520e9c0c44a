#include "record/SampleText.h"

#include "record/SampleValues.h"
#include "record/TimeText.h"
#include "record/Units.h"

namespace {

QString ValueText(const SampleValue& v, const QString& unit)
{
    if (!v.present)
        return {};
    QString text = QString::asprintf("%.2f", v.value) + unit;
    if (v.pastLimit)
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

QString SampleCellText(const CLoggerRecord& record, int row, int column, TempUnit unit)
{
    if (row < 0 || row >= MAX_SAMPLES)
        return {};
    switch (column) {
    case 0:
        return QString::number(row + 1);
    case 1: {
        const time64 time = SampleAt(record.m_tTime, row);
        return time != 0 ? FormatDateTime(time) : QString();
    }
    case 2:
        return ValueText(TempValue(record, row, unit), UnitText(unit));
    case 3:
        return ValueText(HumiValue(record, row), kUnitRH);
    default:
        return {};
    }
}
