#include "record/SummaryList.h"

#include "base/PrintableText.h"

#include <iterator>

namespace {

// The flag of each summary row that shows; 0 for the rows that never do.
constexpr std::int32_t kRowFlags[SUMMARY_ROWS] = {
    RF_ID, RF_START, RF_STOP, RF_INTERVAL, RF_COUNT, RF_MAX, RF_MIN, RF_AVG, RF_HIGH_LIMIT, RF_LOW_LIMIT,
    RF_HUMI_MAX, RF_HUMI_MIN, RF_HUMI_AVG, RF_HUMI_HIGH_LIMIT, RF_HUMI_LOW_LIMIT, RF_DESCRIPTION, 0, RF_AVG, 0, 0,
};

bool IsHumidityRow(int row)
{
    return row >= ROW_HUMI_MAX && row <= ROW_HUMI_LOW_LIMIT;
}

} // namespace

SummaryRowShow ShowSummaryRow(const CLoggerRecord& record, int row)
{
    if (row < 0 || row >= static_cast<int>(std::size(kRowFlags)) || kRowFlags[row] == 0)
        return SummaryRowShow::Absent;
    if (IsHumidityRow(row) && !record.HasHumidity())
        return SummaryRowShow::Absent;
    if (row == ROW_DESCRIPTION || (record.m_nRowFlags & kRowFlags[row]) != 0)
        return SummaryRowShow::Value;
    return SummaryRowShow::Blank;
}

QList<SummaryItem> SummaryReportRows(const CLoggerRecord& record, std::uint16_t language)
{
    QList<SummaryItem> items;
    for (int row = 0; row < SUMMARY_ROWS; ++row) {
        const SummaryRowShow show = ShowSummaryRow(record, row);
        if (show == SummaryRowShow::Absent)
            continue;
        const QString value = show == SummaryRowShow::Value ? PrintableText(record.m_strValue[row]) : QString();
        items.append({SummaryCaption(row, language), value, row});
    }
    return items;
}
