#include "record/SummaryList.h"

#include "base/PrintableText.h"
#include "base/TextTable.h"

QList<SummaryItem> SummaryListRows(const CLoggerRecord& record)
{
    const int rows = record.HasHumidity() ? ROW_HUMI_LOW_LIMIT + 1 : ROW_LOW_LIMIT + 1;
    QList<SummaryItem> items;
    items.reserve(rows + 2);
    for (int i = 0; i < rows; ++i)
        items.append({record.m_strLabel[i], PrintableText(record.m_strValue[i])});
    return items;
}

QList<SummaryItem> SummaryReportRows(const CLoggerRecord& record)
{
    QList<SummaryItem> items = SummaryListRows(record);
    items.append({GetText(20), PrintableText(record.m_strValue[ROW_DESCRIPTION])});
    const bool statistics = (record.m_nRowFlags & RF_AVG) != 0;
    items.append({GetText(TextId::MktCaption), statistics ? PrintableText(record.m_strValue[ROW_MKT]) : QString()});
    return items;
}
