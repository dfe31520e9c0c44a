// The Alarms tab: the excursions of the shown record, following the unit
// radios.
#include "base/QtMessagePoster.h"
#include "mainwnd/MainDialog.h"
#include "views/AlarmFormView.h"
#include "views/AlarmTableModel.h"
#include "views/RecordFixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

class AlarmsTab : public ::testing::Test {
protected:
    AlarmsTab() { InstallQtMessagePoster(); }
    ~AlarmsTab() override { SetMessagePoster({}); }
    QString Cell(int row, int column) const
    {
        return dialog.Alarms()->Model()->index(row, column).data().toString();
    }
    void Click(int id) const { dialog.Control<QAbstractButton>(id)->click(); }

    CMainDialog dialog{{TempUnit::Celsius}, QSize(1920, 1080)};
};

} // namespace

TEST_F(AlarmsTab, ListsTheExcursionsOfTheRecordInTheUnitInForce)
{
    EXPECT_EQ(dialog.Alarms()->Totals()->text(), "No alarm limit is set.");
    // 10..30 C in steps of 1 against 12..28; humidity 40..50 against 42..48.
    FillMission(dialog.Connection().Record(), 4, 30, TempUnit::Celsius);
    dialog.ShowRecord();
    auto* model = dialog.Alarms()->Model();
    ASSERT_EQ(model->rowCount(), 8);
    EXPECT_EQ(dialog.Alarms()->Totals()->text(),
              "Temperature:  Excursions: 3   Longest: 00:20:00\n"
              "   Time above: 00:20:00   Time below: 00:40:00\n"
              "Humidity:  Excursions: 5   Longest: 00:20:00\n"
              "   Time above: 00:40:00   Time below: 01:00:00");
    EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Limit");
    EXPECT_EQ(Cell(0, 0), "< 12.00" + kUnitC);
    EXPECT_EQ(Cell(0, 1), "2024-3-5\n09:00");
    EXPECT_EQ(Cell(0, 2), "2024-3-5\n09:10");
    EXPECT_EQ(Cell(0, 3), "00:20:00");
    EXPECT_EQ(Cell(0, 4), "10.00" + kUnitC);
    EXPECT_EQ(Cell(1, 0), "< 42.00%RH");
    EXPECT_EQ(Cell(4, 0), "> 28.00" + kUnitC);
    EXPECT_EQ(Cell(4, 4), "30.00" + kUnitC);

    Click(CMainDialog::IDC_UNIT_F);
    EXPECT_EQ(Cell(0, 0), "< 53.60" + kUnitF);
    EXPECT_EQ(Cell(4, 4), "86.00" + kUnitF);
    EXPECT_EQ(Cell(1, 4), "40.00%RH");
    Click(CMainDialog::IDC_UNIT_C);
    EXPECT_EQ(Cell(4, 4), "30.00" + kUnitC);

    // A record without alarm limits empties the page.
    dialog.Connection().Record().m_bTempAlarm = dialog.Connection().Record().m_bHumiAlarm = 0;
    dialog.ShowRecord();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(dialog.Alarms()->Totals()->text(), "No alarm limit is set.");
}
