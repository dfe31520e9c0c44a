#include "WorkflowHarness.h"

#include "base/TextTable.h"
#include "record/Units.h"
#include "record/LoggerRecord.h"
#include "record/SampleText.h"
#include "sim/usb/VirtualCh375.h"
#include "support/ScopedTz.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <ctime>
#include <memory>

namespace {

time64 Now() { return static_cast<time64>(std::time(nullptr)); }

// A logger whose mission has recorded `count` samples: temperature 20.00 +
// i/100, humidity 50.00 + i/100.
std::shared_ptr<CVirtualUsbLogger> MakeLogger(const char* id, int count, bool validTimes = true)
{
    const time64 now = Now();
    auto logger = std::make_shared<CVirtualUsbLogger>(QByteArray(id), now - count * 600 - 60);
    logger->StartMission(now - count * 600 - 60, 10);
    std::vector<std::int16_t> temp, humi;
    for (int i = 0; i < count; ++i) {
        temp.push_back(static_cast<std::int16_t>(2000 + i));
        humi.push_back(static_cast<std::int16_t>(5000 + i));
    }
    logger->SetSamples(temp, logger->Type() == 4 ? humi : std::vector<std::int16_t>{});
    logger->SetClock(now);
    logger->m_nHighLimit = 2500;
    logger->m_nLowLimit = 1000;
    if (!validTimes)
        logger->PatchInfo(12, QByteArray("\xFF\xFF\xFF\xFF\xFF\xFF", 6));
    return logger;
}

class UsbWorkflowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetCh375Library(&usb);
    }
    void TearDown() override
    {
        h.workflow.Shutdown();
        SetCh375Library(nullptr);
    }

    // Plugs a logger in before start-up and runs the start-up detection.
    void StartWith(std::shared_ptr<CVirtualUsbLogger> logger, int index = 0)
    {
        usb.Plug(index, std::move(logger), false);
        h.workflow.Startup();
        h.Pump();
    }
    // Ticks the download timer until it stops (bounded).
    int RunUsbDownload()
    {
        int ticks = 0;
        while (ticks < 10000 && h.Tick(TIMER_USB_DOWNLOAD))
            ++ticks;
        return ticks;
    }

    CVirtualCh375 usb;
    WorkflowHarness h;
};

// The identification writes the summary in the settings of the workflow's
// front end, not in the link's own.
TEST_F(UsbWorkflowTest, IdentificationWritesTheSummaryInTheFrontEndsUnit)
{
    h.display.unit = TempUnit::Celsius;
    StartWith(MakeLogger("UTH25000001", 20), 0);
    ASSERT_EQ(h.workflow.State(), LinkState::Ready);
    EXPECT_TRUE(h.record.m_strValue[ROW_MAX].endsWith(kUnitC)) << h.record.m_strValue[ROW_MAX].toStdString();
    EXPECT_TRUE(h.record.m_strValue[ROW_HIGH_LIMIT].endsWith(kUnitC));
}

TEST_F(UsbWorkflowTest, StartupIdentifiesATemperatureHumidityLoggerAndPollsItsStatus)
{
    auto logger = MakeLogger("UTH25000001", 20);
    logger->SetDescription("Cold room 3");
    StartWith(logger, 2);

    const CLoggerRecord& r = h.record;
    EXPECT_EQ(h.workflow.State(), LinkState::Ready);
    EXPECT_EQ(h.usb.Device(), 2);
    EXPECT_EQ(r.m_nType, 4);
    EXPECT_EQ(r.m_strValue[ROW_ID], "UTH25000001");
    EXPECT_EQ(r.m_nCount, 20);
    EXPECT_EQ(r.m_strValue[ROW_DESCRIPTION], "Cold room 3");
    EXPECT_TRUE(r.m_strValue[ROW_MKT].isEmpty()); // no samples yet, so no MKT
    EXPECT_TRUE(r.m_nRowFlags & RF_DESCRIPTION);
    EXPECT_TRUE(r.m_bDescRead);
    EXPECT_EQ(h.view.statuses.first(), " Instrument has connected.");
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::StartSetting));
    EXPECT_FALSE(h.view.Enabled(WorkflowCommand::Calibrate));
    EXPECT_EQ(h.timers.Period(TIMER_USB_STATUS), 1000);
    EXPECT_GE(h.view.shown, 1);
    EXPECT_EQ(h.view.graphResets, std::vector<int>{0});

    logger->m_nBattery = 2;
    ASSERT_TRUE(h.Tick(TIMER_USB_STATUS));
    EXPECT_EQ(r.m_nBattery, 2);
    EXPECT_EQ(h.timers.Period(TIMER_USB_STATUS), 5000);
}

TEST_F(UsbWorkflowTest, DownloadOfTwentyType4SamplesMovesTheProgressBarInThreeBlocks)
{
    StartWith(MakeLogger("UTH25000001", 20));
    h.view.progress.clear();

    h.workflow.Download();
    h.Pump();
    EXPECT_EQ(h.view.LastStatus(), " Downloading data...");
    EXPECT_FALSE(h.view.Enabled(WorkflowCommand::Download));
    EXPECT_FALSE(h.view.Enabled(WorkflowCommand::Open));
    EXPECT_FALSE(h.view.Enabled(WorkflowCommand::StartSetting));
    EXPECT_EQ(h.workflow.State(), LinkState::Downloading);
    EXPECT_EQ(h.workflow.LastOutcome().result, CommandOutcome::Result::Pending);

    EXPECT_EQ(RunUsbDownload(), 3);
    EXPECT_EQ(h.view.progress, (std::vector<int>{83, 161, 200, 0}));

    const CLoggerRecord& r = h.record;
    EXPECT_EQ(r.m_nReceived, 20);
    EXPECT_TRUE(r.m_byDataFlags & DATA_FLAG_SAMPLES);
    EXPECT_FLOAT_EQ(r.m_fTemp[0], 20.00f);
    EXPECT_FLOAT_EQ(r.m_fTemp[19], 20.19f);
    EXPECT_FLOAT_EQ(r.m_fHumi[19], 50.19f);
    EXPECT_EQ(r.m_tTime[1] - r.m_tTime[0], 600);
    EXPECT_FALSE(r.m_strValue[ROW_MKT].isEmpty());
    EXPECT_EQ(h.view.LastStatus(), " Data download is complete.");
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::Download));
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::Open));
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::StartSetting));
    EXPECT_EQ(h.workflow.State(), LinkState::Ready);
    EXPECT_EQ(h.workflow.LastOutcome().command, CommandOutcome::Command::Download);
    EXPECT_EQ(h.workflow.LastOutcome().result, CommandOutcome::Result::Done);
    EXPECT_EQ(h.view.graphResets.back(), 1);
}

TEST_F(UsbWorkflowTest, ALoggerWithoutSamplesDownloadsAtOnce)
{
    StartWith(MakeLogger("U2500000001", 0));
    h.workflow.Download();
    h.Pump();
    EXPECT_EQ(RunUsbDownload(), 1);
    EXPECT_EQ(h.view.LastStatus(), " Data download is complete.");
    EXPECT_EQ(h.record.m_nReceived, 0);
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::Download));
}

TEST_F(UsbWorkflowTest, ABlockFailingFiveTimesEndsTheDownloadWithItsFailureText)
{
    StartWith(MakeLogger("U2500000001", 40));
    h.workflow.Download();
    h.Pump();
    ASSERT_TRUE(h.Tick(TIMER_USB_DOWNLOAD)); // first block of 16 arrives
    usb.GetFaults().failBlockReads = 5;
    ASSERT_TRUE(h.Tick(TIMER_USB_DOWNLOAD));

    EXPECT_FALSE(h.timers.Running(TIMER_USB_DOWNLOAD));
    EXPECT_FALSE(h.workflow.IsDownloading());
    EXPECT_EQ(h.view.LastStatus(), "Fail to download data");
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::Download));
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::Open));
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::StartSetting));
    EXPECT_EQ(h.view.progress.back(), 0);
    EXPECT_EQ(h.record.m_nReceived, 16);
    EXPECT_EQ(h.workflow.LastOutcome().result, CommandOutcome::Result::Failed);
    EXPECT_EQ(h.workflow.LastOutcome().reason, GetText(ToInt(TextId::DownloadFailed), 0));
    EXPECT_EQ(h.workflow.State(), LinkState::Ready);
}

TEST_F(UsbWorkflowTest, FourFailuresOfABlockAreRetriedAtOnce)
{
    StartWith(MakeLogger("U2500000001", 20));
    h.workflow.Download();
    h.Pump();
    usb.GetFaults().failBlockReads = 4;
    EXPECT_EQ(RunUsbDownload(), 2);
    EXPECT_EQ(h.record.m_nReceived, 20);
    EXPECT_EQ(h.view.LastStatus(), " Data download is complete.");
}

TEST_F(UsbWorkflowTest, PullingTheLoggerOutMidDownloadKeepsTheDataAndAReplugDownloadsAgain)
{
    auto logger = MakeLogger("UTH25000001", 64);
    StartWith(logger);
    h.workflow.Download();
    h.Pump();
    ASSERT_TRUE(h.Tick(TIMER_USB_DOWNLOAD));
    usb.Unplug(0); // notifies on this thread; the workflow sees it as a message
    h.Pump();
    EXPECT_TRUE(h.view.statuses.contains(" Instrument disconnected."));
    RunUsbDownload();

    EXPECT_EQ(h.workflow.State(), LinkState::NoLogger);
    EXPECT_EQ(h.workflow.LastOutcome().result, CommandOutcome::Result::Failed);
    EXPECT_EQ(h.view.LastStatus(), GetText(ToInt(TextId::DownloadFailed), 0));
    EXPECT_EQ(h.view.progress.back(), 0);
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::Download));
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::Open));
    EXPECT_FALSE(h.view.Enabled(WorkflowCommand::StartSetting));
    EXPECT_EQ(h.record.m_strValue[ROW_ID], "UTH25000001");
    EXPECT_EQ(h.record.m_nReceived, 8);
    EXPECT_FLOAT_EQ(h.record.m_fHumi[7], 50.07f);
    EXPECT_FALSE(h.usb.Present());

    // Download without a logger starts nothing; plugged in again, the
    // logger downloads completely.
    h.workflow.Download();
    EXPECT_FALSE(h.timers.Running(TIMER_USB_DOWNLOAD));
    usb.Plug(0, logger, true);
    h.Pump();
    ASSERT_EQ(h.workflow.State(), LinkState::Ready);
    h.workflow.Download();
    h.Pump();
    RunUsbDownload();
    EXPECT_EQ(h.workflow.LastOutcome().result, CommandOutcome::Result::Done);
    EXPECT_EQ(h.record.m_nReceived, 64);
    EXPECT_FLOAT_EQ(h.record.m_fTemp[63], 20.63f);
}

// A unit change while the download is halfway shows the samples received so
// far in the new unit, before the completion computes the statistics.
TEST_F(UsbWorkflowTest, UnitChangeMidDownloadShowsTheReceivedSamples)
{
    CLoggerRecord& r = h.record;
    std::fill(std::begin(r.m_fTempShown), std::end(r.m_fTempShown), 0.0f);
    StartWith(MakeLogger("UTH25000001", 40)); // 20.00 + i/100 degrees C, limits 10..25
    h.workflow.Download();
    h.Pump();
    ASSERT_TRUE(h.Tick(TIMER_USB_DOWNLOAD));
    ASSERT_TRUE(h.Tick(TIMER_USB_DOWNLOAD));
    ASSERT_EQ(r.m_nReceived, 16);
    ASSERT_TRUE(h.workflow.IsDownloading());

    const struct {
        void (LoggerWorkflow::*set)();
        const char* first;
        const char* last;
    } units[] = {
        {&LoggerWorkflow::SetUnitCelsius, "20.00\u00B0C", "20.15\u00B0C"},
        {&LoggerWorkflow::SetUnitFahrenheit, "68.00\u00B0F", "68.27\u00B0F"},
    };
    LoggerWorkflow& workflow = h.workflow;
    for (const auto& u : units) {
        const int refreshes = h.view.dataRefreshes;
        (workflow.*u.set)();
        EXPECT_EQ(h.view.dataRefreshes, refreshes + 1);
        EXPECT_EQ(SampleCellText(r, 0, 2, h.display.unit).toStdString(), u.first);
        EXPECT_EQ(SampleCellText(r, 15, 2, h.display.unit).toStdString(), u.last);
        EXPECT_EQ(SampleCellText(r, 15, 3, h.display.unit).toStdString(), "50.15%RH");
    }
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(r.m_fTempShown[i], r.m_fTemp[i]) << i;

    RunUsbDownload();
    EXPECT_EQ(h.workflow.LastOutcome().result, CommandOutcome::Result::Done);
    EXPECT_EQ(SampleCellText(r, 39, 2, h.display.unit).toStdString(), "68.70\u00B0F");
}

struct Type2Case {
    bool validTimes;
    bool calibrateEnabled;
};

class UsbType2Test : public UsbWorkflowTest, public ::testing::WithParamInterface<Type2Case> {};

TEST_P(UsbType2Test, CalibrationTimeIsOfferedOnlyWhenTheTimesAreInvalid)
{
    StartWith(MakeLogger("D2500000001", 10, GetParam().validTimes));
    EXPECT_EQ(h.record.m_nType, 2);
    EXPECT_EQ(h.view.Enabled(WorkflowCommand::Calibrate), GetParam().calibrateEnabled);
    EXPECT_FALSE(h.view.Enabled(WorkflowCommand::StartSetting));
    EXPECT_FALSE(h.timers.Running(TIMER_USB_STATUS));
}

INSTANTIATE_TEST_SUITE_P(Times, UsbType2Test, ::testing::Values(Type2Case{true, false}, Type2Case{false, true}));

TEST_F(UsbWorkflowTest, CalibrationTimeSendsTheClockFrameAndIdentifiesAgain)
{
    auto logger = MakeLogger("D2500000001", 10, false);
    StartWith(logger);
    usb.ClearCalls();
    h.workflow.CalibrateTime();
    EXPECT_EQ(h.view.LastStatus(), "Time calibration has been completed");
    EXPECT_EQ(h.workflow.LastOutcome().result, CommandOutcome::Result::Done);
    ASSERT_GE(logger->m_lastSettings.size(), 26);
    EXPECT_EQ(static_cast<unsigned char>(logger->m_lastSettings[25]), 5); // rate code of "25"
    const int shownBefore = h.view.shown;
    h.Pump();
    EXPECT_GT(h.view.shown, shownBefore);

    usb.GetFaults().failWrites = -1;
    h.workflow.CalibrateTime();
    EXPECT_EQ(h.view.LastStatus(), "Time calibration failed");
    EXPECT_EQ(h.workflow.LastOutcome().command, CommandOutcome::Command::SetClock);
    EXPECT_EQ(h.workflow.LastOutcome().result, CommandOutcome::Result::Failed);
    EXPECT_EQ(h.workflow.LastOutcome().reason, "Time calibration failed");
}

TEST_F(UsbWorkflowTest, CalibrationTimeDoesNothingForAnIdWithoutRateCode)
{
    StartWith(MakeLogger("D1200000001", 10, false));
    usb.ClearCalls();
    const int statuses = h.view.statuses.size();
    h.workflow.CalibrateTime();
    EXPECT_TRUE(usb.Calls().empty());
    EXPECT_EQ(h.view.statuses.size(), statuses);
    EXPECT_EQ(h.workflow.LastOutcome().result, CommandOutcome::Result::None);
}

TEST_F(UsbWorkflowTest, AFailedInformationReadOnDownloadRestoresTheButtons)
{
    StartWith(MakeLogger("UTH25000001", 20));
    usb.GetFaults().failReads = -1;
    h.workflow.Download();
    h.Pump();
    EXPECT_EQ(h.view.LastStatus(), " Instrument Malfunctioning...");
    EXPECT_EQ(h.workflow.LastOutcome().result, CommandOutcome::Result::Failed);
    EXPECT_EQ(h.workflow.LastOutcome().reason, " Instrument Malfunctioning...");
    EXPECT_FALSE(h.workflow.IsDownloading());
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::Download));
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::StartSetting));
    EXPECT_FALSE(h.timers.Running(TIMER_USB_DOWNLOAD));
}

TEST_F(UsbWorkflowTest, StartupWithoutLoggerShowsReady)
{
    h.workflow.Startup();
    h.Pump();
    EXPECT_EQ(h.workflow.State(), LinkState::NoLogger);
    EXPECT_EQ(h.view.statuses.first(), " Ready...");
}

// Download without a logger once did nothing at all.
TEST_F(UsbWorkflowTest, DownloadWithoutLoggerSaysHowToAttachOne)
{
    h.workflow.Startup();
    h.Pump();
    const struct {
        std::uint16_t language;
        const char* status;
    } cases[] = {
        {0, " No logger is connected: plug one in (a serial logger through a CH341 USB-serial port)."},
        {LANG_CHINESE, " 未连接记录仪: 请插入记录仪 (串口记录仪经 CH341 USB 串口连接)."},
    };
    for (const auto& c : cases) {
        h.display.language = c.language;
        h.workflow.Download();
        h.Pump();
        EXPECT_EQ(h.view.LastStatus(), QString::fromUtf8(c.status));
        EXPECT_EQ(h.workflow.LastOutcome().result, CommandOutcome::Result::None);
        EXPECT_EQ(h.workflow.LastOutcome().reason, QString::fromUtf8(c.status));
        EXPECT_FALSE(h.workflow.IsDownloading());
        EXPECT_FALSE(h.view.Known(WorkflowCommand::Download)); // the button stays as it was
    }
}

TEST_F(UsbWorkflowTest, AttachingAnAbsentIndexLinksNothing)
{
    usb.Plug(1, MakeLogger("U2500000001", 5), false);
    EXPECT_FALSE(h.workflow.AttachUsb(0));
    EXPECT_EQ(h.workflow.State(), LinkState::NoLogger);
    ASSERT_TRUE(h.workflow.AttachUsb(1));
    EXPECT_EQ(h.workflow.State(), LinkState::Linking);
    h.Pump();
    EXPECT_EQ(h.workflow.State(), LinkState::Ready);
    EXPECT_EQ(h.record.m_strValue[ROW_ID], "U2500000001");
}

TEST_F(UsbWorkflowTest, ALoggerThatGivesNoInformationIsUnanswered)
{
    usb.GetFaults().failReads = -1;
    StartWith(MakeLogger("U2500000001", 5));
    EXPECT_EQ(h.workflow.State(), LinkState::Unanswered);
}

} // namespace
