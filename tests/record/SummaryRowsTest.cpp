// Which summary rows show, and with a value or blank: the one rule the
// summary page, info and the worksheet follow.
#include "record/SummaryList.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int32_t kAllRows = 0xFFFF;

// A record of the type whose every row holds a text, with the row flags given.
CLoggerRecord Prepared(int type, std::int32_t flags)
{
    CLoggerRecord r;
    r.m_nType = type;
    for (int row = 0; row < SUMMARY_ROWS; ++row)
        r.m_strValue[row] = QStringLiteral("v%1").arg(row);
    r.m_nRowFlags = flags;
    return r;
}

} // namespace

TEST(SummaryRows, RowsShowByTypeAndHoldValuesByTheirFlags)
{
    using S = SummaryRowShow;
    constexpr S A = S::Absent, B = S::Blank, V = S::Value;
    const struct {
        const char* name;
        int type;
        std::int32_t flags;
        S rows[SUMMARY_ROWS];
    } cases[] = {
        {"temperature only", 1, kAllRows, {V, V, V, V, V, V, V, V, V, V, A, A, A, A, A, V, A, V, A, A}},
        {"with humidity", 4, kAllRows, {V, V, V, V, V, V, V, V, V, V, V, V, V, V, V, V, A, V, A, A}},
        // A failed time check: only the ID; the description shows all the same.
        {"ID only", 4, RF_ID, {V, B, B, B, B, B, B, B, B, B, B, B, B, B, B, V, A, B, A, A}},
        // The mean kinetic temperature goes with the average.
        {"average only", 1, RF_AVG, {B, B, B, B, B, B, B, V, B, B, A, A, A, A, A, V, A, V, A, A}},
        {"no limits", 4, kAllRows & ~(RF_HIGH_LIMIT | RF_LOW_LIMIT | RF_HUMI_HIGH_LIMIT | RF_HUMI_LOW_LIMIT),
         {V, V, V, V, V, V, V, V, B, B, V, V, V, B, B, V, A, V, A, A}},
    };
    for (const auto& c : cases) {
        const CLoggerRecord record = Prepared(c.type, c.flags);
        for (int row = 0; row < SUMMARY_ROWS; ++row)
            EXPECT_EQ(ShowSummaryRow(record, row), c.rows[row]) << c.name << " row " << row;
    }
}

// The worksheet's rows: every row that shows, blank where the summary page
// blanks it, even while the record still holds a text there.
TEST(SummaryRows, ReportRowsBlankWhatThePageBlanks)
{
    CLoggerRecord record = Prepared(4, RF_ID | RF_MAX);
    record.m_strValue[ROW_DESCRIPTION] = QStringLiteral("Cold\r\nroom");
    const QList<SummaryItem> rows = SummaryReportRows(record, 0);
    ASSERT_EQ(rows.size(), 17);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(rows[i].caption, SummaryCaption(i, 0)) << i;
        const bool filled = i == ROW_ID || i == ROW_MAX;
        EXPECT_EQ(rows[i].value, filled ? record.m_strValue[i] : QString()) << i;
    }
    EXPECT_EQ(rows[15].caption, QStringLiteral(" Description:"));
    EXPECT_EQ(rows[15].value, QStringLiteral("Cold\uFFFD\uFFFDroom"));
    EXPECT_EQ(rows[16].caption, QStringLiteral(" Mean Kinetic Temp.:"));
    EXPECT_EQ(rows[16].value, QString());

    record = Prepared(1, kAllRows);
    const QList<SummaryItem> temperatureOnly = SummaryReportRows(record, 0);
    ASSERT_EQ(temperatureOnly.size(), 12);
    EXPECT_EQ(temperatureOnly[9].value, QStringLiteral("v9"));
    EXPECT_EQ(temperatureOnly[10].value, QStringLiteral("v15"));
    EXPECT_EQ(temperatureOnly[11].value, QStringLiteral("v17"));
}
