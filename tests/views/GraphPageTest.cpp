#include "RecordFixture.h"
#include "base/Messages.h"
#include "views/GraphPage.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <gtest/gtest.h>

namespace {

const QColor kTempLimit(255, 60, 60);
const QColor kHumiColour(200, 130, 50);

int CountInRow(const QImage& image, int y, const QColor& colour, int x0, int x1)
{
    int n = 0;
    for (int x = x0; x < x1; ++x)
        n += image.pixelColor(x, y) == colour ? 1 : 0;
    return n;
}

// Whether any pixel of row y between x0 and x1 has the colour.
bool RowHas(const QImage& image, int y, const QColor& colour, int x0 = 61, int x1 = 549)
{
    return CountInRow(image, y, colour, x0, x1) > 0;
}

// A dotted line across the plot covers about half of its row; a curve
// crossing the row only a few pixels.
bool DottedLineAt(const QImage& image, int y, const QColor& colour)
{
    return CountInRow(image, y, colour, 61, 549) > 200;
}

bool ImageHas(const QImage& image, const QColor& colour)
{
    for (int y = 0; y < image.height(); ++y)
        if (RowHas(image, y, colour, 0, image.width()))
            return true;
    return false;
}

class GraphPage : public ::testing::Test {
protected:
    QString Text(int id) { return page.Control<QLineEdit>(id)->text(); }
    QCheckBox* Check(int id) { return page.Control<QCheckBox>(id); }
    CLoggerRecord record;
    CLoggerRecord range;
    DisplaySettings display;
    CGraphPage page{record, range, display};
};

} // namespace

// The levels are round in the unit shown: 10 .. 30 C is 50 .. 86 F, shown
// on 50 .. 90; the curve stays on its values in either unit.
TEST_F(GraphPage, AxisLevelsAreRoundInTheUnitShown)
{
    struct Case { TempUnit unit; std::vector<QString> levels; int y30; };
    const Case cases[] = {
        {TempUnit::Celsius, {"10", "15", "20", "25", "30"}, 25},
        {TempUnit::Fahrenheit, {"50", "60", "70", "80", "90"}, 45}, // 86 F: 36/40 of the way up
    };
    FillMission(record, 1, 100);
    page.Refresh();
    for (const Case& c : cases) {
        display.unit = c.unit;
        page.Redraw();
        std::vector<QString> levels;
        for (int k = 0; k <= kValueIntervals; ++k)
            levels.push_back(ValueScaleText(page.Points().tempScale, k));
        EXPECT_EQ(levels, c.levels);
        EXPECT_EQ(ValueToY(page.Points().tempAxis, 10.0f, 225), 225);
        EXPECT_NEAR(ValueToY(page.Points().tempAxis, 30.0f, 225), c.y30, 1);
    }
}

TEST_F(GraphPage, LimitLinesAtTheirLevelsOrJustOutsideTheBand)
{
    display.unit = TempUnit::Celsius;
    FillMission(record, 1, 100);
    page.Refresh();
    const QImage& frame = page.Frame();
    EXPECT_TRUE(DottedLineAt(frame, 45, kTempLimit));  // 28 C on a 10..30 axis
    EXPECT_TRUE(DottedLineAt(frame, 205, kTempLimit)); // 12 C

    record.m_fHighLimit = 40.0f;
    record.m_fLowLimit = 0.0f;
    page.Redraw();
    EXPECT_TRUE(DottedLineAt(page.Frame(), 20, kTempLimit));
    EXPECT_TRUE(DottedLineAt(page.Frame(), 230, kTempLimit));
    EXPECT_FALSE(DottedLineAt(page.Frame(), 45, kTempLimit));
}

// The curve used to end short of the right edge (91 % of the width for 145
// samples, less at small scales): the last sample is now on the last column.
TEST_F(GraphPage, CurveReachesTheRightEdgeAtEveryScale)
{
    struct Case { float scale; int count; };
    const Case cases[] = {{1.0f, 145}, {1.0f, 60000}, {0.7f, 145}, {0.7f, 1000}, {1.37f, 777}};
    for (const Case& c : cases) {
        FillMission(record, 1, c.count);
        record.m_bTempAlarm = 0;
        CGraphPage view(record, range, display);
        view.Rescale(c.scale, 0, 0);
        view.Refresh();
        const QImage& frame = view.Frame();
        const int right = frame.width() - 1;
        bool curveAtRight = false;
        for (int y = 0; y < frame.height(); ++y)
            curveAtRight = curveAtRight || frame.pixelColor(right, y) == kTempLimit;
        EXPECT_TRUE(curveAtRight) << c.scale << " / " << c.count;
        EXPECT_EQ(view.XOfSample(c.count - 1), right) << c.scale << " / " << c.count;
    }
}

TEST_F(GraphPage, FlatRecordStillDraws)
{
    display.unit = TempUnit::Celsius; // 21.5 C: levels 20.5 .. 22.5
    FillMission(record, 1, 50);
    for (int i = 0; i < 50; ++i)
        record.m_fTemp[i] = 21.5f;
    record.m_fLoggerMax = record.m_fLoggerMin = 21.5f;
    record.Recompute(true, display.unit);
    record.m_bTempAlarm = 0;
    page.Refresh();
    EXPECT_TRUE(RowHas(page.Frame(), 125, kTempLimit)); // the curve, mid-band
}

TEST_F(GraphPage, TemperatureOnlyLoggerHasNoHumidity)
{
    FillMission(record, 1, 100);
    page.Refresh();
    page.UpdateReadouts();
    EXPECT_FALSE(Check(CGraphPage::IDC_SHOW_HUMI)->isEnabled());
    EXPECT_TRUE(Check(CGraphPage::IDC_SHOW_TEMP)->isChecked());
    EXPECT_TRUE(Text(CGraphPage::IDC_HUMI_READOUT).isEmpty());
    EXPECT_TRUE(page.Control<QLabel>(CGraphPage::IDC_HUMI_UNIT)->text().isEmpty());
    EXPECT_FALSE(ImageHas(page.Frame(), kHumiColour));
}

TEST_F(GraphPage, HumidityLoggerShowsBothCurvesAndReadouts)
{
    display.unit = TempUnit::Fahrenheit;
    FillMission(record, 4, 100);
    page.Refresh();
    page.UpdateReadouts();
    EXPECT_TRUE(Check(CGraphPage::IDC_SHOW_HUMI)->isChecked());
    EXPECT_EQ(page.Control<QLabel>(CGraphPage::IDC_HUMI_UNIT)->text(), "%RH");
    EXPECT_TRUE(ImageHas(page.Frame(), kHumiColour));
    EXPECT_EQ(Text(CGraphPage::IDC_TEMP_READOUT), "2024-3-5 09:00   50.00");
    EXPECT_EQ(Text(CGraphPage::IDC_HUMI_READOUT), "2024-3-5 09:00   40.00");
    EXPECT_EQ(page.Control<QSlider>(CGraphPage::IDC_FIRST_SAMPLE)->maximum(), 99);
}

TEST_F(GraphPage, CursorReadoutsFollowTheClickAndSkipOutOfRangeValues)
{
    display.unit = TempUnit::Celsius;
    FillMission(record, 4, 100, display.unit);
    record.m_fTempShown[10] = -1000.0f;
    record.m_tTime[11] = 0;
    page.Refresh();
    page.State().clickX = page.XOfSample(10);
    page.Redraw();
    page.UpdateReadouts();
    EXPECT_EQ(Text(CGraphPage::IDC_TEMP_READOUT), "2024-3-5 10:40");
    page.State().clickX = page.XOfSample(11) + 1;
    page.Redraw();
    page.UpdateReadouts();
    EXPECT_EQ(Text(CGraphPage::IDC_TEMP_READOUT), "   21.00");
}

TEST_F(GraphPage, EmptyRecordDrawsOnlyTheGrid)
{
    FillMission(record, 1, 10);
    record.m_nReceived = 0;
    page.Refresh();
    page.UpdateReadouts();
    EXPECT_EQ(page.Points().pointCount, 0);
    EXPECT_FALSE(ImageHas(page.Frame(), kTempLimit));
    EXPECT_TRUE(Text(CGraphPage::IDC_TEMP_READOUT).isEmpty());
}

TEST_F(GraphPage, RescaleScalesTheFrameAndControls)
{
    FillMission(record, 1, 60000);
    const QRect slider = page.Control(CGraphPage::IDC_FIRST_SAMPLE)->geometry();
    page.Rescale(2.0f, 0, 0);
    page.Refresh();
    EXPECT_EQ(page.Frame().size(), QSize(1100, 500));
    EXPECT_EQ(page.Points().pointCount, 1960); // 980 columns of two points
    const QRect scaled = page.Control(CGraphPage::IDC_FIRST_SAMPLE)->geometry();
    EXPECT_EQ(scaled.width(), 2 * 2 * ((slider.width() + 1) / 2));
    EXPECT_EQ(scaled.center().x() / 2, slider.center().x());
}

// Room beyond the template: the frame grows by it, the trackbar spans the
// wider plot and the controls below the plot move down; placed again
// without room, everything is back.
TEST_F(GraphPage, RoomGrowsTheFrameAndMovesTheControlsBelow)
{
    FillMission(record, 1, 60000);
    page.Rescale(1.0f, 0, 0);
    const QRect slider = page.Control(CGraphPage::IDC_FIRST_SAMPLE)->geometry();
    const QRect zoom = page.Control(CGraphPage::IDC_ZOOM_IN)->geometry();
    const QRect readout = page.Control(CGraphPage::IDC_TEMP_READOUT)->geometry();
    page.Rescale(1.0f, 0, 0, QSize(200, 100));
    page.Refresh();
    EXPECT_EQ(page.Frame().size(), QSize(750, 350));
    EXPECT_EQ(page.Points().pointCount, 2 * 690); // two points in each of 490 + 200 columns
    EXPECT_EQ(page.Control(CGraphPage::IDC_FIRST_SAMPLE)->geometry(), slider.adjusted(0, 100, 200, 100));
    EXPECT_EQ(page.Control(CGraphPage::IDC_ZOOM_IN)->geometry(), zoom.translated(0, 100));
    EXPECT_EQ(page.Control(CGraphPage::IDC_TEMP_READOUT)->geometry(), readout);
    page.Rescale(1.0f, 0, 0);
    EXPECT_EQ(page.Control(CGraphPage::IDC_FIRST_SAMPLE)->geometry(), slider);
    EXPECT_EQ(page.Frame().size(), QSize(550, 250));
}

TEST_F(GraphPage, GraphResetOffersTheSelectionAndRemovesTheArea)
{
    FillMission(record, 1, 10);
    range.SetCount(5);
    range.m_nReceived = range.m_nCount;
    page.SetSelectionOn(true);
    std::vector<bool> areaTabs;
    QObject::connect(&page, &CGraphPage::AreaTabsWanted, [&](bool show) { areaTabs.push_back(show); });
    page.OnGraphReset(true);
    EXPECT_TRUE(Check(CGraphPage::IDC_SAVE_SELECTION)->isEnabled());
    EXPECT_FALSE(Check(CGraphPage::IDC_SAVE_SELECTION)->isChecked());
    EXPECT_FALSE(page.IsSelectionOn());
    auto* start = page.Control<QDateTimeEdit>(CGraphPage::IDC_SELECTION_START);
    EXPECT_EQ(start->dateTime().toSecsSinceEpoch(), record.m_tStart);
    EXPECT_FALSE(start->isEnabled());
    EXPECT_EQ(range.m_nCount, 0);
    EXPECT_EQ(range.m_nReceived, 0);
    EXPECT_EQ(areaTabs, std::vector<bool>{false});

    page.OnGraphReset(false);
    EXPECT_FALSE(Check(CGraphPage::IDC_SAVE_SELECTION)->isEnabled());
}
