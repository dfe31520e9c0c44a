#include "VirtualLoggerFixture.h"

#include "base/CodePage.h"

#include <cstdlib>
#include <ctime>

// Commands answered by the virtual logger at 9600 baud, through the real
// port, the receive routine and the parser.

namespace {

class SerialExchange : public VirtualLoggerFixture {
protected:
    void ConnectIdentified(int type)
    {
        VirtualSerialConfig config = VirtualSerialConfig::Demo(type, 20);
        config.batteryLevel = 5;
        config.batteryRaw = 700;
        Connect(config);
        m_link->SerialIdentify(0);
        ASSERT_TRUE(PumpUntil([&] { return m_link->m_nReply == 257; }));
        m_link->m_nReply = 0;
    }
    bool ReplyIs(int code) { return PumpUntil([&] { return m_link->m_nReply == code; }); }
};

TEST_F(SerialExchange, StatusRepliesOfEachLengthGiveBatteryAndClock)
{
    const struct {
        int type, battery;
    } cases[] = {{2, 0}, {3, 5}, {4, 5}, {5, 4}, {6, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        m_record->Reset();
        ConnectIdentified(c.type);
        m_link->m_nReply = 99;
        m_link->SerialReadStatus();
        ASSERT_TRUE(ReplyIs(0)); // a status reply clears whatever was pending
        EXPECT_EQ(m_record->m_nBattery, c.battery);
        EXPECT_LE(std::llabs(m_record->m_tLoggerClock - std::time(nullptr)), 2);
        m_link->m_ComPort.ClosePort();
    }
}

TEST_F(SerialExchange, ClockSetIsConfirmedForTheTypesThatHaveIt)
{
    for (int type : {2, 3, 5}) {
        SCOPED_TRACE(type);
        ConnectIdentified(type);
        m_link->SerialSetClock();
        EXPECT_TRUE(ReplyIs(264));
        m_link->m_ComPort.ClosePort();
    }
}

TEST_F(SerialExchange, AType6LoggerIsStartedWithClockAndInterval)
{
    ConnectIdentified(6);
    m_link->SerialSetClockAndInterval(15);
    ASSERT_TRUE(PumpUntil([&] { return Seen(WMU_LOGGER_CLOCK) > 0; }));
    EXPECT_EQ(m_link->m_nReply, 0);
    EXPECT_EQ(m_logger->Config().runState, 1);
    EXPECT_EQ(m_logger->Config().intervalMinutes, 15);
}

TEST_F(SerialExchange, DescriptionReadAndWriteAndSettingsWriteAndStop)
{
    ConnectIdentified(4);
    m_link->SerialReadDescription();
    ASSERT_TRUE(ReplyIs(260));
    EXPECT_EQ(m_record->m_strDescription, QStringLiteral("Virtual serial logger"));

    QByteArray text = ToOem(QString::fromUtf8("Cold room \xe5\x8c\x97"));
    text.resize(50, '\0');
    m_link->SerialWriteDescription(50, reinterpret_cast<const std::uint8_t*>(text.constData()));
    ASSERT_TRUE(ReplyIs(263));
    EXPECT_EQ(m_record->m_strDescription, QString::fromUtf8("Cold room \xe5\x8c\x97"));

    std::uint8_t block[35] = {};
    block[25] = 30; // interval in minutes at frame bytes 32..33
    block[27] = 0xD0; // upper limit 20.00 at frame bytes 34..35
    block[28] = 0x07;
    m_link->SerialWriteSettings(35, 4, block);
    ASSERT_TRUE(ReplyIs(261));
    EXPECT_EQ(m_logger->Config().intervalMinutes, 30);
    EXPECT_FLOAT_EQ(m_logger->Config().highLimit, 20.0f);

    m_link->SerialStop(4);
    ASSERT_TRUE(ReplyIs(262));
    EXPECT_EQ(m_logger->Config().runState, 0);
}

} // namespace
