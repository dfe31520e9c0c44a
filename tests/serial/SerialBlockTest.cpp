#include "SerialTestSupport.h"

namespace {

// A block of `n` readings (L = 2n) whose values are first, first + 1, ...
// hundredths, or pairs (value, 5000 + value) for pairs.
Bytes Block(int offset, int length, int first, char checksum = 'A', bool pairs = false)
{
    ReplyBuilder b({0xFF, 0x5E, 0xBE, 0x6E, offset & 0xFF, (offset >> 8) & 0xFF, 0x00}, length);
    if (pairs) {
        for (int i = 0; i < length / 4; ++i)
            b.U16(8 + 4 * i, first + i).U16(10 + 4 * i, 5000 + first + i);
    } else {
        for (int i = 0; i < length / 2; ++i)
            b.U16(8 + 2 * i, (first + i) & 0xFFFF);
    }
    return b.Done(checksum);
}

class SerialBlock : public SerialProtocolFixture {
protected:
    void Logger(int type, int count, int received = 0)
    {
        m_record->m_nType = type;
        m_record->SetCount(count);
        m_record->m_nReceived = received;
    }
};

struct BlockCase {
    const char* name;
    int type;
    Bytes frame;
    int received; // afterwards
    bool stored;
};

TEST_F(SerialBlock, BlocksAreAcceptedByLengthChecksumAndType)
{
    const BlockCase cases[] = {
        {"L 32, checksum A", 5, Block(0, 32, 100), 16, true},
        {"L 32, checksum B", 6, Block(0, 32, 100, 'B'), 16, true},
        {"L 32, wrong checksum", 2, Block(0, 32, 100, 'X'), 0, false},
        {"L 64, type 3", 3, Block(0, 64, 100), 32, true},
        {"L 64, type 2", 2, Block(0, 64, 100), 32, true},
        {"L 64, checksum B is not enough", 3, Block(0, 64, 100, 'B'), 0, false},
        {"L 64, type 5 ignores it", 5, Block(0, 64, 100), 0, false},
        {"L 48 is no block", 3, Block(0, 48, 100), 0, false},
    };
    for (const BlockCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_protocol.m_nRxLen = 0;
        m_record->m_byDataFlags = 0;
        Logger(c.type, 1000);
        m_record->m_fTemp[0] = -5.0f;
        Feed(c.frame);
        EXPECT_EQ(m_record->m_nReceived, c.received);
        EXPECT_FLOAT_EQ(m_record->m_fTemp[0], c.stored ? 1.0f : -5.0f);
        EXPECT_EQ(m_record->m_byDataFlags, c.stored ? DATA_FLAG_SAMPLES : 0);
    }
}

TEST_F(SerialBlock, Type4PairsGoToTemperatureAndHumidity)
{
    Logger(4, 100, 16);
    m_protocol.m_nReply = SERIAL_BLOCK;
    Feed(Block(64, 64, 2000, 'A', true));
    EXPECT_EQ(m_record->m_nReceived, 32);
    EXPECT_FLOAT_EQ(m_record->m_fTemp[16], 20.0f);
    EXPECT_FLOAT_EQ(m_record->m_fHumi[16], 70.0f);
    EXPECT_FLOAT_EQ(m_record->m_fTemp[31], 20.15f);
    EXPECT_FLOAT_EQ(m_record->m_fHumi[31], 70.15f);
    EXPECT_EQ(m_protocol.m_nReply, SERIAL_BLOCK | SERIAL_REPLY_ARRIVED);
    EXPECT_EQ(m_events.blocksStored, 1);
}

TEST_F(SerialBlock, AShortBlockFromAHumidityLoggerHoldsTemperaturesOnly)
{
    Logger(4, 100);
    m_record->m_fHumi[1] = 55.0f;
    Feed(Block(0, 32, 2000));
    EXPECT_EQ(m_record->m_nReceived, 16);
    EXPECT_FLOAT_EQ(m_record->m_fTemp[1], 20.01f);
    EXPECT_FLOAT_EQ(m_record->m_fHumi[1], 55.0f);
    EXPECT_FLOAT_EQ(m_record->m_fTemp[15], 20.15f);
}

TEST_F(SerialBlock, ABlockAtAnotherOffsetIsDroppedButRenewsTheRetries)
{
    Logger(2, 100, 16);
    Feed(Block(0, 32, 100));
    EXPECT_EQ(m_record->m_nReceived, 16);
    EXPECT_EQ(m_events.blocksDropped, 1); // the watchdog hears of it all the same
    EXPECT_EQ(m_events.blocksStored, 0);
}

TEST_F(SerialBlock, TheLastBlockStopsAtTheCountAndNothingIsStoredPastTheArrays)
{
    Logger(3, 40, 32);
    Feed(Block(64, 64, 500));
    EXPECT_EQ(m_record->m_nReceived, 40);
    EXPECT_FLOAT_EQ(m_record->m_fTemp[39], 5.07f);

    m_protocol.m_nRxLen = 0;
    Logger(3, MAX_SAMPLES, MAX_SAMPLES - 16);
    m_record->m_fTemp[MAX_SAMPLES - 1] = 0;
    Feed(Block(((MAX_SAMPLES - 16) * 2) & 0xFFFF, 64, 7));
    EXPECT_EQ(m_record->m_nReceived, MAX_SAMPLES);
    EXPECT_FLOAT_EQ(m_record->m_fTemp[MAX_SAMPLES - 1], 0.22f);
}

TEST_F(SerialBlock, OffsetsBeyond64KiBWrapAroundInTheSixteenBitField)
{
    Logger(2, 40000, 32768);
    Feed(Block(0, 32, 1));
    EXPECT_EQ(m_record->m_nReceived, 32784);
    EXPECT_FLOAT_EQ(m_record->m_fTemp[32768], 0.01f);
}

TEST_F(SerialBlock, NegativeReadingsAndTheMissingMarker)
{
    Logger(2, 16);
    ReplyBuilder b({0xFF, 0x5E, 0xBE, 0x6E, 0, 0, 0}, 32);
    b.U16(8, 0xFF38).U16(10, 0x8000).U16(12, 0x7FFF).U16(14, 0x8001);
    Feed(b.Done());
    EXPECT_FLOAT_EQ(m_record->m_fTemp[0], -2.0f);
    EXPECT_FLOAT_EQ(m_record->m_fTemp[1], 0.0f);
    EXPECT_FLOAT_EQ(m_record->m_fTemp[2], 327.67f);
    EXPECT_FLOAT_EQ(m_record->m_fTemp[3], -327.67f);
}

} // namespace
