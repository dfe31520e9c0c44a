// The graph page's range selection: "Save Selection", the pickers and their
// one-shot timer, Shift-drag, and the graph reset.
#include "GraphFixture.h"
#include "views/GraphPalette.h"

#include <QTest>

namespace {

// 10:00 to 12:00 every 10 minutes: 13 samples.
void TwoHourMission(CLoggerRecord& record, int type = 1)
{
    FillMission(record, type, 13);
    record.m_tStart = MakeLocalTime(2024, 3, 5, 10, 0);
    record.m_tStop = record.m_tStart + 12 * 600;
    record.BuildTimeTable();
}

time64 At(int hour, int minute) { return MakeLocalTime(2024, 3, 5, hour, minute); }

class GraphSelection : public ShownGraphPage {
protected:
    GraphSelection()
    {
        TwoHourMission(record);
        page.Refresh();
        page.OnGraphReset(true);
        areaTabs.clear();
    }
    void ShiftMouse(QEvent::Type type, QPoint pos) { Mouse(type, pos, Qt::ShiftModifier); }
};

} // namespace

TEST_F(GraphSelection, CheckingSaveSelectionBuildsTheAreaFromThePickers)
{
    struct Case {
        const char* name;
        time64 from, to;
        int count;
        time64 start, stop;
        int firstIndex;
        int timeOver;
    };
    const Case cases[] = {
        {"snapped inward", At(10, 5), At(11, 42), 10, At(10, 10), At(11, 40), 1, 0},
        {"wider than the record", At(9, 0), At(13, 0), 13, At(10, 0), At(12, 0), 0, 2},
        {"stop after the record", At(11, 0), At(12, 30), 7, At(11, 0), At(12, 0), 6, 1},
        {"no sample instant inside", At(10, 5), At(10, 8), 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        notices.clear();
        areaTabs.clear();
        SetPickers(c.from, c.to);
        QTest::mouseClick(SaveSelection(), Qt::LeftButton);
        ASSERT_TRUE(page.IsSelectionOn());
        EXPECT_TRUE(Picker(V::IDC_SELECTION_START)->isEnabled());
        EXPECT_EQ(areaTabs, std::vector<bool>{true}); // posted even when the area came out empty
        EXPECT_EQ(notices, std::vector<QString>(c.timeOver, QStringLiteral("Time Over")));
        EXPECT_EQ(range.m_nCount, c.count);
        EXPECT_EQ(range.m_nReceived, c.count);
        if (c.count > 0) {
            EXPECT_EQ(range.m_tStart, c.start);
            EXPECT_EQ(range.m_tStop, c.stop);
            EXPECT_EQ(range.m_fTemp[0], record.m_fTempShown[c.firstIndex]);
        }
        QTest::mouseClick(SaveSelection(), Qt::LeftButton);
        EXPECT_FALSE(page.IsSelectionOn());
        EXPECT_FALSE(Picker(V::IDC_SELECTION_END)->isEnabled());
        EXPECT_EQ(range.m_nCount, 0);
        EXPECT_EQ(areaTabs, (std::vector<bool>{true, false}));
    }
}

// An end before the start was once taken as an empty range, and the area
// pages went on showing the previous range's texts.
TEST_F(GraphSelection, AnEndBeforeTheStartIsRefusedAndLeavesNoAreaBehind)
{
    std::vector<QString> statuses;
    QObject::connect(&page, &V::StatusWanted, [&](const QString& text) { statuses.push_back(text); });
    const QString refused = QStringLiteral(" Selection refused: the end time is before the start time.");
    SetPickers(At(10, 30), At(11, 30));
    QTest::mouseClick(SaveSelection(), Qt::LeftButton);
    ASSERT_EQ(range.m_nCount, 7);

    // Edited while the selection is on: refused when the wait ends.
    Picker(V::IDC_SELECTION_END)->setDateTime(QDateTime::fromSecsSinceEpoch(At(10, 20)));
    QMetaObject::invokeMethod(page.SelectionTimer(), "timeout");
    EXPECT_EQ(statuses, std::vector<QString>{refused});
    EXPECT_EQ(areaTabs, (std::vector<bool>{true, false}));
    EXPECT_EQ(range.m_nCount, 0);
    EXPECT_TRUE(range.m_strValue[ROW_START].isEmpty());
    EXPECT_TRUE(range.m_strValue[ROW_MAX].isEmpty());
    EXPECT_TRUE(notices.empty());
    // The selection stays on, so the end can be put right.
    EXPECT_TRUE(SaveSelection()->isChecked());
    EXPECT_TRUE(Picker(V::IDC_SELECTION_END)->isEnabled());
    Picker(V::IDC_SELECTION_END)->setDateTime(QDateTime::fromSecsSinceEpoch(At(11, 0)));
    QMetaObject::invokeMethod(page.SelectionTimer(), "timeout");
    EXPECT_EQ(range.m_nCount, 4);
    EXPECT_EQ(areaTabs, (std::vector<bool>{true, false, true}));

    // Checked with the pickers already the wrong way round.
    QTest::mouseClick(SaveSelection(), Qt::LeftButton);
    SetPickers(At(11, 0), At(10, 0));
    areaTabs.clear();
    QTest::mouseClick(SaveSelection(), Qt::LeftButton);
    EXPECT_EQ(areaTabs, std::vector<bool>{false});
    EXPECT_EQ(statuses.size(), 2u);
    EXPECT_EQ(range.m_nCount, 0);
}

TEST_F(GraphSelection, ARangeWithoutSamplesShowsNothingOfTheRangeBefore)
{
    SetPickers(At(10, 30), At(11, 30));
    QTest::mouseClick(SaveSelection(), Qt::LeftButton);
    ASSERT_EQ(range.m_nCount, 7);
    SetPickers(At(10, 5), At(10, 8));
    QMetaObject::invokeMethod(page.SelectionTimer(), "timeout");
    EXPECT_EQ(areaTabs, (std::vector<bool>{true, true}));
    EXPECT_EQ(range.m_nCount, 0);
    for (int row : {ROW_ID, ROW_START, ROW_STOP, ROW_COUNT, ROW_MAX})
        EXPECT_TRUE(range.m_strValue[row].isEmpty()) << row << " " << range.m_strValue[row].toStdString();
}

TEST_F(GraphSelection, AZeroIntervalRecordIsRefusedAndLeavesTheAreaEmpty)
{
    record.m_tsInterval = 0;
    range.SetCount(4);
    range.m_nReceived = range.m_nCount;
    QTest::mouseClick(SaveSelection(), Qt::LeftButton);
    EXPECT_EQ(range.m_nCount, 0);
    EXPECT_EQ(range.m_nReceived, 0);
    EXPECT_EQ(areaTabs, std::vector<bool>{true});
}

TEST_F(GraphSelection, ABurstOfPickerEditsRebuildsOnceAfterTheLastOne)
{
    QTest::mouseClick(SaveSelection(), Qt::LeftButton);
    ASSERT_EQ(range.m_nCount, 13);
    QTimer* timer = page.SelectionTimer();
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_EQ(timer->interval(), 2000);
    EXPECT_FALSE(timer->isActive());
    for (const int minute : {10, 20, 30}) {
        Picker(V::IDC_SELECTION_START)->setDateTime(QDateTime::fromSecsSinceEpoch(At(10, minute)));
        EXPECT_TRUE(timer->isActive());
    }
    EXPECT_EQ(range.m_nCount, 13);
    EXPECT_EQ(areaTabs, std::vector<bool>{true});
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(range.m_nCount, 10);
    EXPECT_EQ(range.m_tStart, At(10, 30));
    EXPECT_EQ(areaTabs, (std::vector<bool>{true, true}));
    EXPECT_TRUE(Picker(V::IDC_SELECTION_END)->isEnabled());

    Picker(V::IDC_SELECTION_END)->setDateTime(QDateTime::fromSecsSinceEpoch(At(11, 0)));
    QTest::mouseClick(SaveSelection(), Qt::LeftButton); // unchecked before the wait ended
    EXPECT_FALSE(timer->isActive());
}

TEST_F(GraphSelection, ALaterResetUnchecksAndRemovesTheAreaTabs)
{
    QTest::mouseClick(SaveSelection(), Qt::LeftButton);
    Picker(V::IDC_SELECTION_START)->setDateTime(QDateTime::fromSecsSinceEpoch(At(11, 0)));
    TwoHourMission(record, 4);
    record.m_tStart = At(14, 0);
    record.m_tStop = At(16, 0);
    page.OnGraphReset(true);
    EXPECT_FALSE(SaveSelection()->isChecked());
    EXPECT_TRUE(SaveSelection()->isEnabled());
    EXPECT_FALSE(page.IsSelectionOn());
    EXPECT_FALSE(page.SelectionTimer()->isActive());
    EXPECT_EQ(PickerTime(V::IDC_SELECTION_START), At(14, 0));
    EXPECT_EQ(PickerTime(V::IDC_SELECTION_END), At(16, 0));
    EXPECT_EQ(range.m_nCount, 0);
    EXPECT_EQ(areaTabs, (std::vector<bool>{true, false}));
}

// The pickers once showed 1970 for a serial logger until its download, and
// the previous file's times after a failed open.
TEST_F(GraphSelection, PickersShowTheShownRecordsTimesWheneverItChanges)
{
    record.m_tStart = At(14, 0);
    record.m_tStop = At(16, 0);
    page.Refresh();
    EXPECT_EQ(PickerTime(V::IDC_SELECTION_START), At(14, 0));
    TwoHourMission(record);
    record.m_nReceived = 0; // identified, not downloaded
    page.Refresh();
    EXPECT_EQ(PickerTime(V::IDC_SELECTION_START), At(10, 0));
    EXPECT_EQ(PickerTime(V::IDC_SELECTION_END), At(12, 0));

    QTest::mouseClick(SaveSelection(), Qt::LeftButton);
    SetPickers(At(10, 30), At(11, 0));
    page.Refresh(); // a unit change keeps the chosen range
    EXPECT_EQ(PickerTime(V::IDC_SELECTION_START), At(10, 30));
}

TEST_F(GraphSelection, PickersKeepSecondsOfTimesOffTheMinute)
{
    SetPickers(At(10, 0) + 30, At(11, 0) + 45);
    EXPECT_EQ(PickerTime(V::IDC_SELECTION_START), At(10, 0) + 30);
    EXPECT_EQ(PickerTime(V::IDC_SELECTION_END), At(11, 0) + 45);
}

TEST_F(GraphSelection, ShiftDragSelectsTheTimeRangeUnderThePointer)
{
    const int from = page.XOfSample(3), to = page.XOfSample(8);
    ShiftMouse(QEvent::MouseButtonPress, {from, 150});
    ShiftMouse(QEvent::MouseMove, {to, 150});
    ShiftMouse(QEvent::MouseButtonRelease, {to, 150});
    EXPECT_TRUE(SaveSelection()->isChecked());
    EXPECT_TRUE(page.IsSelectionOn());
    EXPECT_EQ(PickerTime(V::IDC_SELECTION_START), At(10, 30));
    EXPECT_EQ(PickerTime(V::IDC_SELECTION_END), At(11, 20));
    EXPECT_EQ(range.m_nCount, 6);
    EXPECT_EQ(areaTabs, std::vector<bool>{true});
    EXPECT_EQ(page.State().clickX, 0); // the cursor stays

    // Selection already on: the new range is built at once.
    ShiftMouse(QEvent::MouseButtonPress, {to, 150});
    ShiftMouse(QEvent::MouseMove, {page.XOfSample(12), 150});
    ShiftMouse(QEvent::MouseButtonRelease, {page.XOfSample(12), 150});
    EXPECT_EQ(range.m_nCount, 5);
    EXPECT_FALSE(page.SelectionTimer()->isActive());
    EXPECT_EQ(areaTabs, (std::vector<bool>{true, true}));
    EXPECT_TRUE(notices.empty());
}

TEST_F(GraphSelection, ShiftDragDoesNothingBeforeCompleteData)
{
    page.OnGraphReset(false);
    areaTabs.clear();
    ShiftMouse(QEvent::MouseButtonPress, {page.XOfSample(3), 150});
    ShiftMouse(QEvent::MouseMove, {page.XOfSample(8), 150});
    ShiftMouse(QEvent::MouseButtonRelease, {page.XOfSample(8), 150});
    EXPECT_FALSE(page.IsSelectionOn());
    EXPECT_TRUE(areaTabs.empty());
}

// The range stays shaded on the plot once the Shift-drag has ended, until
// the selection is turned off.
TEST_F(GraphSelection, TheSelectedRangeStaysShadedWhileTheSelectionIsOn)
{
    const int from = page.XOfSample(3), to = page.XOfSample(8);
    const int y = 50 + 35; // frame row 35: between the top level and the next grid line
    const auto shaded = [&](int x0, int x1) {
        const QImage shot = page.grab().toImage();
        int n = 0;
        for (int x = x0; x <= x1; ++x)
            n += shot.pixelColor(x, y) == GraphPalette::kSelection ? 1 : 0;
        return n;
    };
    ShiftMouse(QEvent::MouseButtonPress, {from, 150});
    ShiftMouse(QEvent::MouseMove, {to, 150});
    ShiftMouse(QEvent::MouseButtonRelease, {to, 150});
    ASSERT_TRUE(page.IsSelectionOn());
    EXPECT_GT(shaded(from + 2, to - 2), (to - from) * 8 / 10);
    EXPECT_EQ(shaded(61, from - 2), 0);
    EXPECT_EQ(shaded(to + 2, 548), 0);

    page.ZoomIn(); // the band follows the view: it begins at sample 3's new place
    ASSERT_GT(page.XOfSample(3), from + 50);
    EXPECT_EQ(shaded(61, page.XOfSample(3) - 2), 0);
    EXPECT_GT(shaded(page.XOfSample(3) + 2, 548), (548 - page.XOfSample(3)) * 8 / 10);

    QTest::mouseClick(SaveSelection(), Qt::LeftButton);
    ASSERT_FALSE(page.IsSelectionOn());
    EXPECT_EQ(shaded(61, 548), 0);
}
