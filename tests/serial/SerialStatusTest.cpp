#include "VirtualLoggerFixture.h"

#include "record/TimeText.h"

#include <cstdlib>
#include <ctime>

// Status frames: their decoding from fixtures, and the status exchange with
// the virtual logger of each type through the real port.

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

class SerialStatus : public SerialProtocolFixture {
protected:
    void SetUp() override { m_protocol.m_fnNow = [] { return MakeLocalTime(2024, 6, 3, 12, 0, 0); }; }
};

constexpr int kArrived = SERIAL_REPLY_ARRIVED;

TEST_F(SerialStatus, EachLengthAndMarkUpdatesTheRecordAndTheReplyCode)
{
    const time64 y1980 = MakeLocalTime(1980, 1, 1, 0, 0, 0);
    const time64 y2001 = MakeLocalTime(2001, 1, 1, 0, 0, 0);
    const StatusCase cases[] = {
        {"8: clock set, close", S8(kMarkClockSet, 56), SERIAL_SET_CLOCK, SERIAL_SET_CLOCK | kArrived, 0, 0, 0, 0x21, false},
        {"8: clock set, 6 s old", S8(kMarkClockSet, 54), SERIAL_SET_CLOCK, SERIAL_SET_CLOCK, 0, 0, 0, -1, false},
        {"8: status", S8(kMarkStatus, 30), SERIAL_READ_DESC, 0, At(30), 0, 0, -1, false},
        {"8: status, invalid clock", S8(kMarkStatus, 61), SERIAL_READ_DESC, SERIAL_READ_DESC, 0, 0, 0, -1, false},
        {"11: status", S11(kMarkStatus, 30, 1, 6), SERIAL_WRITE_SETTINGS, 0, At(30), 6, 1, 1, true},
        {"11: status, invalid clock", S11(kMarkStatus, 61, 2, 3), 0, 0, y1980, 3, 2, -1, true},
        {"11: stop answers the stop", S11(kMarkStop, 30, 0, 5), SERIAL_STOP, SERIAL_STOP | kArrived, 0, 5, 0, 0, false},
        {"11: stop without a stop pending", S11(kMarkStop, 30, 0, 5), SERIAL_READ_DESC, 0, 0, 5, 0, 0, false},
        {"11: clock set, close", S11(kMarkClockSet, 58), SERIAL_SET_CLOCK, SERIAL_SET_CLOCK | kArrived, 0, 6, 1, 1, false},
        {"11: clock set, invalid", S11(kMarkClockSet, 61), SERIAL_SET_CLOCK, SERIAL_SET_CLOCK, 0, 6, 1, -1, false},
        {"10: clock set, 8 s old is close", S10(kMarkClockSet, 52), SERIAL_SET_CLOCK, SERIAL_SET_CLOCK | kArrived, 0, 7, 2, -1, false},
        {"10: clock set, 11 s old", S10(kMarkClockSet, 49), SERIAL_SET_CLOCK, SERIAL_SET_CLOCK, 0, 7, 2, -1, false},
        {"10: status, invalid clock", S10(kMarkStatus, 61, 700), SERIAL_IDENTIFY, 0, y2001, 4, 2, -1, true},
        {"10: clock and interval", S10(kMarkClockInterval, 40, 600, 1), SERIAL_SET_CLOCK, 0, At(40), 4, 1, -1, true},
        {"10: checksum A is refused", S10(kMarkStatus, 30, 734, 2, 'A'), SERIAL_IDENTIFY, SERIAL_IDENTIFY, 0, 0, 0, -1, false},
        {"11: checksum B is refused", Status(kMarkStatus, 11).Clock(10, 2024, 6, 3, 11, 59, 0).Done('B'),
         SERIAL_IDENTIFY, SERIAL_IDENTIFY, 0, 0, 0, -1, false},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_record->Reset();
        m_events = {};
        m_protocol.m_nRxLen = 0;
        m_protocol.m_nReply = c.replyBefore;
        Feed(c.frame);
        EXPECT_EQ(m_protocol.m_nReply, c.replyAfter);
        EXPECT_EQ(m_record->m_tLoggerClock, c.loggerClock);
        EXPECT_EQ(m_record->m_nBattery, c.battery);
        EXPECT_EQ(m_record->m_bStatusValid, c.battery != 0);
        EXPECT_EQ(m_record->m_nRunState, c.runState);
        EXPECT_EQ(m_record->m_nLoggerFlag, c.loggerFlag);
        EXPECT_EQ((m_record->m_nRowFlags & RF_LOGGER_CLOCK) != 0, c.clockRowFlag);
        EXPECT_EQ(m_events.clocks, c.loggerClock != 0 ? 1 : 0);
        EXPECT_EQ(m_events.replies, (c.replyAfter & kArrived) ? 1 : 0);
    }
}

TEST_F(SerialStatus, BatteryLevelFromTheVoltageReadingSquaresTheDistanceFrom3V2)
{
    const struct {
        int raw, level;
    } cases[] = {{734, 7}, {700, 4}, {600, 4}, {655, 1}, {720, 5}, {1023, 7}, {0, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raw);
        m_protocol.m_nRxLen = 0;
        Feed(S10(kMarkStatus, 30, c.raw));
        EXPECT_EQ(m_record->m_nBattery, c.level);
    }
}

TEST_F(SerialStatus, TheTenByteFrameIsNotConsumedWholeButTheNextFrameStillParses)
{
    Feed(Join({S10(kMarkStatus, 30), S11(kMarkStop, 30, 0, 2)}));
    EXPECT_EQ(m_record->m_nBattery, 2);
}

using SerialStatusExchange = VirtualLoggerFixture;

TEST_F(SerialStatusExchange, EachTypesStatusRequestIsAnsweredWithBatteryAndClock)
{
    const struct {
        int type, battery;
    } cases[] = {{2, 0}, {3, 5}, {4, 5}, {5, 4}, {6, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        VirtualSerialConfig config = VirtualSerialConfig::Demo(c.type, 20);
        config.batteryLevel = 5;
        config.batteryRaw = 700;
        Connect(config);
        m_record->Reset();
        m_link->SerialIdentify(0);
        ASSERT_TRUE(PumpUntil([&] { return m_link->m_nReply == (SERIAL_IDENTIFY | SERIAL_REPLY_ARRIVED); }));
        m_link->m_nReply = SERIAL_READ_DESC;
        m_link->SerialReadStatus();
        ASSERT_TRUE(PumpUntil([&] { return m_link->m_nReply == 0; })); // a status reply clears what was pending
        EXPECT_EQ(m_record->m_nBattery, c.battery);
        EXPECT_LE(std::llabs(m_record->m_tLoggerClock - std::time(nullptr)), 2);
        m_link->m_ComPort.ClosePort();
    }
}

} // namespace
