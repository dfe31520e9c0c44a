#include "SerialTestSupport.h"

#include "record/TimeText.h"

namespace {

constexpr std::initializer_list<int> kMarkClockSet = {0x00, 0x00, 0x00};
constexpr std::initializer_list<int> kMarkStatus = {0x7D, 0xBD, 0x5D};
constexpr std::initializer_list<int> kMarkStop = {0x8D, 0x9D, 0x6D};
constexpr std::initializer_list<int> kMarkClockInterval = {0x00, 0x9D, 0x0A};

ReplyBuilder Status(std::initializer_list<int> mark, int length)
{
    ReplyBuilder b({0xFF, 0xBD, 0x5D, 0x7D, 0, 0, 0}, length);
    b.Set(4, mark);
    return b;
}

// Frames of 8 data bytes (status byte 8, clock 9..15), 11 (clock 10..16, run
// state 17, battery 18) and 10 (run state 8, clock 9..15, voltage 16..17,
// checksum B). The clock is 2024-06-03 11:59:<second>, or invalid (61).
Bytes S8(std::initializer_list<int> mark, int second, int status = 0x21)
{
    return Status(mark, 8).Set(8, {status}).Clock(9, 2024, 6, 3, 11, 59, second).Done();
}
Bytes S11(std::initializer_list<int> mark, int second, int run = 1, int battery = 6)
{
    return Status(mark, 11).Clock(10, 2024, 6, 3, 11, 59, second).Set(17, {run, battery}).Done();
}
Bytes S10(std::initializer_list<int> mark, int second, int raw = 734, int run = 2, char checksum = 'B')
{
    return Status(mark, 10).Set(8, {run}).Clock(9, 2024, 6, 3, 11, 59, second).U16(16, raw).Done(checksum);
}

time64 At(int second) { return MakeLocalTime(2024, 6, 3, 11, 59, second); }

struct StatusCase {
    const char* name;
    Bytes frame;
    int replyBefore, replyAfter;
    time64 loggerClock; // 0: not set
    int battery, runState, loggerFlag;
    bool clockRowFlag;
};

class SerialStatus : public SerialLinkFixture {
protected:
    void SetUp() override
    {
        SerialLinkFixture::SetUp();
        m_link->m_fnNow = [] { return MakeLocalTime(2024, 6, 3, 12, 0, 0); };
    }
};

TEST_F(SerialStatus, EachLengthAndMarkUpdatesTheRecordAndTheReplyCode)
{
    const time64 y1980 = MakeLocalTime(1980, 1, 1, 0, 0, 0);
    const time64 y2001 = MakeLocalTime(2001, 1, 1, 0, 0, 0);
    const StatusCase cases[] = {
        {"8: clock set, close", S8(kMarkClockSet, 56), 8, 264, 0, 0, 0, 0x21, false},
        {"8: clock set, 6 s old", S8(kMarkClockSet, 54), 8, 8, 0, 0, 0, -1, false},
        {"8: status", S8(kMarkStatus, 30), 4, 0, At(30), 0, 0, -1, false},
        {"8: status, invalid clock", S8(kMarkStatus, 61), 4, 4, 0, 0, 0, -1, false},
        {"11: status", S11(kMarkStatus, 30, 1, 6), 5, 0, At(30), 6, 1, 1, true},
        {"11: status, invalid clock", S11(kMarkStatus, 61, 2, 3), 0, 0, y1980, 3, 2, -1, true},
        {"11: stop answers code 6", S11(kMarkStop, 30, 0, 5), 6, 262, 0, 5, 0, 0, false},
        {"11: stop without code 6", S11(kMarkStop, 30, 0, 5), 4, 0, 0, 5, 0, 0, false},
        {"11: clock set, close", S11(kMarkClockSet, 58), 8, 264, 0, 6, 1, 1, false},
        {"11: clock set, invalid", S11(kMarkClockSet, 61), 8, 8, 0, 6, 1, -1, false},
        {"10: clock set, 8 s old is close", S10(kMarkClockSet, 52), 8, 264, 0, 7, 2, -1, false},
        {"10: clock set, 11 s old", S10(kMarkClockSet, 49), 8, 8, 0, 7, 2, -1, false},
        {"10: status, invalid clock", S10(kMarkStatus, 61, 700), 1, 0, y2001, 4, 2, -1, true},
        {"10: clock and interval", S10(kMarkClockInterval, 40, 600, 1), 8, 0, At(40), 4, 1, -1, true},
        {"10: checksum A is refused", S10(kMarkStatus, 30, 734, 2, 'A'), 1, 1, 0, 0, 0, -1, false},
        {"11: checksum B is refused", Status(kMarkStatus, 11).Clock(10, 2024, 6, 3, 11, 59, 0).Done('B'),
         1, 1, 0, 0, 0, -1, false},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_record->Reset();
        m_link->m_nRxLen = 0;
        m_link->m_nReply = c.replyBefore;
        Feed(c.frame);
        EXPECT_EQ(m_link->m_nReply, c.replyAfter);
        EXPECT_EQ(m_record->m_tLoggerClock, c.loggerClock);
        EXPECT_EQ(m_record->m_nBattery, c.battery);
        EXPECT_EQ(m_record->m_bStatusValid, c.battery != 0);
        EXPECT_EQ(m_record->m_nRunState, c.runState);
        EXPECT_EQ(m_record->m_nLoggerFlag, c.loggerFlag);
        EXPECT_EQ((m_record->m_nRowFlags & RF_LOGGER_CLOCK) != 0, c.clockRowFlag);
        const auto messages = TakeMessages();
        const int clockPosts = c.loggerClock != 0 ? 1 : 0;
        EXPECT_EQ(Count(messages, WMU_LOGGER_CLOCK), clockPosts);
        EXPECT_EQ(Count(messages, WMU_LOGGER_CLOCK, MessageTarget::ConfigDialog), clockPosts);
    }
}

TEST_F(SerialStatus, BatteryLevelFromTheVoltageReadingSquaresTheDistanceFrom3V2)
{
    const struct {
        int raw, level;
    } cases[] = {{734, 7}, {700, 4}, {600, 4}, {655, 1}, {720, 5}, {1023, 7}, {0, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raw);
        m_link->m_nRxLen = 0;
        Feed(S10(kMarkStatus, 30, c.raw));
        EXPECT_EQ(m_record->m_nBattery, c.level);
    }
}

TEST_F(SerialStatus, TheTenByteFrameIsNotConsumedWholeButTheNextFrameStillParses)
{
    Feed(Join({S10(kMarkStatus, 30), S11(kMarkStop, 30, 0, 2)}));
    EXPECT_EQ(m_record->m_nBattery, 2);
}

} // namespace
