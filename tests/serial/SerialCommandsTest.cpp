#include "PtyEnd.h"
#include "SerialTestSupport.h"

#include "base/TextTable.h"
#include "link/LinkGlobals.h"
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
    std::function<int(CSerialLink&)> send;
    Bytes frame;
    int reply;    // m_nReply afterwards (-1: unchanged)
    bool announced; // WMU_SERIAL_SENT (0, 4) posted
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
        {"identify", 3, "UT3", [](CSerialLink& l) { return l.SerialIdentify(0); },
         {0xFF, 0xCF, 0xBF, 0x5F, 0x00, 0x00, 0x00}, 1, true},
        {"identify ST", 5, "I20", [](CSerialLink& l) { return l.SerialIdentify(1); },
         {0xFF, 0xCF, 0xBF, 0x5F, 0x53, 0x54, 0x00}, 1, true},
        {"block", 3, "UT3", [](CSerialLink& l) { return l.SerialRequestBlock(0x1234); },
         {0xFF, 0x5E, 0xBE, 0x6E, 0x34, 0x12, 0xFF}, 2, false},
        {"read description", 3, "UT3", [](CSerialLink& l) { return l.SerialReadDescription(); },
         {0xFF, 0xCA, 0x7A, 0xEA, 0xBA, 0x6A, 0x5A}, 4, true},
        {"settings", 3, "UT3", [&](CSerialLink& l) { return l.SerialWriteSettings(35, 3, settings.data()); },
         Cat({0xFF, 0xBB, 0x5B, 0x7B, 0xCB, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0}, Bytes(settings.begin() + 7, settings.end())),
         5, true},
        {"stop", 6, "DI2", [](CSerialLink& l) { return l.SerialStop(6); },
         Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x8D, 0x9D, 0x6D}, Bytes(10, 0)), 6, true},
        {"write description", 3, "UT3", [&](CSerialLink& l) { return l.SerialWriteDescription(50, text.data()); },
         Cat({0xFF, 0x5C, 0x7C, 0xEC, 0xBC, 0x6C, 0x7C}, text), 7, true},
        {"clock type 5", 5, "I20", [](CSerialLink& l) { return l.SerialSetClock(); },
         Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x00, 0x00, 0x00}, kClock), 8, true},
        {"clock type 2 D", 2, "D20", [](CSerialLink& l) { return l.SerialSetClock(); },
         Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x00, 0x00, 0x00}, kClock), 8, true},
        {"clock type 2 i", 2, "i20", [&](CSerialLink& l) { return l.SerialSetClock(); },
         Cat(Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x00, 0x00, 0x00}, zeros3), kClock), 8, true},
        {"clock type 3", 3, "UT3", [&](CSerialLink& l) { return l.SerialSetClock(); },
         Cat(Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x00, 0x00, 0x00}, zeros3), kClock), 8, true},
        {"clock type 4", 4, "UTH", [](CSerialLink& l) { return l.SerialSetClock(); }, {}, 8, true},
        {"clock type 6", 6, "DI2", [](CSerialLink& l) { return l.SerialSetClock(); }, {}, 8, true},
        {"status type 2", 2, "D20", [](CSerialLink& l) { return l.SerialReadStatus(); },
         Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x7D, 0xBD, 0x5D}, kClock), -1, false},
        {"status type 4", 4, "UTH", [&](CSerialLink& l) { return l.SerialReadStatus(); },
         Cat(Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x7D, 0xBD, 0x5D}, zeros3), kClock), -1, false},
        {"clock+interval type 6", 6, "DI2", [](CSerialLink& l) { return l.SerialSetClockAndInterval(0x0A); },
         Cat({0xFF, 0xBD, 0x5D, 0x7D, 0x00, 0x9D, 0x0A}, kClock), 8, true},
        {"clock+interval type 3", 3, "UT3", [](CSerialLink& l) { return l.SerialSetClockAndInterval(0x0A); }, {}, 8, true},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetLogger(c.type, c.id);
        m_link->m_nReply = 77;
        EXPECT_EQ(c.send(*m_link), static_cast<int>(c.frame.size()));
        EXPECT_EQ(m_pty.Read(c.frame.size(), c.frame.empty() ? 50 : 2000), c.frame);
        EXPECT_EQ(m_link->m_nReply, c.reply < 0 ? 77 : c.reply);
        const auto messages = TakeMessages();
        EXPECT_EQ(Count(messages, WMU_SERIAL_SENT), c.announced ? 1 : 0);
        EXPECT_EQ(Count(messages, WMU_SERIAL_LOST), 0);
    }
}

TEST_F(SerialCommands, ParametersAreKeptForResendingAndCappedAtTheFrameSize)
{
    Bytes payload(100, 0xAB);
    m_link->SerialWriteSettings(100, 4, payload.data());
    EXPECT_EQ(g_nKeptSettingsLen, 57);
    EXPECT_EQ(g_nKeptSettingsType, 4);
    EXPECT_EQ(g_byKeptSettings[56], 0xAB);
    EXPECT_EQ(m_pty.Read(64, 300).size(), 64u);

    const Bytes text = {'a', 'b', 'c'};
    m_link->SerialWriteDescription(3, text.data());
    EXPECT_EQ(g_nKeptDescLen, 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g_byKeptDesc), 3), "abc");
    m_link->SerialStop(6);
    EXPECT_EQ(g_nKeptStopType, 6);
    m_link->SerialIdentify(1);
    EXPECT_EQ(g_nKeptIdentFlag, 1);
}

TEST_F(SerialCommands, AVanishedPortIsReportedAndNothingIsWritten)
{
    g_bSerialConnected = true;
    m_pty.Close(); // the converter is gone
    EXPECT_EQ(m_link->SerialReadDescription(), -1);
    EXPECT_EQ(m_link->m_nReply, 4);
    EXPECT_EQ(m_link->m_nComPort, -m_pty.Port());
    EXPECT_FALSE(g_bSerialConnected);
    EXPECT_EQ(g_strLinkLostText, GetText(4));
    const auto messages = TakeMessages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].id, WMU_SERIAL_SENT); // announced before the check
    EXPECT_EQ(messages[1].id, WMU_SERIAL_LOST);
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
