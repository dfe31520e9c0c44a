#include "SerialTestSupport.h"

// Synchronisation of the parser over a byte stream: split chunks, noise,
// frames it must skip, and the receive buffer's limit.

namespace {

Bytes InfoFrame()
{
    ReplyBuilder b({0xFF, 0xCF, 0xBF, 0x5F, 0x53, 0x54, 0x00}, 51);
    const char id[] = "UTH12345678";
    for (int i = 0; i < 11; ++i)
        b.Set(8 + i, {id[i]});
    return b.Time(20, 2024, 6, 1, 0, 0).Time(27, 2024, 6, 2, 0, 0).U16(33, 15).U16(55, 97).Set(58, {1}).Done();
}

Bytes StatusFrame11(int battery)
{
    return ReplyBuilder({0xFF, 0xBD, 0x5D, 0x7D, 0x7D, 0xBD, 0x5D}, 11)
        .Clock(10, 2024, 6, 3, 12, 0, 0).Set(17, {1, battery}).Done();
}

Bytes BlockFrame(int offset, int first)
{
    ReplyBuilder b({0xFF, 0x5E, 0xBE, 0x6E, offset & 0xFF, offset >> 8, 0x00}, 32);
    for (int i = 0; i < 16; ++i)
        b.U16(8 + 2 * i, first + i);
    return b.Done();
}

using SerialStream = SerialProtocolFixture;

TEST_F(SerialStream, AFrameSplitAtAnyPositionIsDecodedOnceWhenComplete)
{
    const Bytes frame = Join({{0x12, 0xFF, 0xCF, 0x00, 0xFF}, InfoFrame()});
    for (size_t split = 1; split < frame.size(); ++split) {
        SCOPED_TRACE(split);
        m_protocol.m_nRxLen = 0;
        m_record->Reset();
        m_events = {};
        EXPECT_FALSE(Feed(Bytes(frame.begin(), frame.begin() + split)));
        EXPECT_TRUE(Feed(Bytes(frame.begin() + split, frame.end())));
        EXPECT_EQ(m_record->m_nCount, 97);
        EXPECT_EQ(m_events.information, 1);
    }
}

TEST_F(SerialStream, NoiseSkippedFramesAndBadChecksumsDoNotHideTheGoodFrames)
{
    Bytes badInfo = InfoFrame();
    badInfo[30] ^= 0x01;
    const Bytes skip = ReplyBuilder({0xFF, 0xB8, 0x68, 0xC8, 0x00, 0x00, 0x00}, 11)
                           .Set(8, {0xFF, 0xBD, 0x5D, 0x7D}).Done();
    const Bytes stream = Join({{0x00, 0xFF, 0xFF, 0x5A}, skip, {0xFF, 0xBD}, badInfo, {0x13, 0x37},
                               StatusFrame11(5), {0xFF, 0xCF, 0xBF}, InfoFrame(), {0x42}});
    EXPECT_TRUE(Feed(stream));
    EXPECT_EQ(m_record->m_nBattery, 5);
    EXPECT_EQ(m_record->m_nCount, 97);
    EXPECT_EQ(m_events.clocks, 1);
    EXPECT_LE(m_protocol.m_nRxLen, 3); // only a possible head start stays
}

TEST_F(SerialStream, AShortFrameBehindALongOneInTheSameChunkIsNotLeftWaiting)
{
    m_record->m_nType = 2;
    m_record->SetCount(100);
    Feed(Join({BlockFrame(0, 1), StatusFrame11(3)}));
    EXPECT_EQ(m_record->m_nReceived, 16);
    EXPECT_EQ(m_record->m_nBattery, 3);
    EXPECT_EQ(m_protocol.m_nRxLen, 2); // the status frame's checksum bytes
}

TEST_F(SerialStream, AChunkThatWouldOverflowTheBufferIsDroppedButTheBufferIsStillParsed)
{
    const Bytes info = InfoFrame();
    m_protocol.m_nRxLen = 8150 - static_cast<int>(info.size());
    std::fill_n(m_protocol.m_byRx, m_protocol.m_nRxLen, 0x00);
    std::copy(info.begin(), info.end(), m_protocol.m_byRx + m_protocol.m_nRxLen);
    m_protocol.m_nRxLen = 8150;
    EXPECT_TRUE(Feed(Bytes(100, 0xFF)));
    EXPECT_EQ(m_record->m_nCount, 97);
    EXPECT_LT(m_protocol.m_nRxLen, 8150);
    // A chunk that fits exactly is taken.
    m_protocol.m_nRxLen = 8192 - 100;
    std::fill_n(m_protocol.m_byRx, m_protocol.m_nRxLen, 0x00);
    EXPECT_FALSE(Feed(Bytes(100, 0x00)));
    EXPECT_EQ(m_protocol.m_nRxLen, 3);
}

// What arrives between two quiet spells of the line, and when it goes quiet.
struct Arrival {
    Bytes bytes;
    bool quietAfter;
};

struct QuietCase {
    const char* name;
    std::vector<Arrival> arrivals;
    int information; // information frames decoded in all
};

// A head whose length byte promises 255 data bytes that never follow.
const Bytes kFalseHead = {0xFF, 0xCF, 0xBF, 0x5F, 0x00, 0x00, 0x00, 0xFF};

Bytes CutShort(const Bytes& frame, size_t keep)
{
    return Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(keep));
}

Bytes WithBadChecksum(Bytes frame)
{
    frame[frame.size() - 2] ^= 0x5A;
    return frame;
}

TEST_F(SerialStream, AFrameLeftIncompleteWhenTheLineGoesQuietIsGivenUpAndTheFramesBehindItDecoded)
{
    const Bytes info = InfoFrame();
    const QuietCase cases[] = {
        {"false head before the reply", {{Join({kFalseHead, info}), true}}, 1},
        {"false head before every reply", {{Join({kFalseHead, info}), true}, {Join({kFalseHead, info}), true}}, 2},
        {"false head, reply in later chunks", {{kFalseHead, false}, {CutShort(info, 20), false}, {Bytes(info.begin() + 20, info.end()), true}}, 1},
        {"a reply cut short, then a whole one", {{CutShort(info, 40), true}, {info, true}}, 1},
        {"a bad checksum, then a good reply", {{WithBadChecksum(info), true}, {info, true}}, 1},
        {"a reply trickled in small chunks", {{CutShort(info, 3), false}, {Bytes(info.begin() + 3, info.begin() + 9), false}, {Bytes(info.begin() + 9, info.end()), true}}, 1},
        {"a bare head before the reply", {{Join({CutShort(info, 5), info}), true}}, 1},
    };
    for (const QuietCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_protocol.ClearReceive();
        m_record->Reset();
        m_events = {};
        for (const Arrival& a : c.arrivals) {
            Feed(a.bytes);
            if (a.quietAfter)
                m_protocol.LineQuiet();
        }
        EXPECT_EQ(m_events.information, c.information);
        EXPECT_EQ(m_record->m_nCount, 97);
        EXPECT_EQ(m_protocol.m_nRxLen, 0);
    }
}

TEST_F(SerialStream, AQuietLineAfterCompleteFramesReportsNothingMore)
{
    m_protocol.m_nReply = SERIAL_IDENTIFY;
    Feed(InfoFrame());
    EXPECT_EQ(m_events.replies, 1);
    EXPECT_FALSE(m_protocol.LineQuiet()); // only the checksum bytes were left
    EXPECT_FALSE(m_protocol.LineQuiet());
    EXPECT_EQ(m_events.replies, 1);
    EXPECT_EQ(m_events.information, 1);
}

} // namespace
