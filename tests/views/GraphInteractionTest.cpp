// The graph page driven as a user drives it: zoom buttons, trackbar, clicks,
// wheel, drag, keys, and the range selection with its pickers and timer.
#include "GraphFixture.h"
#include "support/ScopedTz.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

namespace {

class GraphInteraction : public ShownGraphPage {
protected:
    void Load(int type, int count)
    {
        FillMission(record, type, count, display.unit);
        page.Refresh();
    }
    QSlider* Trackbar() { return static_cast<QSlider*>(Ctl(V::IDC_FIRST_SAMPLE)); }
    QString TempReadout() { return static_cast<QLineEdit*>(Ctl(V::IDC_TEMP_READOUT))->text(); }
    void Click(int id) { QTest::mouseClick(Ctl(id), Qt::LeftButton); }
    void Drag(int fromX, int toX, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Mouse(QEvent::MouseButtonPress, {fromX, 150}, mods);
        Mouse(QEvent::MouseMove, {(fromX + toX) / 2, 150}, mods);
        Mouse(QEvent::MouseMove, {toX, 150}, mods);
        Mouse(QEvent::MouseButtonRelease, {toX, 150}, mods);
    }
    void Wheel(int x, int delta)
    {
        const QPointF pos(x, 150);
        QWheelEvent event(pos, page.mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&page, &event);
    }
};

} // namespace

TEST_F(GraphInteraction, ZoomButtonsDoubleAndHalveWithinTheSampleCountAndKeepTheFirstSample)
{
    Load(1, 1000);
    Trackbar()->setValue(100);
    std::vector<int> divisors;
    for (int k = 0; k < 11; ++k) {
        Click(V::IDC_ZOOM_IN);
        divisors.push_back(page.State().zoomDivisor);
    }
    EXPECT_EQ(divisors, (std::vector<int>{2, 4, 8, 16, 32, 64, 128, 256, 512, 1000, 1000}));
    divisors.clear();
    for (int k = 0; k < 11; ++k) {
        Click(V::IDC_ZOOM_OUT);
        divisors.push_back(page.State().zoomDivisor);
    }
    EXPECT_EQ(divisors, (std::vector<int>{500, 250, 125, 62, 31, 15, 7, 3, 1, 1, 1}));
    EXPECT_EQ(page.State().firstSample, 100);
    EXPECT_EQ(Trackbar()->value(), 100);
}

TEST_F(GraphInteraction, WithNeitherCurveZoomAndTrackbarDoNothingAndAClickOnlyStoresItsPosition)
{
    Load(1, 1000);
    const int x = page.XOfSample(600);
    Click(V::IDC_SHOW_TEMP);
    ASSERT_FALSE(page.State().showTemp);
    Click(V::IDC_ZOOM_IN);
    Trackbar()->setValue(50);
    QTest::mouseClick(&page, Qt::LeftButton, Qt::NoModifier, QPoint(x, 150));
    EXPECT_EQ(page.State().zoomDivisor, 1);
    EXPECT_EQ(page.State().firstSample, 0);
    EXPECT_EQ(page.State().clickX, x);
    EXPECT_EQ(page.State().cursorTempSample, 0);

    Trackbar()->setValue(0);
    Click(V::IDC_SHOW_TEMP); // a redraw puts the cursor where the click was
    EXPECT_EQ(page.State().cursorTempSample, page.SampleAtX(x));
    EXPECT_NEAR(page.State().cursorTempSample, 600, 1); // about two samples per pixel column
}

TEST_F(GraphInteraction, ClickMovesTheCursorOnlyOnceTheDownloadIsComplete)
{
    Load(1, 1000);
    record.m_nReceived = 700;
    page.Refresh();
    const int x = page.XOfSample(300);
    QTest::mouseClick(&page, Qt::LeftButton, Qt::NoModifier, QPoint(x, 150));
    EXPECT_EQ(page.State().clickX, x);
    EXPECT_EQ(page.State().cursorTempSample, 0);
    page.Redraw();
    EXPECT_EQ(page.State().cursorTempSample, 300);
}

TEST_F(GraphInteraction, ClickOutsideThePlotIsIgnored)
{
    Load(1, 1000);
    QTest::mouseClick(&page, Qt::LeftButton, Qt::NoModifier, QPoint(30, 150)); // label strip
    QTest::mouseClick(&page, Qt::LeftButton, Qt::NoModifier, QPoint(300, 20)); // above the frame
    EXPECT_EQ(page.State().clickX, 0);
}

TEST_F(GraphInteraction, CursorKeysStepOneSampleAndScrollItIntoView)
{
    display.unit = TempUnit::Celsius;
    Load(1, 60000);
    QTest::mouseClick(&page, Qt::LeftButton, Qt::NoModifier, QPoint(page.XOfSample(30000), 150));
    const int clicked = page.State().cursorTempSample;
    EXPECT_NEAR(clicked, 30000, 62); // one pixel column holds about 123 samples
    QTest::keyClick(&page, Qt::Key_Right);
    QTest::keyClick(&page, Qt::Key_Right);
    QTest::keyClick(&page, Qt::Key_Left);
    EXPECT_EQ(page.State().cursorTempSample, clicked + 1);
    EXPECT_EQ(TempReadout(), ::TempReadout(record, clicked + 1, TempUnit::Celsius));

    page.State().zoomDivisor = 60000; // two samples on screen
    page.Redraw();
    QTest::mouseClick(&page, Qt::LeftButton, Qt::NoModifier, QPoint(page.XOfSample(1), 150));
    QTest::keyClick(&page, Qt::Key_Right);
    QTest::keyClick(&page, Qt::Key_Right);
    EXPECT_EQ(page.State().cursorTempSample, 3);
    EXPECT_EQ(page.State().firstSample, 2);
    EXPECT_EQ(Trackbar()->value(), 2);
    page.State().keySample = 0;
    QTest::keyClick(&page, Qt::Key_Left);
    EXPECT_EQ(page.State().cursorTempSample, 0);
    EXPECT_EQ(page.State().firstSample, 0);
}

TEST_F(GraphInteraction, WheelZoomsAroundThePointerAndDoubleClickResets)
{
    Load(1, 60000);
    const int x = 60 + 300;
    const int anchor = page.SampleAtX(x);
    for (int k = 0; k < 3; ++k)
        Wheel(x, 120);
    EXPECT_EQ(page.State().zoomDivisor, 8);
    EXPECT_EQ(Trackbar()->value(), page.State().firstSample);
    EXPECT_EQ(page.XOfSample(anchor), x);
    Wheel(x, 60); // half a notch does nothing yet
    EXPECT_EQ(page.State().zoomDivisor, 8);
    Wheel(x, 60);
    EXPECT_EQ(page.State().zoomDivisor, 16);
    Wheel(x, -120);
    EXPECT_EQ(page.State().zoomDivisor, 8);
    EXPECT_EQ(page.XOfSample(anchor), x);

    QTest::mouseDClick(&page, Qt::LeftButton, Qt::NoModifier, QPoint(x, 150));
    EXPECT_EQ(page.State().zoomDivisor, 1);
    EXPECT_EQ(page.State().firstSample, 0);
    EXPECT_EQ(Trackbar()->value(), 0);
}

TEST_F(GraphInteraction, DragPansTheCurveWithoutMovingTheCursor)
{
    Load(1, 1000);
    Click(V::IDC_ZOOM_IN);
    Click(V::IDC_ZOOM_IN); // 250 samples on screen, span 249 over 489 columns
    Trackbar()->setValue(300);
    const int clickX = page.State().clickX;
    Drag(400, 302);
    EXPECT_EQ(page.State().firstSample, 350); // 98 pixels is 50 samples
    EXPECT_EQ(Trackbar()->value(), 350);
    EXPECT_EQ(page.State().clickX, clickX);
    Drag(100, 540);
    EXPECT_EQ(page.State().firstSample, 126);
    for (int k = 0; k < 3; ++k)
        Drag(500, 60);
    EXPECT_EQ(page.State().firstSample, 750); // the last view that still fills the plot
}

// "Scaling data coordinate" fits the round levels to the visible samples;
// without it they cover the whole record.
TEST_F(GraphInteraction, ScalingDataCoordinateFitsTheLevelsToTheVisibleSamples)
{
    display.unit = TempUnit::Celsius;
    Load(1, 100);
    for (int k = 0; k < 4; ++k)
        Click(V::IDC_ZOOM_IN); // samples 0 .. 5: 10 .. 15 C
    const auto levels = [this] {
        std::vector<QString> texts;
        for (int k = 0; k <= kValueIntervals; ++k)
            texts.push_back(ValueScaleText(page.Points().tempScale, k));
        return texts;
    };
    EXPECT_EQ(levels(), (std::vector<QString>{"10", "15", "20", "25", "30"}));
    Click(V::IDC_AUTOSCALE);
    EXPECT_EQ(levels(), (std::vector<QString>{"10", "12", "14", "16", "18"}));
    EXPECT_EQ(ValueToY(page.Points().tempAxis, 15.0f, 225), 100);
    Click(V::IDC_AUTOSCALE);
    EXPECT_EQ(levels(), (std::vector<QString>{"10", "15", "20", "25", "30"}));
}

// The time axis is chosen afresh for every view: days for the whole week of
// 10-minute samples, hours and minutes zoomed in, later times after a pan,
// and its first label always tells the day.
TEST_F(GraphInteraction, TimeAxisFollowsZoomAndPan)
{
    const ScopedTz tz("UTC");
    Load(1, 1000); // 2024-03-05 09:00 to 2024-03-12 03:30
    const auto axis = [this] { return page.Points().timeTicks; };
    EXPECT_EQ(axis().step, (TimeStep{TimeUnit::Day, 1}));
    ASSERT_FALSE(axis().ticks.empty());
    EXPECT_EQ(axis().ticks.front().text, "2024-3-6");
    EXPECT_EQ(axis().ticks.back().text, "2024-3-12");

    for (int k = 0; k < 4; ++k)
        Click(V::IDC_ZOOM_IN); // 62 samples: about ten hours
    EXPECT_EQ(axis().step.unit, TimeUnit::Hour);
    EXPECT_EQ(axis().ticks.front().text, "2024-3-5 10:00");
    Click(V::IDC_ZOOM_IN);
    Click(V::IDC_ZOOM_IN); // 15 samples: two hours and a half
    EXPECT_EQ(axis().step.unit, TimeUnit::Minute);

    Trackbar()->setValue(500); // 2024-03-08 20:20
    EXPECT_EQ(axis().ticks.front().time, MakeLocalTime(2024, 3, 8, 20, 30));
    EXPECT_TRUE(axis().ticks.front().text.startsWith("2024-3-8 "));
}

TEST_F(GraphInteraction, EnterAndEscapeNeverCloseTheWindowButEnterPressesAFocusedZoomButton)
{
    QDialog host;
    CGraphPage* hosted = new CGraphPage(record, range, display, &host);
    FillMission(record, 1, 1000);
    hosted->Refresh();
    host.show();
    bool closed = false;
    QObject::connect(&host, &QDialog::finished, [&] { closed = true; });
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(hosted, key);
        QTest::keyClick(hosted->Control(V::IDC_AUTOSCALE), key);
    }
    EXPECT_FALSE(closed);
    EXPECT_EQ(hosted->State().zoomDivisor, 1);
    QTest::keyClick(hosted->Control(V::IDC_ZOOM_IN), Qt::Key_Return);
    EXPECT_EQ(hosted->State().zoomDivisor, 2);
    EXPECT_FALSE(closed);
}

// While a download runs the graph shows the samples received so far; the
// record's statistics do not cover them yet, so the fixed axis spans them.
TEST_F(GraphInteraction, IncompleteDownloadDrawsTheReceivedSamplesInTheUnitInForce)
{
    display.unit = TempUnit::Fahrenheit;
    FillMission(record, 1, 100, display.unit);
    record.m_nReceived = 6; // 10, 11, ... 15 C
    record.m_fMax = record.m_fMin = 0.0f;
    page.Refresh();
    EXPECT_EQ(page.Points().sampleCount, 6);
    // 50 .. 59 F on round levels
    EXPECT_EQ(ValueScaleText(page.Points().tempScale, 0), "50.0");
    EXPECT_EQ(ValueScaleText(page.Points().tempScale, 4), "60.0");
    EXPECT_EQ(page.XOfSample(5), 549);
    EXPECT_EQ(Trackbar()->maximum(), 5);
    record.m_nReceived = 40;
    page.SamplesArrived();
    EXPECT_EQ(Trackbar()->maximum(), 39);
}
