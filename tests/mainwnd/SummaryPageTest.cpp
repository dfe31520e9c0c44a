#include "views/SummaryPage.h"
#include "record/SummaryList.h"
#include "views/RecordFixture.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {

constexpr int kHumidityControls[] = {1063, 1064, 1065, 1066, 1067, 1076, 1077, 1078, 1079, 1080};

class SummaryPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillMission(record, 4, 30, TempUnit::Celsius);
        record.m_strValue[ROW_START] = QStringLiteral("2024-3-5  09:00");
        record.m_strValue[ROW_STOP] = QStringLiteral("2024-3-5  13:50");
        record.m_strValue[ROW_INTERVAL] = QStringLiteral("00:10:00");
        record.m_strValue[ROW_COUNT] = QStringLiteral("30");
        record.m_strValue[ROW_DESCRIPTION] = QStringLiteral("Shelf 3");
        record.m_nRowFlags |= RF_ID | RF_START | RF_STOP | RF_INTERVAL | RF_COUNT | RF_DESCRIPTION;
        record.m_bDescRead = 1;
        page.m_pRecord = &record;
        page.SetCaptions();
    }
    QString Value(int id) const { return page.Static(id)->text(); }
    CLoggerRecord record;
    const DisplaySettings display;
    CSummaryPage page{display};
};

} // namespace

TEST_F(SummaryPage, CaptionsComeFromTheTextTable)
{
    EXPECT_EQ(page.Static(1038)->text(), " Serial Number:");
    EXPECT_EQ(page.Static(1139)->text(), " Mean Kinetic Temp.:");
    EXPECT_EQ(page.Static(1067)->text(), " Lower Limit Humi.:");
    EXPECT_EQ(page.Static(1112)->alignment() & Qt::AlignRight, Qt::AlignRight);
}

TEST_F(SummaryPage, ShowsEveryValueOfACompleteRecord)
{
    page.UpdateLayout();
    page.UpdateValues();
    EXPECT_EQ(Value(CSummaryPage::IDC_ID_VALUE), "UTH40000004");
    EXPECT_EQ(Value(CSummaryPage::IDC_START_VALUE), "2024-3-5  09:00");
    EXPECT_EQ(Value(CSummaryPage::IDC_COUNT_VALUE), "30");
    EXPECT_EQ(Value(CSummaryPage::IDC_DESCRIPTION_VALUE), "Shelf 3");
    EXPECT_EQ(Value(CSummaryPage::IDC_MAX_VALUE), record.m_strValue[ROW_MAX]);
    EXPECT_EQ(Value(CSummaryPage::IDC_MKT_VALUE), record.m_strValue[ROW_MKT]);
    EXPECT_EQ(Value(CSummaryPage::IDC_HIGH_LIMIT_VALUE), "28.00" + kUnitC);
    EXPECT_EQ(Value(CSummaryPage::IDC_HUMI_MAX_VALUE), "50.00%RH");
    EXPECT_EQ(Value(CSummaryPage::IDC_HUMI_LOW_LIMIT_VALUE), "42.00%RH");
    for (const int id : kHumidityControls)
        EXPECT_FALSE(page.Control(id)->isHidden()) << id;
}

TEST_F(SummaryPage, HumidityOnlyForTemperatureHumidityRecords)
{
    record.m_nType = 1;
    page.UpdateLayout();
    for (const int id : kHumidityControls)
        EXPECT_TRUE(page.Control(id)->isHidden()) << id;
    EXPECT_FALSE(page.Control(1068)->isHidden()); // the group box stays
    record.m_nType = 4;
    page.UpdateLayout();
    EXPECT_FALSE(page.Control(1076)->isHidden());
}

TEST_F(SummaryPage, RowFlagsBlankTheRowsWithoutValue)
{
    record.m_nRowFlags = RF_ID;
    page.UpdateValues();
    EXPECT_EQ(Value(CSummaryPage::IDC_ID_VALUE), "UTH40000004");
    struct Blank {
        int id, length;
    };
    const Blank blanks[] = {{1069, 28}, {1070, 30}, {1071, 31}, {1047, 26}, {1072, 25}, {1049, 23}, {1073, 22},
                            {1082, 22}, {1074, 22}, {1075, 26}, {1076, 24}, {1077, 21}, {1078, 24}, {1079, 23},
                            {1080, 22}};
    for (const Blank& b : blanks)
        EXPECT_EQ(Value(b.id), QString(b.length, QLatin1Char(' '))) << b.id;
    EXPECT_EQ(Value(CSummaryPage::IDC_DESCRIPTION_VALUE), "Shelf 3");
}

// The worksheet's summary sheet holds what the page shows, row for row.
TEST_F(SummaryPage, WorksheetRowsHoldWhatThePageShows)
{
    using P = CSummaryPage;
    const struct {
        int id, row;
    } values[] = {
        {P::IDC_ID_VALUE, 0}, {P::IDC_START_VALUE, 1}, {P::IDC_STOP_VALUE, 2}, {P::IDC_INTERVAL_VALUE, 3},
        {P::IDC_COUNT_VALUE, 4}, {P::IDC_MAX_VALUE, 5}, {P::IDC_MIN_VALUE, 6}, {P::IDC_AVG_VALUE, 7},
        {P::IDC_HIGH_LIMIT_VALUE, 8}, {P::IDC_LOW_LIMIT_VALUE, 9}, {P::IDC_HUMI_MAX_VALUE, 10},
        {P::IDC_HUMI_MIN_VALUE, 11}, {P::IDC_HUMI_AVG_VALUE, 12}, {P::IDC_HUMI_HIGH_LIMIT_VALUE, 13},
        {P::IDC_HUMI_LOW_LIMIT_VALUE, 14}, {P::IDC_DESCRIPTION_VALUE, 15}, {P::IDC_MKT_VALUE, 16},
    };
    for (const std::int32_t flags : {0xFFFF, RF_ID | RF_STOP | RF_MIN | RF_HUMI_AVG | RF_HUMI_LOW_LIMIT, RF_ID | RF_AVG}) {
        record.m_nRowFlags = flags;
        page.UpdateValues();
        const QList<SummaryItem> sheet = SummaryReportRows(record, display.language);
        ASSERT_EQ(sheet.size(), 17);
        for (const auto& v : values)
            EXPECT_EQ(Value(v.id).trimmed(), sheet[v.row].value.trimmed()) << flags << " control " << v.id;
    }
}

TEST_F(SummaryPage, TypeZeroLeavesTheValues)
{
    page.UpdateValues();
    record.m_nType = 0;
    record.m_strValue[ROW_ID] = QStringLiteral("changed");
    page.UpdateValues();
    EXPECT_EQ(Value(CSummaryPage::IDC_ID_VALUE), "UTH40000004");
}

TEST_F(SummaryPage, DescribedTypeWithoutDescriptionRefreshesOnlyIdStartStop)
{
    page.UpdateValues();
    for (const int type : {3, 4}) {
        record.m_nType = type;
        record.m_bDescRead = 0;
        record.m_strValue[ROW_ID] = QStringLiteral("UT300000003");
        record.m_strValue[ROW_STOP] = QStringLiteral("2024-3-6  10:00");
        record.m_strValue[ROW_COUNT] = QStringLiteral("99");
        record.m_strValue[ROW_DESCRIPTION] = QStringLiteral("new");
        page.UpdateValues();
        EXPECT_EQ(Value(CSummaryPage::IDC_ID_VALUE), "UT300000003");
        EXPECT_EQ(Value(CSummaryPage::IDC_STOP_VALUE), "2024-3-6  10:00");
        EXPECT_EQ(Value(CSummaryPage::IDC_COUNT_VALUE), "30") << type;
        EXPECT_EQ(Value(CSummaryPage::IDC_DESCRIPTION_VALUE), "Shelf 3") << type;
    }
}

TEST_F(SummaryPage, RescaleScalesEveryControlAboutThePageOrigin)
{
    const QRect before = page.Control(1072)->geometry();
    page.Rescale(2.0f, 3, 4);
    const QRect after = page.Control(1072)->geometry();
    EXPECT_EQ(after.width(), 2 * 2 * ((before.width() + 1) / 2));
    EXPECT_NEAR(after.center().x(), 2 * before.center().x(), 2);
    EXPECT_NEAR(after.center().y(), 2 * before.center().y(), 2);
    EXPECT_EQ(page.Control(1043)->font().pixelSize(), 22);
}

// Texts from a logger or a file with CR, LF or ESC stay on one line.
TEST_F(SummaryPage, ControlCharactersShowAsReplacementCharacters)
{
    record.m_strValue[ROW_DESCRIPTION] = QStringLiteral("Cold\r\nroom\x1b[2J");
    record.m_strValue[ROW_ID] = QStringLiteral("UTH4\n000004");
    page.UpdateLayout();
    page.UpdateValues();
    EXPECT_EQ(Value(CSummaryPage::IDC_DESCRIPTION_VALUE), QStringLiteral("Cold\uFFFD\uFFFDroom\uFFFD[2J"));
    EXPECT_EQ(Value(CSummaryPage::IDC_ID_VALUE), QStringLiteral("UTH4\uFFFD000004"));
}
