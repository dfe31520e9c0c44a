// Start and Stop through the workflow, end to end against the virtual
// loggers of both links: the settings go out, the logger records as its
// clock moves on, a download finds the settings and the samples, Stop ends
// it; and what each of them tells the audit trail.
#include "WorkflowHarness.h"

#include "base/TextTable.h"
#include "record/LoggerRecord.h"
#include "record/Units.h"
#include "sim/serial/VirtualSerialLogger.h"
#include "sim/usb/DemoUsbLogger.h"
#include "sim/usb/VirtualCh375.h"

#include <QJsonDocument>
#include <gtest/gtest.h>
#include <ctime>
#include <memory>

namespace {

using Result = CommandOutcome::Result;

time64 Now() { return static_cast<time64>(std::time(nullptr)); }

MissionSettings Settings(const QString& id, int intervalMinutes)
{
    MissionSettings s;
    s.id = id;
    s.now = Now();
    s.start = s.now - 600; // in the past: at once
    s.intervalMinutes = intervalMinutes;
    s.highTemp = 800;
    s.lowTemp = 200;
    s.humiHigh = 7000;
    s.humiLow = 3000;
    return s;
}

// The audit entries a workflow hands on, as "action logger detail" with the
// detail as compact JSON.
struct RecordingSink : IAuditSink {
    void Record(const AuditEvent& event) override
    {
        entries << event.action + ' ' + event.logger + ' '
                       + QString::fromUtf8(QJsonDocument(event.detail).toJson(QJsonDocument::Compact));
    }
    QStringList entries;
};

class MissionWorkflowTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        h.workflow.Shutdown();
        serial.reset();
        SetCh375Library(nullptr);
    }

    std::shared_ptr<CVirtualUsbLogger> LinkUsb(int type)
    {
        SetCh375Library(&usb);
        auto logger = MakeDemoUsbLogger(type, Now());
        usb.Plug(0, logger, false);
        h.workflow.Startup();
        h.Pump();
        return logger;
    }
    void LinkSerial(int type)
    {
        VirtualSerialConfig config = VirtualSerialConfig::Demo(type, 40);
        config.paced = false;
        serial = std::make_unique<VirtualSerialLogger>(config);
        ASSERT_TRUE(serial->Start());
        h.workflow.Startup();
        ASSERT_TRUE(h.PumpUntil([this] { return h.workflow.SerialLinked(); }));
        ASSERT_TRUE(h.PumpUntil([this] { return h.serial.m_nReply == 0 && h.view.shown > 0; }));
        h.PumpQuiet(100);
    }
    bool UsbDownload()
    {
        h.workflow.Download();
        for (int ticks = 0; ticks < 10000 && h.Tick(TIMER_USB_DOWNLOAD); ++ticks) {
        }
        return h.workflow.LastOutcome().result == Result::Done;
    }
    bool SerialDownload()
    {
        h.workflow.Download();
        for (int ticks = 0; h.workflow.IsDownloading() && ticks < 200; ++ticks) {
            h.PumpQuiet(30);
            if (!h.Tick(TIMER_SERIAL_DOWNLOAD))
                break;
        }
        return h.workflow.LastOutcome().result == Result::Done;
    }
    // Waits for the serial logger's answer; the retry timer resends as the window's would.
    Result AwaitSerialOutcome()
    {
        const CommandOutcome& outcome = h.workflow.LastOutcome();
        h.PumpUntil([&] { return outcome.result != Result::Pending; }, 5000);
        for (int tick = 0; outcome.result == Result::Pending && tick < 6; ++tick) {
            h.Tick(TIMER_SERIAL_RETRY);
            h.PumpUntil([&] { return outcome.result != Result::Pending; }, 2000);
        }
        return outcome.result;
    }

    WorkflowHarness h;
    CVirtualCh375 usb;
    std::unique_ptr<VirtualSerialLogger> serial;
};

TEST_F(MissionWorkflowTest, UsbLoggerTakesTheSettingsRecordsAndStops)
{
    auto logger = LinkUsb(4);
    const CLoggerRecord& r = h.record;
    ASSERT_TRUE(h.workflow.MayConfigure());
    EXPECT_EQ(h.workflow.UndownloadedSamples(), r.m_nCount);
    ASSERT_GT(r.m_nCount, 0);

    const StartReport report = h.workflow.StartMission(Settings(r.m_strValue[ROW_ID], 10), QStringLiteral("Vaccine box 7"));
    EXPECT_TRUE(report.sent);
    EXPECT_TRUE(report.settingsTaken);
    EXPECT_FALSE(report.descriptionMismatch);
    EXPECT_EQ(h.workflow.LastOutcome().command, CommandOutcome::Command::Start);
    EXPECT_EQ(h.workflow.LastOutcome().result, Result::Done) << h.workflow.LastOutcome().reason.toStdString();
    EXPECT_EQ(r.m_nRunState, 1);
    EXPECT_EQ(h.workflow.UndownloadedSamples(), 0);

    logger->Advance(3600); // an hour at ten minutes: seven samples
    ASSERT_TRUE(UsbDownload());
    EXPECT_EQ(r.m_nCount, 7);
    EXPECT_EQ(r.m_tsInterval, 600);
    EXPECT_FLOAT_EQ(r.m_fHighLimit, 8.0f);
    EXPECT_FLOAT_EQ(r.m_fLowLimit, 2.0f);
    EXPECT_FLOAT_EQ(r.m_fHumiHighLimit, 70.0f);
    EXPECT_FLOAT_EQ(r.m_fHumiLowLimit, 30.0f);
    EXPECT_EQ(r.m_strValue[ROW_DESCRIPTION], QStringLiteral("Vaccine box 7"));
    for (int i = 0; i < r.m_nCount; ++i) {
        EXPECT_GT(r.m_fTemp[i], 0.0f) << i;
        EXPECT_LT(r.m_fTemp[i], 20.0f) << i;
        EXPECT_GT(r.m_fHumi[i], 20.0f) << i;
    }

    ASSERT_TRUE(h.workflow.StopMission());
    EXPECT_EQ(h.workflow.LastOutcome().result, Result::Done) << h.workflow.LastOutcome().reason.toStdString();
    EXPECT_EQ(logger->m_nRunState, 0);
    EXPECT_EQ(r.m_nRunState, 0);
}

TEST_F(MissionWorkflowTest, UsbDescriptionThatDoesNotReadBackFailsTheStart)
{
    auto logger = LinkUsb(3);
    logger->m_bKeepsDescription = false;
    const StartReport report = h.workflow.StartMission(Settings(h.record.m_strValue[ROW_ID], 5), QStringLiteral("Other text"));
    EXPECT_TRUE(report.settingsTaken);
    EXPECT_TRUE(report.descriptionMismatch);
    EXPECT_EQ(h.workflow.LastOutcome().result, Result::Failed);
    EXPECT_EQ(h.workflow.LastOutcome().reason, GetText(102, 0));
}

TEST_F(MissionWorkflowTest, NothingIsSentToALoggerThatIsNotConfigurable)
{
    auto logger = LinkUsb(2);
    EXPECT_FALSE(h.workflow.MayConfigure());
    EXPECT_FALSE(h.workflow.StartMission(Settings(h.record.m_strValue[ROW_ID], 5), std::nullopt).sent);
    EXPECT_FALSE(h.workflow.StopMission());
    EXPECT_TRUE(logger->m_lastSettings.isEmpty());
}

TEST_F(MissionWorkflowTest, ACompletedDownloadEnablesStartSettingAgain)
{
    LinkUsb(4);
    // Opening a file while the logger stays plugged in clears the flag.
    h.workflow.m_bMayConfigure = 0;
    h.view.commands[WorkflowCommand::StartSetting] = false;
    ASSERT_TRUE(UsbDownload());
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::StartSetting));
    EXPECT_TRUE(h.workflow.MayConfigure());
    EXPECT_EQ(h.workflow.UndownloadedSamples(), 0);
}

TEST_F(MissionWorkflowTest, SerialLoggerTakesSettingsAndDescriptionRecordsAndStops)
{
    LinkSerial(4);
    const CLoggerRecord& r = h.record;
    ASSERT_TRUE(h.workflow.MayConfigure());
    EXPECT_EQ(h.workflow.UndownloadedSamples(), 40);
    ASSERT_TRUE(h.workflow.StartMission(Settings(r.m_strValue[ROW_ID], 10), QStringLiteral("Truck 12")).sent);
    EXPECT_EQ(h.workflow.LastOutcome().result, Result::Pending);
    ASSERT_EQ(AwaitSerialOutcome(), Result::Done) << h.workflow.LastOutcome().reason.toStdString();
    const VirtualSerialConfig held = serial->Config();
    EXPECT_EQ(held.intervalMinutes, 10);
    EXPECT_FLOAT_EQ(held.highLimit, 8.0f);
    EXPECT_FLOAT_EQ(held.humiLowLimit, 30.0f);
    EXPECT_EQ(held.description, QStringLiteral("Truck 12"));
    EXPECT_EQ(held.runState, 1);

    serial->Advance(3600);
    h.PumpQuiet(100);
    ASSERT_TRUE(SerialDownload());
    EXPECT_EQ(r.m_nCount, 7);
    EXPECT_EQ(r.m_nReceived, 7);
    EXPECT_FLOAT_EQ(r.m_fHighLimit, 8.0f);
    EXPECT_FLOAT_EQ(r.m_fHumiHighLimit, 70.0f);
    EXPECT_EQ(r.m_strValue[ROW_DESCRIPTION], QStringLiteral("Truck 12"));
    EXPECT_TRUE(h.view.Enabled(WorkflowCommand::StartSetting));
    h.PumpQuiet(100);

    ASSERT_TRUE(h.workflow.StopMission());
    ASSERT_EQ(AwaitSerialOutcome(), Result::Done) << h.workflow.LastOutcome().reason.toStdString();
    EXPECT_EQ(serial->Config().runState, 0);
}

TEST_F(MissionWorkflowTest, Type6SerialLoggerStartsWithTheIntervalInItsClockSet)
{
    LinkSerial(6);
    h.timers.KillTimer(TIMER_SERIAL_STATUS);
    ASSERT_TRUE(h.workflow.StartMission(Settings(h.record.m_strValue[ROW_ID], 15), std::nullopt).sent);
    ASSERT_EQ(AwaitSerialOutcome(), Result::Done) << h.workflow.LastOutcome().reason.toStdString();
    EXPECT_TRUE(h.timers.Running(TIMER_SERIAL_STATUS)); // the new run state is polled
    EXPECT_EQ(serial->Config().intervalMinutes, 15);
    EXPECT_EQ(serial->Config().runState, 1);
    serial->Advance(3600);
    EXPECT_EQ(serial->Config().SampleCount(), 5);
    h.PumpQuiet(100);

    ASSERT_TRUE(h.workflow.StopMission());
    ASSERT_EQ(AwaitSerialOutcome(), Result::Done) << h.workflow.LastOutcome().reason.toStdString();
    EXPECT_EQ(serial->Config().runState, 0);
}

TEST_F(MissionWorkflowTest, StartsDownloadsAndStopsAreRecordedWithWhatWasSentAndHowItEnded)
{
    auto logger = LinkUsb(4);
    RecordingSink sink;
    h.workflow.SetAuditSink(&sink);
    const QString id = h.record.m_strValue[ROW_ID].trimmed();
    const int held = h.workflow.UndownloadedSamples();
    const MissionSettings settings = Settings(h.record.m_strValue[ROW_ID], 10);
    ASSERT_TRUE(h.workflow.StartMission(settings, QStringLiteral("Vaccine box 7")).sent);
    logger->Advance(3600);
    ASSERT_TRUE(UsbDownload());
    ASSERT_TRUE(h.workflow.StopMission());
    // A description the logger does not keep fails the start, after the settings went out.
    logger->m_bKeepsDescription = false;
    ASSERT_TRUE(h.workflow.StartMission(settings, QStringLiteral("Other text")).sent);
    ASSERT_EQ(h.workflow.LastOutcome().result, Result::Failed);
    const QString start = AuditTime(settings.now); // a start in the past is now
    const QStringList expected = {
        QStringLiteral("start %1 {\"description\":\"Vaccine box 7\",\"erased_samples\":%2,\"humi_high\":70,"
                       "\"humi_low\":30,\"interval_s\":600,\"result\":\"done\",\"start\":\"%3\","
                       "\"temp_high\":8,\"temp_low\":2}")
            .arg(id)
            .arg(held)
            .arg(start),
        QStringLiteral("download %1 {\"samples\":7,\"start\":\"%2\",\"type\":4}").arg(id, AuditTime(h.record.m_tStart)),
        QStringLiteral("stop %1 {\"result\":\"done\"}").arg(id),
        QStringLiteral("start %1 {\"description\":\"Other text\",\"erased_samples\":0,\"humi_high\":70,"
                       "\"humi_low\":30,\"interval_s\":600,\"reason\":\"%2\",\"result\":\"failed\",\"start\":\"%3\","
                       "\"temp_high\":8,\"temp_low\":2}")
            .arg(id, GetText(102, 0).trimmed(), start),
    };
    EXPECT_EQ(sink.entries, expected);
    EXPECT_GT(held, 0);
}

TEST_F(MissionWorkflowTest, ASerialStartIsRecordedWhenTheLoggerHasAnsweredIt)
{
    LinkSerial(4);
    RecordingSink sink;
    h.workflow.SetAuditSink(&sink);
    ASSERT_TRUE(h.workflow.StartMission(Settings(h.record.m_strValue[ROW_ID], 10), QStringLiteral("Truck 12")).sent);
    EXPECT_TRUE(sink.entries.isEmpty());
    ASSERT_EQ(AwaitSerialOutcome(), Result::Done) << h.workflow.LastOutcome().reason.toStdString();
    ASSERT_EQ(sink.entries.size(), 1);
    EXPECT_TRUE(sink.entries[0].startsWith(QStringLiteral("start %1 {").arg(h.record.m_strValue[ROW_ID].trimmed())));
    EXPECT_TRUE(sink.entries[0].contains(QStringLiteral("\"erased_samples\":40,"))) << sink.entries[0].toStdString();
    EXPECT_TRUE(sink.entries[0].contains(QStringLiteral("\"result\":\"done\""))) << sink.entries[0].toStdString();
}

TEST_F(MissionWorkflowTest, AClockSetIsRecordedWithTheClockItReplaced)
{
    LinkSerial(5);
    h.Tick(TIMER_SERIAL_STATUS); // the status poll reads the logger's clock
    ASSERT_TRUE(h.PumpUntil([this] { return h.record.m_tLoggerClock != 0; }));
    RecordingSink sink;
    h.workflow.SetAuditSink(&sink);
    const time64 old = h.record.m_tLoggerClock;
    const time64 before = Now();
    h.workflow.CalibrateTime();
    ASSERT_EQ(AwaitSerialOutcome(), Result::Done) << h.workflow.LastOutcome().reason.toStdString();
    ASSERT_EQ(sink.entries.size(), 1);
    const QString entry = sink.entries[0];
    EXPECT_TRUE(entry.startsWith(QStringLiteral("set-clock %1 {\"new\":\"").arg(h.record.m_strValue[ROW_ID].trimmed())))
        << entry.toStdString();
    EXPECT_TRUE(entry.contains(QStringLiteral("\"old\":\"%1\"").arg(AuditTime(old)))) << entry.toStdString();
    const bool newIsNow = entry.contains(AuditTime(before)) || entry.contains(AuditTime(before + 1));
    EXPECT_TRUE(newIsNow) << entry.toStdString();
}

} // namespace
