#include "WorkflowHarness.h"

#include "base/TextTable.h"
#include "link/serial/PortTable.h"
#include "record/Units.h"
#include "record/LoggerRecord.h"
#include "record/SampleText.h"
#include "serial/PtyEnd.h"
#include "sim/serial/VirtualSerialLogger.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

namespace {

class SerialWorkflowTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        h.workflow.Shutdown();
        logger.reset();
    }

    // Starts a virtual logger (unpaced) and links it through start-up
    // detection; falseHead puts a never-completed frame head before each reply.
    void Link(VirtualSerialConfig config, bool falseHead = false)
    {
        config.paced = false;
        logger = std::make_unique<VirtualSerialLogger>(std::move(config));
        logger->SetFalseHead(falseHead);
        ASSERT_TRUE(logger->Start());
        h.workflow.Startup();
        ASSERT_TRUE(h.PumpUntil([this] { return h.workflow.SerialLinked(); }));
        ASSERT_TRUE(h.PumpUntil([this] { return h.serial.m_nReply == 0 && h.view.shown > 0; }));
        h.PumpQuiet(100);
    }
    // Runs download ticks until the download ends (bounded).
    int RunDownload(int maxTicks = 200)
    {
        int ticks = 0;
        while (h.workflow.IsDownloading() && ticks < maxTicks) {
            h.PumpQuiet(30);
            if (!h.Tick(TIMER_SERIAL_DOWNLOAD))
                break;
            ++ticks;
        }
        return ticks;
    }
    // Retry timer ticks until it stops (bounded).
    int RunRetries()
    {
        int ticks = 0;
        while (ticks < 10 && h.Tick(TIMER_SERIAL_RETRY))
            ++ticks;
        return ticks;
    }

    WorkflowHarness h;
    std::unique_ptr<VirtualSerialLogger> logger;
};

TEST_F(SerialWorkflowTest, LinkingIdentifiesAndReadsTheDescription)
{
    VirtualSerialConfig config = VirtualSerialConfig::Demo(4, 40);
    config.description = "Pharmacy fridge";
    Link(config);

    const CLoggerRecord& r = h.record;
    EXPECT_TRUE(h.view.statuses.contains("Linking..."));
    EXPECT_TRUE(h.view.statuses.contains(" Instrument has connected."));
    EXPECT_EQ(r.m_nType, 4);
    EXPECT_EQ(r.m_nCount, 40);
    EXPECT_TRUE(r.m_bDescRead);
    EXPECT_EQ(r.m_strValue[ROW_DESCRIPTION], "Pharmacy fridge");
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::StartSetting));
    EXPECT_EQ(h.timers.Period(TIMER_SERIAL_STATUS), 6500);

    ASSERT_TRUE(h.Tick(TIMER_SERIAL_STATUS));
    ASSERT_TRUE(h.PumpUntil([&] { return h.workflow.LoggerClockReports() > 0; }));
    EXPECT_GT(r.m_nBattery, 0);
    EXPECT_TRUE(h.view.clockVisible);
    EXPECT_EQ(h.configDialogClocks, h.workflow.LoggerClockReports()); // the clock is forwarded to the settings dialog
}

// The information frame writes the summary in the settings of the
// workflow's front end, not in the link's own.
TEST_F(SerialWorkflowTest, IdentificationWritesTheSummaryInTheFrontEndsUnit)
{
    h.display.unit = TempUnit::Celsius;
    Link(VirtualSerialConfig::Demo(4, 40));
    EXPECT_TRUE(h.record.m_strValue[ROW_MAX].endsWith(kUnitC)) << h.record.m_strValue[ROW_MAX].toStdString();
}

TEST_F(SerialWorkflowTest, DownloadGetsEverySampleExactly)
{
    VirtualSerialConfig config = VirtualSerialConfig::Demo(4, 100);
    const std::vector<float> temps = config.temps;
    const std::vector<float> humis = config.humis;
    Link(config);

    h.workflow.Download();
    EXPECT_FALSE(h.view.Enabled(WorkflowCommand::Download));
    EXPECT_EQ(h.view.LastStatus(), " Downloading data...");
    ASSERT_TRUE(h.PumpUntil([this] { return h.record.m_nReceived >= 100; }));
    RunDownload();

    const CLoggerRecord& r = h.record;
    EXPECT_EQ(h.view.LastStatus(), " Data download is complete.");
    EXPECT_FALSE(h.workflow.IsDownloading());
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::Download));
    EXPECT_EQ(r.m_nReceived, 100);
    for (int i = 0; i < 100; ++i) {
        EXPECT_NEAR(r.m_fTemp[i], temps[i], 0.006) << i;
        EXPECT_NEAR(r.m_fHumi[i], humis[i], 0.006) << i;
    }
    EXPECT_EQ(h.timers.Period(TIMER_SERIAL_STATUS), 6500);
    EXPECT_EQ(h.view.graphResets.back(), 1);
}

TEST_F(SerialWorkflowTest, AFalseFrameHeadBeforeEveryReplyCostsOnlyTheNoise)
{
    VirtualSerialConfig config = VirtualSerialConfig::Demo(3, 100);
    const std::vector<float> temps = config.temps;
    Link(config, true); // identified without a retry tick: the first answer was decoded
    EXPECT_TRUE(h.view.statuses.contains(" Instrument has connected."));

    h.workflow.Download();
    ASSERT_TRUE(h.PumpUntil([this] { return h.record.m_nReceived >= 100; }));
    RunDownload();
    EXPECT_EQ(h.view.LastStatus(), " Data download is complete.");
    for (int i = 0; i < 100; ++i)
        ASSERT_NEAR(h.record.m_fTemp[i], temps[i], 0.006) << i;
}

// A count beyond the record is replaced from the mission's times; only when
// the times give no count that fits either does the download fail.
struct CountCase {
    const char* name;
    int samples;
    int intervalMinutes;
    int countField;
    int downloaded; // -1: the download fails
};

class SerialCountTest : public SerialWorkflowTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(SerialCountTest, ACountBeyondTheRecordIsTakenFromTheTimesOrFailsTheDownloadWithTheReason)
{
    const CountCase& c = GetParam();
    VirtualSerialConfig config = VirtualSerialConfig::Demo(3, c.samples);
    config.intervalMinutes = c.intervalMinutes;
    config.countField = c.countField;
    const std::vector<float> temps = config.temps;
    Link(config);

    h.workflow.Download();
    ASSERT_TRUE(h.PumpUntil([this] { return h.serial.m_nReportedCount > 0; }));
    h.PumpUntil([&] { return c.downloaded < 0 || h.record.m_nReceived >= c.downloaded; });
    RunDownload();
    EXPECT_FALSE(h.workflow.IsDownloading());
    if (c.downloaded < 0) {
        EXPECT_EQ(h.view.LastStatus(), GetText(ToInt(TextId::DownloadFailed), 0));
        EXPECT_EQ(h.workflow.LastOutcome().result, CommandOutcome::Result::Failed);
        EXPECT_EQ(h.workflow.LastOutcome().reason,
                  QStringLiteral("the logger reports %1 samples; at most 60000 can be downloaded").arg(c.countField));
        EXPECT_EQ(h.record.m_nReceived, 0);
        return;
    }
    EXPECT_EQ(h.view.LastStatus(), " Data download is complete.");
    EXPECT_EQ(h.workflow.LastOutcome().result, CommandOutcome::Result::Done);
    ASSERT_EQ(h.record.m_nCount, c.downloaded);
    for (int i = 0; i < c.downloaded; ++i)
        ASSERT_NEAR(h.record.m_fTemp[i], temps[i], 0.006) << i;
}

INSTANTIATE_TEST_SUITE_P(Counts, SerialCountTest,
                         ::testing::Values(CountCase{"TimesGive300", 300, 10, 65535, 300},
                                           CountCase{"TimesGive20", 20, 1, MAX_SAMPLES + 1, 20},
                                           CountCase{"TimesGiveTooMany", MAX_SAMPLES + 1, 1, 65535, -1},
                                           CountCase{"NoInterval", 20, 0, MAX_SAMPLES + 1, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SerialWorkflowTest, ADroppedBlockIsRequestedAgainByTheWatchdog)
{
    VirtualSerialConfig config = VirtualSerialConfig::Demo(3, 160);
    const std::vector<float> temps = config.temps;
    Link(config);
    logger->DropBlock(2);

    h.workflow.Download();
    h.PumpQuiet(200);
    EXPECT_EQ(h.record.m_nReceived, 64); // blocks 0 and 1 of 32 samples only
    const int ticks = RunDownload();
    EXPECT_GE(ticks, 5); // five silent ticks before the re-request
    EXPECT_EQ(h.view.LastStatus(), " Data download is complete.");
    for (int i = 0; i < 160; ++i)
        ASSERT_NEAR(h.record.m_fTemp[i], temps[i], 0.006) << i;
}

TEST_F(SerialWorkflowTest, UnitChangeWhileADownloadWaitsShowsTheReceivedSamples)
{
    CLoggerRecord& r = h.record;
    std::fill(std::begin(r.m_fTempShown), std::end(r.m_fTempShown), 0.0f);
    VirtualSerialConfig config = VirtualSerialConfig::Demo(3, 160);
    const std::vector<float> temps = config.temps;
    Link(config);
    logger->DropBlock(2);
    h.workflow.Download();
    h.PumpQuiet(200);
    ASSERT_EQ(r.m_nReceived, 64);

    h.workflow.SetUnitCelsius();
    ASSERT_TRUE(h.workflow.IsDownloading());
    for (int i = 0; i < 64; ++i) {
        const QString cell = SampleCellText(r, i, 2, h.display.unit);
        EXPECT_TRUE(cell.endsWith(kUnitC) || cell.endsWith(kUnitC + '*')) << cell.toStdString();
        EXPECT_NEAR(cell.left(cell.indexOf(kUnitC)).toDouble(), temps[i], 0.006) << i;
    }
}

TEST_F(SerialWorkflowTest, PullingThePortOutMidDownloadEndsItAndKeepsTheData)
{
    Link(VirtualSerialConfig::Demo(3, 400));
    h.workflow.Download();
    ASSERT_TRUE(h.PumpUntil([this] { return h.record.m_nReceived >= 16; }));
    logger->Vanish();
    ASSERT_TRUE(h.PumpUntil([this] { return !h.workflow.SerialLinked(); }));
    ASSERT_TRUE(h.Tick(TIMER_SERIAL_DOWNLOAD));

    EXPECT_FALSE(h.workflow.IsDownloading());
    EXPECT_EQ(h.view.LastStatus(), "Fail to download data");
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::Download));
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::Open));
    EXPECT_FALSE(h.timers.Running(TIMER_SERIAL_DOWNLOAD));
    EXPECT_FALSE(h.timers.Running(TIMER_SERIAL_RETRY));
    EXPECT_TRUE(h.view.statuses.contains(" Instrument disconnected."));
    EXPECT_EQ(h.serial.m_nComPort, 0);
    EXPECT_EQ(h.record.m_strValue[ROW_ID].size(), 11);
    EXPECT_GT(h.record.m_nReceived, 0);
}

// A port whose other end never answers.
class SilentPortTest : public SerialWorkflowTest {
protected:
    void Open()
    {
        ASSERT_GT(pty.Port(), 0);
        bool isNew = false;
        ASSERT_EQ(h.workflow.AttachPort(pty.Path(), isNew), pty.Port());
        h.Pump();
        ASSERT_TRUE(h.serial.m_ComPort.IsOpen());
    }
    int FramesWritten()
    {
        int frames = 0;
        for (std::uint8_t b : pty.Read(100000, 200))
            frames += b == 0xFF;
        return frames;
    }
    PtyEnd pty;
};

TEST_F(SilentPortTest, AnUnansweredIdentificationIsSentFourTimesThenGivenUp)
{
    Open();
    EXPECT_EQ(h.view.LastStatus(), "Linking...");
    EXPECT_EQ(h.timers.Period(TIMER_SERIAL_RETRY), 5000);
    EXPECT_EQ(h.workflow.m_nCmdRetries, 4);
    EXPECT_EQ(RunRetries(), 4);
    EXPECT_EQ(FramesWritten(), 4); // first send and three resends
    EXPECT_EQ(h.view.LastStatus(), " Instrument Malfunctioning...");
    EXPECT_EQ(h.serial.m_nReply, 0);
    EXPECT_FALSE(h.workflow.SerialLinked());
}

TEST_F(SilentPortTest, AnUnansweredClockSetFailsAtTheFourthTick)
{
    Open();
    RunRetries();
    h.serial.m_bLinked = true;
    h.record.m_nType = 3;
    h.workflow.CalibrateTime();
    h.Pump();
    EXPECT_EQ(h.serial.m_nReply, SERIAL_SET_CLOCK);
    EXPECT_EQ(RunRetries(), 4); // 4 x 5000 ms = 20 s
    EXPECT_EQ(h.view.LastStatus(), "Time calibration failed");
}

TEST_F(SilentPortTest, AStalledDownloadReRequestsThenFails)
{
    Open();
    RunRetries();
    h.serial.m_bLinked = true;
    CLoggerRecord& r = h.record;
    r.m_nType = 3;
    r.m_bDescRead = 1;
    r.SetCount(100);
    h.workflow.Download();
    h.Pump();
    FramesWritten();

    int reRequests = 0;
    int ticks = 0;
    while (h.workflow.IsDownloading() && ticks < 40) {
        ASSERT_TRUE(h.Tick(TIMER_SERIAL_DOWNLOAD));
        ++ticks;
        reRequests += FramesWritten();
    }
    EXPECT_EQ(ticks, 30); // five re-requests five ticks apart, failure at the sixth
    EXPECT_EQ(reRequests, 5);
    EXPECT_EQ(h.view.LastStatus(), "Fail to download data");
    EXPECT_FALSE(h.view.Enabled(WorkflowCommand::Calibrate));
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::Download));
    EXPECT_EQ(h.timers.Period(TIMER_SERIAL_STATUS), 6500);
    EXPECT_FALSE(h.timers.Running(TIMER_SERIAL_RETRY));
}

TEST_F(SilentPortTest, AReplyDuringADownloadIsLeftToTheWatchdog)
{
    Open();
    RunRetries();
    h.serial.m_bLinked = true;
    h.record.m_nType = 2;
    h.record.SetCount(10);
    h.workflow.Download();
    h.Pump();
    h.serial.m_nReply = SERIAL_SET_CLOCK | SERIAL_REPLY_ARRIVED;
    PostToMain(h.serial.Address(), SerialChunk{QByteArray(1, '\0')}); // any chunk reports the arrived reply
    h.Pump();
    EXPECT_EQ(h.serial.m_nReply, SERIAL_SET_CLOCK | SERIAL_REPLY_ARRIVED);
    EXPECT_NE(h.view.LastStatus(), "Time calibration has been completed");
}

TEST_F(SilentPortTest, ADownloadOfNoSamplesCompletesAtTheFirstTick)
{
    Open();
    RunRetries();
    h.serial.m_bLinked = true;
    h.record.m_nType = 2;
    h.record.SetCount(0);
    h.workflow.Download();
    h.Pump();
    ASSERT_TRUE(h.Tick(TIMER_SERIAL_DOWNLOAD));
    EXPECT_FALSE(h.workflow.IsDownloading());
    EXPECT_EQ(h.view.LastStatus(), " Data download is complete.");
    EXPECT_EQ(h.view.progress.back(), 0);
}

} // namespace
