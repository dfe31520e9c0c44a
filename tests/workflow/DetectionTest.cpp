#include "WorkflowHarness.h"

#include "base/TextTable.h"
#include "record/Units.h"
#include "record/LoggerRecord.h"
#include "sim/serial/VirtualSerialLogger.h"
#include "sim/usb/DemoUsbLogger.h"
#include "sim/usb/VirtualCh375.h"

#include <gtest/gtest.h>
#include <ctime>
#include <memory>

namespace {

std::unique_ptr<VirtualSerialLogger> StartSerialLogger(int type)
{
    VirtualSerialConfig config = VirtualSerialConfig::Demo(type, 20);
    config.paced = false;
    auto logger = std::make_unique<VirtualSerialLogger>(config);
    EXPECT_TRUE(logger->Start());
    return logger;
}

class DetectionTest : public ::testing::Test {
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
    // The serial logger has answered its identification.
    bool SerialAnswered() const { return h.workflow.LoggerLinked() && !h.workflow.UsbLinked(); }
    void PlugUsb(bool notify)
    {
        usb.Plug(0, MakeDemoUsbLogger(4, static_cast<time64>(std::time(nullptr))), notify);
    }

    CVirtualCh375 usb;
    WorkflowHarness h;
};

TEST_F(DetectionTest, AUsbLoggerWinsOverACh341PortAtStartUp)
{
    auto serial = StartSerialLogger(3);
    PlugUsb(false);
    h.workflow.Startup();
    h.PumpQuiet(200);
    EXPECT_TRUE(h.workflow.UsbLinked());
    EXPECT_EQ(h.workflow.State(), LinkState::Ready);
    EXPECT_FALSE(h.workflow.SerialLinked());
    EXPECT_EQ(h.serial.m_nComPort, 0);
    EXPECT_EQ(h.record.m_nType, 4);
    EXPECT_FALSE(h.view.statuses.contains("Linking..."));
    EXPECT_EQ(serial->CommandsReceived(), 0);
}

TEST_F(DetectionTest, TheHigherOfTwoCh341PortsIsLinked)
{
    auto first = StartSerialLogger(3);
    auto second = StartSerialLogger(2);
    const int higher = std::max(first->Port(), second->Port());
    h.workflow.Startup();
    ASSERT_TRUE(h.PumpUntil([this] { return SerialAnswered(); }));
    EXPECT_EQ(h.serial.m_nComPort, higher);
    EXPECT_EQ(h.record.m_nType, higher == first->Port() ? 3 : 2);
}

TEST_F(DetectionTest, AUsbArrivalEndsASerialConnection)
{
    auto serial = StartSerialLogger(3);
    h.workflow.Startup();
    ASSERT_TRUE(h.PumpUntil([this] { return h.workflow.State() == LinkState::Ready; }));
    h.PumpQuiet(100);

    PlugUsb(true);
    h.PumpQuiet(100);
    EXPECT_FALSE(h.workflow.SerialLinked());
    EXPECT_FALSE(h.serial.m_ComPort.IsOpen());
    EXPECT_TRUE(h.workflow.UsbLinked());
    EXPECT_EQ(h.workflow.State(), LinkState::Ready);
    EXPECT_EQ(h.record.m_nType, 4);
    EXPECT_TRUE(h.view.clockText.isEmpty()) << qPrintable(h.view.clockText);
}

TEST_F(DetectionTest, ACh341ArrivalEndsAUsbConnection)
{
    PlugUsb(false);
    h.workflow.Startup();
    h.Pump();
    ASSERT_TRUE(h.workflow.UsbLinked());

    auto serial = StartSerialLogger(2);
    serial->Announce();
    ASSERT_TRUE(h.PumpUntil([this] { return SerialAnswered(); }));
    EXPECT_FALSE(h.workflow.UsbLinked());
    EXPECT_FALSE(usb.IsOpen(0));
    EXPECT_EQ(h.serial.m_nComPort, serial->Port());
    EXPECT_EQ(h.record.m_nType, 2);
}

TEST_F(DetectionTest, ACh341RemovalShowsTheDisconnectText)
{
    auto serial = StartSerialLogger(3);
    h.workflow.Startup();
    ASSERT_TRUE(h.PumpUntil([this] { return SerialAnswered(); }));
    const int port = serial->Port();
    serial->Vanish();
    ASSERT_TRUE(h.PumpUntil([this] { return h.serial.m_nComPort == 0; }));
    EXPECT_EQ(h.workflow.State(), LinkState::NoLogger);
    EXPECT_TRUE(h.view.statuses.contains(" Instrument disconnected."));
    EXPECT_EQ(h.record.m_nBattery, 0);
    EXPECT_GT(port, 0);
}

} // namespace
