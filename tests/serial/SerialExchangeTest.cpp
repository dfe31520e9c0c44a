#include "VirtualLoggerFixture.h"

#include "base/CodePage.h"

// Commands answered by the virtual logger at 9600 baud, through the real
// port, the receive routine and the parser.

namespace {

class SerialExchange : public VirtualLoggerFixture {
protected:
    void ConnectIdentified(int type)
    {
        Connect(VirtualSerialConfig::Demo(type, 20));
        m_link->SerialIdentify(0);
        ASSERT_TRUE(ReplyIs(SERIAL_IDENTIFY | SERIAL_REPLY_ARRIVED));
        m_link->m_nReply = 0;
    }
    bool ReplyIs(int code) { return PumpUntil([&] { return m_link->m_nReply == code; }); }
};

TEST_F(SerialExchange, ClockSetIsConfirmedForTheTypesThatHaveIt)
{
    for (int type : {2, 3, 5}) {
        SCOPED_TRACE(type);
        ConnectIdentified(type);
        m_link->SerialSetClock();
        EXPECT_TRUE(ReplyIs(SERIAL_SET_CLOCK | SERIAL_REPLY_ARRIVED));
        m_link->m_ComPort.ClosePort();
    }
}

TEST_F(SerialExchange, AType6LoggerIsStartedWithClockAndInterval)
{
    ConnectIdentified(6);
    m_link->SerialSetClockAndInterval(15);
    ASSERT_TRUE(PumpUntil([&] { return m_events.clocks > 0; }));
    EXPECT_EQ(m_link->m_nReply, 0);
    EXPECT_EQ(m_logger->Config().runState, 1);
    EXPECT_EQ(m_logger->Config().intervalMinutes, 15);
}

TEST_F(SerialExchange, DescriptionReadAndWriteAndSettingsWriteAndStop)
{
    ConnectIdentified(4);
    m_link->SerialReadDescription();
    ASSERT_TRUE(ReplyIs(SERIAL_READ_DESC | SERIAL_REPLY_ARRIVED));
    EXPECT_EQ(m_record->m_strDescription, QStringLiteral("Virtual serial logger"));

    QByteArray text = ToOem(QString::fromUtf8("Cold room \xe5\x8c\x97"));
    text.resize(50, '\0');
    m_link->SerialWriteDescription(50, reinterpret_cast<const std::uint8_t*>(text.constData()));
    ASSERT_TRUE(ReplyIs(SERIAL_WRITE_DESC | SERIAL_REPLY_ARRIVED));
    EXPECT_EQ(m_record->m_strDescription, QString::fromUtf8("Cold room \xe5\x8c\x97"));

    std::uint8_t block[35] = {};
    block[25] = 30; // interval in minutes at frame bytes 32..33
    block[27] = 0xD0; // upper limit 20.00 at frame bytes 34..35
    block[28] = 0x07;
    m_link->SerialWriteSettings(35, block);
    ASSERT_TRUE(ReplyIs(SERIAL_WRITE_SETTINGS | SERIAL_REPLY_ARRIVED));
    EXPECT_EQ(m_logger->Config().intervalMinutes, 30);
    EXPECT_FLOAT_EQ(m_logger->Config().highLimit, 20.0f);

    m_link->SerialStop();
    ASSERT_TRUE(ReplyIs(SERIAL_STOP | SERIAL_REPLY_ARRIVED));
    EXPECT_EQ(m_logger->Config().runState, 0);
}

} // namespace
