// halvern-th-cli start and stop, run as a separate program against a virtual
// serial logger on a pseudo-terminal (served by this test, so what it holds
// can be looked at) and against the in-process virtual loggers.
#include "cli/CliRun.h"
#include "link/serial/PortTable.h"
#include "sim/serial/VirtualSerialLogger.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class CliMissionTest : public ::testing::Test {
protected:
    void Serve(int type, int samples = 40)
    {
        VirtualSerialConfig config = VirtualSerialConfig::Demo(type, samples);
        config.paced = false;
        logger = std::make_unique<VirtualSerialLogger>(config);
        ASSERT_TRUE(logger->Start());
    }
    CliRun Run(const QString& command, QStringList args)
    {
        return Cli(QStringList{command, QStringLiteral("--port"), logger->SlavePath()} + args);
    }

    std::unique_ptr<VirtualSerialLogger> logger;
};

TEST_F(CliMissionTest, StartsRecordsDownloadsAndStopsASerialLogger)
{
    Serve(4);
    const CliRun start = Run("start", {"--interval", "00:10", "--temp-limits", "-2", "8.2", "--humi-limits", "30",
                                       "70", "--unit", "C", "--description", "Cold chain 4", "--erase"});
    ASSERT_EQ(start.code, 0) << start.err.toStdString();
    EXPECT_TRUE(ErrorLines(start).isEmpty()) << start.err.toStdString();
    VirtualSerialConfig held = logger->Config();
    EXPECT_EQ(held.intervalMinutes, 10);
    EXPECT_FLOAT_EQ(held.lowLimit, -2.0f);
    EXPECT_FLOAT_EQ(held.highLimit, 8.2f);
    EXPECT_FLOAT_EQ(held.humiHighLimit, 70.0f);
    EXPECT_EQ(held.description, QStringLiteral("Cold chain 4"));
    EXPECT_EQ(held.runState, 1);

    logger->Advance(2 * 3600); // thirteen samples
    TempDir dir;
    const QString tavo = dir.path(QStringLiteral("new.tavo"));
    const CliRun download = Run("download", {"-o", tavo});
    ASSERT_EQ(download.code, 0) << download.err.toStdString();
    const CliRun info = Cli({"info", tavo, "--unit", "C"});
    EXPECT_TRUE(info.out.contains(QStringLiteral("Quantity of Data:\t13\n"))) << info.out.toStdString();
    EXPECT_TRUE(info.out.contains(QStringLiteral("Cold chain 4"))) << info.out.toStdString();
    EXPECT_TRUE(info.out.contains(QStringLiteral("8.20"))) << info.out.toStdString();

    const CliRun stop = Run("stop", {});
    ASSERT_EQ(stop.code, 0) << stop.err.toStdString();
    EXPECT_EQ(logger->Config().runState, 0);
}

TEST_F(CliMissionTest, RefusalsExitTwoBeforeAnythingIsSent)
{
    Serve(3);
    struct Case {
        QStringList args;
        const char* reason;
    } cases[] = {
        {{"--interval", "00:10"}, "40 samples"},
        {{"--interval", "00:10", "--erase", "--temp-limits", "8", "2", "--unit", "C"}, "Invalid alarm limits"},
        {{"--interval", "00:10", "--erase", "--temp-limits", "abc", "8"}, "lower temperature limit"},
        {{"--interval", "00:10", "--erase", "--temp-limits", "-2", "900"}, "upper temperature limit"},
        {{"--interval", "00:10", "--erase", "--humi-limits", "10", "90"}, "no humidity"},
        {{"--interval", "00:10", "--erase", "--description", "1234567890123456789012345"}, "25 characters"},
        {{"--interval", "00:00", "--erase"}, "--interval"},
        {{"--erase"}, "--interval"},
    };
    for (const Case& c : cases) {
        const CliRun run = Run("start", c.args);
        EXPECT_EQ(run.code, 2) << c.reason << ": " << run.err.toStdString();
        const QStringList lines = ErrorLines(run);
        ASSERT_EQ(lines.size(), 1) << run.err.toStdString();
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("halvern-th-cli start: "))) << lines[0].toStdString();
        EXPECT_TRUE(lines[0].contains(QString::fromLatin1(c.reason))) << lines[0].toStdString();
    }
    EXPECT_TRUE(logger->LastSettings().isEmpty());
    EXPECT_EQ(logger->Config().SampleCount(), 40);
}

TEST_F(CliMissionTest, ALoggerThatDoesNotAnswerTheSettingsFailsTheStart)
{
    Serve(3, 0);
    logger->IgnoreSettings(true);
    const CliRun run = Run("start", {"--interval", "00:20"});
    EXPECT_EQ(run.code, 1) << run.err.toStdString();
    const QStringList lines = ErrorLines(run);
    ASSERT_EQ(lines.size(), 1) << run.err.toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("did not answer"))) << lines[0].toStdString();
    EXPECT_EQ(logger->Config().intervalMinutes, 10); // the demo's: nothing taken
}

TEST_F(CliMissionTest, Type6TakesOnlyTheInterval)
{
    Serve(6);
    const CliRun refused = Run("start", {"--interval", "00:15", "--erase", "--temp-limits", "1", "2"});
    EXPECT_EQ(refused.code, 2) << refused.err.toStdString();
    const CliRun start = Run("start", {"--interval", "00:15", "--erase"});
    ASSERT_EQ(start.code, 0) << start.err.toStdString();
    EXPECT_EQ(logger->Config().intervalMinutes, 15);
    EXPECT_EQ(logger->Config().runState, 1);
}

TEST(CliMission, StartsAndStopsAVirtualUsbLogger)
{
    const CliRun start = Cli({"start", "--simulate", "usb:4", "--interval", "01:30", "--erase", "--temp-limits",
                              "35", "46.4", "--description", "Shelf B"});
    ASSERT_EQ(start.code, 0) << start.err.toStdString();
    EXPECT_TRUE(start.err.contains(QStringLiteral("started"))) << start.err.toStdString();
    const CliRun stop = Cli({"stop", "--simulate", "usb:1"});
    EXPECT_EQ(stop.code, 0) << stop.err.toStdString();
    const CliRun typeTwo = Cli({"start", "--simulate", "usb:2", "--interval", "00:10", "--erase"});
    EXPECT_EQ(typeTwo.code, 2) << typeTwo.err.toStdString();
    EXPECT_EQ(ErrorLines(typeTwo).size(), 1) << typeTwo.err.toStdString();
}

} // namespace
