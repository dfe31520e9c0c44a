#include "PtyEnd.h"
#include "SerialTestSupport.h"

#include "record/TimeText.h"

#include <functional>
#include <string>

namespace {

// 2024-03-05 14:07:09 in the test's zone (UTC).
const Bytes kClock = {0x09, 0x07, 0x0E, 0x05, 0x03, 0x18, 0x14};

Bytes Cat(Bytes head, const Bytes& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

class SerialCommands : public SerialLinkFixture {
protected:
    void SetUp() override
    {
        SerialLinkFixture::SetUp();
        ASSERT_GT(m_pty.Port(), 0);
        ASSERT_TRUE(m_link->m_ComPort.OpenPort(m_pty.Port()));
        m_link->m_nComPort = m_pty.Port();
        m_link->m_fnNow = [] { return MakeLocalTime(2024, 3, 5, 14, 7, 9); };
    }
    void TearDown() override
    {
        m_link->m_ComPort.ClosePort();
        SerialLinkFixture::TearDown();
    }
    void SetLogger(int type, const char* id)
    {
        m_record->m_nType = type;
        m_record->m_strValue[ROW_ID] = QString::fromLatin1(id);
    }

    PtyEnd m_pty;
};

struct CommandCase {
    const char* name;
    int type;
    const char* id;
    std::function<int(SerialDriver&)> send;
    Bytes frame;
    int reply;    // m_nReply afterwards (-1: unchanged)
    bool announced; // reported as sent, with a budget of 4 retries
};

TEST_F(SerialCommands, EveryCommandWritesItsFrameAndSetsItsReplyCode)
{
    Bytes settings(35);
    for (int i = 0; i < 35; ++i)
        settings[i] = static_cast<std::uint8_t>(i + 1);
    Bytes text(50, 0);
    text[0] = 'H';
    text[1] = 'i';
    const Bytes zeros3(3, 0);
    const CommandCase cases[] = {
        {"identify", 3, "UT3", [](SerialDriver& l) { return l.SerialIdentify(0); },
         {0xFF, 0xCF, 0xBF, 0x5F, 0x00, 0x00, 0x00}, SERIAL_IDENTIFY, true},
        {"identify ST", 5, "I20", [](SerialDriver& l) { return l.SerialIdentify(1); },
         {0xFF, 0xCF, 0xBF, 0x5F, 0x53, 0x54, 0x00}, SERIAL_IDENTIFY, true},
        {"block", 3, "UT3", [](SerialDriver& l) { return l.SerialRequestBlock(0x1234); },
         {0xFF, 0x5E, 0xBE, 0x6E, 0x34, 0x12, 0xFF}, SERIAL_BLOCK, false},
        {"read description", 3, "UT3", [](SerialDriver& l) { return l.SerialReadDescription(); },
         {0xFF, 0xCA, 0x7A, 0xEA, 0xBA, 0x6A, 0x5A}, SERIAL_READ_DESC, true},
        {"settings", 3, "UT3", [&](SerialDriver& l) { return l.SerialWriteSettings(35, settings.data()); },
         Cat({0xFF, 0xBB, 0x5B, 0x7B, 0xCB, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0}, Bytes(settings.begin() + 7, settings.end())),
         SERIAL_WRITE_SETTINGS, true},
        {"stop", 6, "DI2", [](SerialDriver& l) { return l.SerialStop(); },
         Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x8D, 0x9D, 0x6D}, Bytes(10, 0)), SERIAL_STOP, true},
        {"write description", 3, "UT3", [&](SerialDriver& l) { return l.SerialWriteDescription(50, text.data()); },
         Cat({0xFF, 0x5C, 0x7C, 0xEC, 0xBC, 0x6C, 0x7C}, text), SERIAL_WRITE_DESC, true},
        {"clock type 5", 5, "I20", [](SerialDriver& l) { return l.SerialSetClock(); },
         Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x00, 0x00, 0x00}, kClock), SERIAL_SET_CLOCK, true},
        {"clock type 2 D", 2, "D20", [](SerialDriver& l) { return l.SerialSetClock(); },
         Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x00, 0x00, 0x00}, kClock), SERIAL_SET_CLOCK, true},
        {"clock type 2 i", 2, "i20", [&](SerialDriver& l) { return l.SerialSetClock(); },
         Cat(Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x00, 0x00, 0x00}, zeros3), kClock), SERIAL_SET_CLOCK, true},
        {"clock type 3", 3, "UT3", [&](SerialDriver& l) { return l.SerialSetClock(); },
         Cat(Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x00, 0x00, 0x00}, zeros3), kClock), SERIAL_SET_CLOCK, true},
        {"clock type 4", 4, "UTH", [](SerialDriver& l) { return l.SerialSetClock(); }, {}, SERIAL_SET_CLOCK, true},
        {"clock type 6", 6, "DI2", [](SerialDriver& l) { return l.SerialSetClock(); }, {}, SERIAL_SET_CLOCK, true},
        {"status type 2", 2, "D20", [](SerialDriver& l) { return l.SerialReadStatus(); },
         Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x7D, 0xBD, 0x5D}, kClock), -1, false},
        {"status type 4", 4, "UTH", [&](SerialDriver& l) { return l.SerialReadStatus(); },
         Cat(Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x7D, 0xBD, 0x5D}, zeros3), kClock), -1, false},
        {"clock+interval type 6", 6, "DI2", [](SerialDriver& l) { return l.SerialSetClockAndInterval(0x0A); },
         Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x00, 0x9D, 0x0A}, kClock), SERIAL_SET_CLOCK, true},
        {"clock+interval type 3", 3, "UT3", [](SerialDriver& l) { return l.SerialSetClockAndInterval(0x0A); }, {}, SERIAL_SET_CLOCK, true},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetLogger(c.type, c.id);
        m_link->m_nReply = 77;
        m_events = {};
        EXPECT_EQ(c.send(*m_link), static_cast<int>(c.frame.size()));
        EXPECT_EQ(m_pty.Read(c.frame.size(), c.frame.empty() ? 50 : 2000), c.frame);
        EXPECT_EQ(m_link->m_nReply, c.reply < 0 ? 77 : c.reply);
        EXPECT_EQ(m_events.sent, c.announced ? std::vector<int> {4} : std::vector<int> {});
        EXPECT_EQ(m_events.lost, 0);
    }
}

TEST_F(SerialCommands, TheLastCommandIsResentAsItWasWithoutBeingReportedAgain)
{
    Bytes payload(100, 0xAB);
    const Bytes text = {'a', 'b', 'c'};
    const std::function<void()> sends[] = {
        [&] { m_link->SerialWriteSettings(100, payload.data()); }, // capped at the frame size
        [&] { m_link->SerialWriteDescription(3, text.data()); },
        [&] { m_link->SerialIdentify(1); },
        [&] { m_link->SerialStop(); },
    };
    for (const auto& send : sends) {
        send();
        const Bytes first = m_pty.Read(64, 150);
        ASSERT_FALSE(first.empty());
        m_link->SerialReadStatus(); // no answer awaited: not a command to resend
        m_pty.Read(64, 150);
        const int code = m_link->m_nReply;
        m_events = {};
        EXPECT_EQ(m_link->ResendLastCommand(), static_cast<int>(first.size()));
        EXPECT_EQ(m_pty.Read(64, 150), first);
        EXPECT_EQ(m_link->m_nReply, code);
        EXPECT_TRUE(m_events.sent.empty());
    }
}

TEST_F(SerialCommands, AVanishedPortIsReportedAndNothingIsWritten)
{
    m_pty.Close(); // the converter is gone
    EXPECT_EQ(m_link->SerialReadDescription(), -1);
    EXPECT_EQ(m_link->m_nReply, SERIAL_READ_DESC);
    EXPECT_EQ(m_link->m_nComPort, -m_pty.Port());
    EXPECT_EQ(m_events.sent.size(), 1u); // reported before the check
    EXPECT_EQ(m_events.lost, 1);
    EXPECT_EQ(m_link->SerialReadStatus(), -1);
    EXPECT_EQ(m_link->m_nComPort, -m_pty.Port()); // a second check keeps the number negative
}

TEST_F(SerialCommands, APortHeldByNobodyFailsTheCheck)
{
    m_link->m_ComPort.ClosePort();
    EXPECT_FALSE(m_link->CheckPort());
    EXPECT_EQ(m_link->m_nComPort, -m_pty.Port());
    EXPECT_FALSE(m_link->CheckPort()); // stays lost
    EXPECT_EQ(m_link->m_nComPort, -m_pty.Port());
}

} // namespace
