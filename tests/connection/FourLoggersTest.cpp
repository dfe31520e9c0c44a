// Four loggers downloaded at once in one process, each through its own
// connection: two virtual USB loggers on one CH375 library and two virtual
// serial loggers, each on its own pseudo-terminal through the real port code.
#include "workflow/WorkflowHarness.h"

#include "support/LoggerHoldings.h"

#include "record/LoggerRecord.h"
#include "record/Units.h"
#include "sim/serial/VirtualSerialLogger.h"
#include "sim/usb/DemoUsbLogger.h"
#include "sim/usb/VirtualCh375.h"
#include "workflow/StationLoop.h"

#include <gtest/gtest.h>
#include <array>
#include <cmath>
#include <ctime>
#include <memory>

namespace {

constexpr int kTimeoutMs = 30000;
// Serial samples of the type 4 and type 3 logger. The port hands on what
// arrived in chunks of up to 2048 bytes, so a logger pulled out after the
// first chunk must hold more than that.
constexpr int kSerialSamples[2] = {600, 1500};

// Connections 0 and 1 are the USB loggers at indices 0 and 1, 2 and 3 the
// serial ones; all four are linked and identified when the fixture is made.
class FourLoggers : public ::testing::Test {
protected:
    static constexpr int kLoggers = 4;

    void SetUp() override
    {
        // The serial loggers' threads start before anything else runs.
        for (int i = 0; i < 2; ++i) {
            VirtualSerialConfig config = VirtualSerialConfig::Demo(i == 0 ? 4 : 3, kSerialSamples[i]);
            serial[i] = std::make_unique<VirtualSerialLogger>(config);
            ASSERT_TRUE(serial[i]->Start());
            expected[2 + i] = Holds(config);
        }
        queue.Install();
        SetCh375Library(&usb);
        const auto now = static_cast<time64>(std::time(nullptr));
        for (int i = 0; i < 2; ++i) {
            auto logger = MakeDemoUsbLogger(i == 0 ? 4 : 3, now);
            expected[i] = Holds(*logger);
            usb.Plug(i, logger, false);
        }
        for (int i = 0; i < kLoggers; ++i)
            connections[i] = &station.Add(views[i], display);
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(Workflow(i).AttachUsb(i));
            bool isNew = false;
            ASSERT_GT(Workflow(2 + i).AttachPort(serial[i]->SlavePath(), isNew), 0);
        }
        ASSERT_TRUE(station.RunUntil([this] { return All([](const LoggerWorkflow& w) { return w.State() == LinkState::Ready; }); },
                                     kTimeoutMs));
    }
    void TearDown() override
    {
        for (auto& logger : serial)
            if (logger)
                logger->Stop();
        SetCh375Library(nullptr);
        SetMessagePoster(nullptr);
    }

    LoggerWorkflow& Workflow(int i) { return connections[i]->Workflow(); }
    const CLoggerRecord& Record(int i) const { return connections[i]->Record(); }
    bool All(const std::function<bool(const LoggerWorkflow&)>& pred)
    {
        for (int i = 0; i < kLoggers; ++i)
            if (!pred(Workflow(i)))
                return false;
        return true;
    }
    void DownloadAll()
    {
        for (int i = 0; i < kLoggers; ++i)
            Workflow(i).Download();
        ASSERT_TRUE(All([](const LoggerWorkflow& w) { return w.IsDownloading(); }));
    }
    bool RunUntilAllEnded()
    {
        return station.RunUntil([this] { return All([](const LoggerWorkflow& w) { return !w.IsDownloading(); }); },
                                kTimeoutMs);
    }

    DisplaySettings display = kDefaultDisplay;
    MessageQueue queue;
    CVirtualCh375 usb;
    std::array<std::unique_ptr<VirtualSerialLogger>, 2> serial;
    std::array<LoggerHoldings, kLoggers> expected;
    std::array<RecordingView, kLoggers> views;
    StationLoop station{queue};
    std::array<LoggerConnection*, kLoggers> connections{};
};

TEST_F(FourLoggers, DownloadAtOnceWithEverySampleExact)
{
    DownloadAll();
    ASSERT_TRUE(RunUntilAllEnded());
    for (int i = 0; i < kLoggers; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Workflow(i).LastOutcome().result, CommandOutcome::Result::Done);
        EXPECT_EQ(views[i].LastStatus(), " Data download is complete.");
        ExpectEverySample(Record(i), expected[i]);
    }
}

// One logger is pulled out while all four download: its download fails, the
// other three complete with every sample.
class FourLoggersOnePulled : public FourLoggers, public ::testing::WithParamInterface<int> {
protected:
    void PullOut(int i)
    {
        if (i < 2)
            usb.Unplug(i, false);
        else
            serial[i - 2]->Vanish();
    }
};

TEST_P(FourLoggersOnePulled, FailsThatOneOnly)
{
    const int pulled = GetParam();
    DownloadAll();
    ASSERT_TRUE(station.RunUntil([&] { return Record(pulled).m_nReceived > 0; }, kTimeoutMs));
    ASSERT_TRUE(Workflow(pulled).IsDownloading());
    PullOut(pulled);
    ASSERT_TRUE(RunUntilAllEnded());

    EXPECT_EQ(Workflow(pulled).LastOutcome().result, CommandOutcome::Result::Failed);
    EXPECT_EQ(views[pulled].LastStatus(), "Fail to download data");
    EXPECT_LT(Record(pulled).m_nReceived, static_cast<int>(expected[pulled].temps.size()));
    for (int i = 0; i < kLoggers; ++i) {
        if (i == pulled)
            continue;
        SCOPED_TRACE(i);
        EXPECT_EQ(Workflow(i).LastOutcome().result, CommandOutcome::Result::Done);
        ExpectEverySample(Record(i), expected[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(UsbOrSerial, FourLoggersOnePulled, ::testing::Values(1, 3),
                         [](const auto& info) { return info.param < 2 ? std::string("Usb") : std::string("Serial"); });

} // namespace
