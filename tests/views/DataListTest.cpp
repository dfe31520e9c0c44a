#include "RecordFixture.h"
#include "views/DataListPage.h"
#include "views/SampleTableModel.h"

#include <QHeaderView>
#include <QTableView>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

QString Cell(const CDataListPage& page, int row, int column)
{
    return page.Model()->index(row, column).data().toString();
}

QString Header(const CDataListPage& page, int column)
{
    return page.Model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

} // namespace

TEST(DataList, ColumnsFollowTheRecordType)
{
    CLoggerRecord record;
    const DisplaySettings display;
    CDataListPage page(display);
    EXPECT_EQ(page.Model()->columnCount(), 0);
    FillMission(record, 4, 5);
    page.SetRecord(&record);
    ASSERT_EQ(page.Model()->columnCount(), 4);
    EXPECT_EQ(Header(page, 0), "Num");
    EXPECT_EQ(Header(page, 1), "RecordTime");
    EXPECT_EQ(Header(page, 2), "Temperature");
    EXPECT_EQ(Header(page, 3), "Humidity");
    FillMission(record, 1, 5);
    page.SetRecord(&record);
    EXPECT_EQ(page.Model()->columnCount(), 3);
    EXPECT_EQ(page.ColumnCount(), 3);
    EXPECT_EQ(page.Model()->rowCount(), 5);
}

TEST(DataList, EmptyRecordShowsOnlyTheHeader)
{
    CLoggerRecord record;
    const DisplaySettings display;
    CDataListPage page(display);
    FillMission(record, 1, 5);
    record.m_nReceived = 0;
    page.SetRecord(&record);
    EXPECT_EQ(page.Model()->rowCount(), 0);
    EXPECT_EQ(page.Model()->columnCount(), 3);
}

TEST(DataList, CellTexts)
{
    CLoggerRecord record;
    const QString c = kUnitC, f = kUnitF;
    const TempUnit C = TempUnit::Celsius, F = TempUnit::Fahrenheit;
    FillMission(record, 4, 6);
    record.m_fTempShown[0] = 25.0f;
    record.m_fTempShown[1] = 28.0f;    // equal to the upper limit: no mark
    record.m_fTempShown[2] = 28.01f;   // above it
    record.m_fTempShown[3] = -1000.0f; // missing
    record.m_fTempShown[4] = 11.5f;    // below the lower limit
    record.m_fHumi[0] = 45.5f;
    record.m_fHumi[1] = 48.01f;
    record.m_fHumi[3] = -1000.5f;
    record.m_tTime[5] = 0;
    record.m_tTime[1] = MakeLocalTime(2018, 3, 5, 9, 7);

    struct Case {
        TempUnit unit;
        int row, column;
        QString text;
    };
    const Case cases[] = {
        {C, 0, 0, "1"},
        {C, 5, 0, "6"},
        {C, 1, 1, "2018-3-5 09:07"},
        {C, 5, 1, ""},
        {C, 0, 2, "25.00" + c},
        {F, 0, 2, "77.00" + f},
        {C, 1, 2, "28.00" + c},
        {C, 2, 2, "28.01" + c + "*"},
        {F, 2, 2, "82.42" + f + "*"},
        {C, 3, 2, ""},
        {C, 3, 0, "4"},
        {C, 4, 2, "11.50" + c + "*"},
        {C, 0, 3, "45.50%RH"},
        {C, 1, 3, "48.01%RH*"},
        {C, 3, 3, ""},
    };
    DisplaySettings display;
    CDataListPage page(display);
    page.SetRecord(&record);
    for (const Case& k : cases) {
        display.unit = k.unit;
        EXPECT_EQ(Cell(page, k.row, k.column), k.text) << k.row << "," << k.column << " " << qPrintable(UnitText(k.unit));
    }
    EXPECT_EQ(page.Model()->index(0, 2).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
}

// Each page formats with its own settings: two pages on one record, one in
// degrees C and one in degrees F, show the same sample each in its unit.
TEST(DataList, EachPageShowsItsOwnUnit)
{
    CLoggerRecord record;
    FillMission(record, 1, 3);
    const DisplaySettings celsius{TempUnit::Celsius}, fahrenheit{TempUnit::Fahrenheit};
    CDataListPage c(celsius), f(fahrenheit);
    c.SetRecord(&record);
    f.SetRecord(&record);
    EXPECT_EQ(Cell(c, 0, 2), "10.00" + kUnitC + "*");
    EXPECT_EQ(Cell(f, 0, 2), "50.00" + kUnitF + "*");
}

TEST(DataList, RescaleWidensColumnsAndList)
{
    CLoggerRecord record;
    FillMission(record, 4, 3);
    const DisplaySettings display;
    CDataListPage page(display);
    page.SetRecord(&record);
    const QSize before = page.List()->size();
    page.Rescale(1.5f, 10, 20);
    EXPECT_EQ(page.List()->width(), static_cast<int>((before.width() + 1) * 1.5f));
    // The columns fill the list beside its scroll bar, the time widest.
    int total = 0;
    for (int c = 0; c < 4; ++c)
        total += page.List()->columnWidth(c);
    EXPECT_EQ(total, page.ListRoom());
    EXPECT_LT(page.ListRoom(), page.List()->width() - 10);
    EXPECT_GT(page.List()->columnWidth(1), page.List()->columnWidth(2));
    EXPECT_GT(page.List()->columnWidth(2), page.List()->columnWidth(0));
    EXPECT_EQ(page.List()->pos(), QPoint(0, 0));
    EXPECT_EQ(page.List()->font().pixelSize(), 16);
}

// Halfway through a download the page lists the samples received so far,
// in the unit in force, though the statistics are not computed yet.
TEST(DataList, ReceivedSamplesOfARunningDownload)
{
    CLoggerRecord record;
    FillMission(record, 4, 40);
    std::fill(std::begin(record.m_fTempShown), std::end(record.m_fTempShown), 0.0f);
    record.m_nReceived = 0;
    const float block[] = {20.5f, 45.0f, 21.25f, 46.0f, 22.0f, 47.0f};
    record.StoreSamples(0, block, 3);
    record.m_nReceived = 3;

    const DisplaySettings display{TempUnit::Fahrenheit};
    CDataListPage page(display);
    page.SetRecord(&record);
    ASSERT_EQ(page.Model()->rowCount(), 3);
    EXPECT_EQ(Cell(page, 0, 2), "68.90" + kUnitF);
    EXPECT_EQ(Cell(page, 2, 2), "71.60" + kUnitF);
    EXPECT_EQ(Cell(page, 2, 3), "47.00%RH");
}
