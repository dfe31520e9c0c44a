#include "SerialTestSupport.h"

#include "record/TimeText.h"

namespace {

const std::initializer_list<int> kInfoHead = {0xFF, 0xCF, 0xBF, 0x5F, 0x00, 0x00, 0x00};

ReplyBuilder Info(int length, const char* id)
{
    ReplyBuilder b(kInfoHead, length);
    for (int i = 0; i < 11; ++i)
        b.Set(8 + i, {id[i]});
    return b;
}

Bytes Type3Frame()
{
    return Info(41, "UT312345678")
        .Time(20, 2024, 1, 1, 8, 0).Time(27, 2024, 1, 2, 8, 0).U16(33, 10)
        .U16(35, 800).U16(37, 200).U16(39, 2550).U16(41, 0xFF38).U16(43, 0x8000)
        .U16(45, 145).Set(48, {1}).Done();
}

Bytes Type4Frame()
{
    return Info(51, "UTH12345678")
        .Time(20, 2024, 6, 1, 0, 0).Time(27, 2024, 6, 2, 0, 45).U16(33, 15)
        .U16(35, 3000).U16(37, 0xFC18).U16(39, 8000).U16(41, 2000)
        .U16(43, 2500).U16(45, 1000).U16(47, 1750).U16(49, 7000).U16(51, 3000).U16(53, 5000)
        .U16(55, 100).Set(58, {2}).Done('B');
}

Bytes Type2Frame(int status = 1, int count = 200)
{
    return Info(35, "D2012345678")
        .Time(20, 2024, 2, 1, 0, 0).Set(26, {5}).Time(28, 2024, 2, 1, 16, 35)
        .U16(34, 500).U16(36, 100).U16(38, 300).U16(40, count).Set(42, {status}).Done();
}

Bytes Type56Frame(const char* id)
{
    return Info(37, id)
        .Time(20, 2024, 3, 1, 0, 0).Time(27, 2024, 3, 1, 4, 30).Set(43, {30})
        .U16(33, 2600).U16(35, 2400).Set(37, {0xA8, 0x61, 0x00, 0x00}) // sum 25000
        .U16(41, 10).Set(44, {3}).Done();
}

struct InfoCase {
    const char* name;
    Bytes frame;
    int type;
    time64 start, stop, interval;
    int count;
    float high, low, max, min, avg;
    int runState, loggerFlag, rowFlags;
};

time64 T(int y, int mo, int d, int h, int mi) { return MakeLocalTime(y, mo, d, h, mi); }

using SerialInfoFrame = SerialProtocolFixture;

TEST_F(SerialInfoFrame, EachLayoutIsDecodedIntoTheRecord)
{
    const InfoCase cases[] = {
        {"type 3, L 41", Type3Frame(), 3, T(2024, 1, 1, 8, 0), T(2024, 1, 2, 8, 0), 600, 145,
         8.0f, 2.0f, 25.5f, -2.0f, 0.0f, 1, 1, 0x2003F},
        {"type 4, L 51, checksum B", Type4Frame(), 4, T(2024, 6, 1, 0, 0), T(2024, 6, 2, 0, 45), 900, 100,
         30.0f, -10.0f, 25.0f, 10.0f, 17.5f, 2, 2, 0x2003F},
        {"type 2, L 35", Type2Frame(), 2, T(2024, 2, 1, 0, 0), T(2024, 2, 1, 16, 35), 300, 200,
         0.0f, 0.0f, 5.0f, 1.0f, 3.0f, 0, 1, 0x3F},
        {"type 5, L 37", Type56Frame("I2012345678"), 5, T(2024, 3, 1, 0, 0), T(2024, 3, 1, 4, 30), 1800, 10,
         0.0f, 0.0f, 26.0f, 24.0f, 25.0f, 0, 3, 0x3F},
        {"type 6, L 37", Type56Frame("DI201234567"), 6, T(2024, 3, 1, 0, 0), T(2024, 3, 1, 4, 30), 1800, 10,
         0.0f, 0.0f, 26.0f, 24.0f, 25.0f, 0, 3, 0x3F},
    };
    for (const InfoCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_record->Reset();
        m_events = {};
        m_record->m_fHighLimit = 99.0f;
        EXPECT_TRUE(Feed(c.frame));
        const CLoggerRecord& r = *m_record;
        EXPECT_EQ(r.m_nType, c.type);
        EXPECT_EQ(r.m_strValue[ROW_ID], QString::fromLatin1(reinterpret_cast<const char*>(c.frame.data() + 8), 11));
        EXPECT_EQ(r.m_tStart, c.start);
        EXPECT_EQ(r.m_tStop, c.stop);
        EXPECT_EQ(r.m_strValue[ROW_START], FormatSummaryTime(c.start));
        EXPECT_EQ(r.m_tsInterval, c.interval);
        EXPECT_EQ(r.m_nCount, c.count);
        EXPECT_EQ(r.m_strValue[ROW_COUNT], QString::number(c.count));
        EXPECT_FLOAT_EQ(r.m_fHighLimit, c.high);
        EXPECT_FLOAT_EQ(r.m_fLowLimit, c.low);
        EXPECT_FLOAT_EQ(r.m_fLoggerMax, c.max);
        EXPECT_FLOAT_EQ(r.m_fLoggerMin, c.min);
        EXPECT_FLOAT_EQ(r.m_fLoggerAvg, c.avg);
        EXPECT_EQ(r.m_nRunState, c.runState);
        EXPECT_EQ(r.m_nLoggerFlag, c.loggerFlag);
        EXPECT_EQ(r.m_nRowFlags, c.rowFlags);
        EXPECT_TRUE(r.m_bTimesValid);
        EXPECT_EQ(r.m_tTime[1], c.start + c.interval);
        EXPECT_EQ(r.m_bTempAlarm, c.low < c.high);
        EXPECT_EQ(m_events.information, 1);
    }
    // Humidity of the type 4 layout.
    Feed(Type4Frame());
    EXPECT_FLOAT_EQ(m_record->m_fHumiHighLimit, 80.0f);
    EXPECT_FLOAT_EQ(m_record->m_fHumiLowLimit, 20.0f);
    EXPECT_FLOAT_EQ(m_record->m_fHumiMax, 70.0f);
    EXPECT_FLOAT_EQ(m_record->m_fHumiMin, 30.0f);
    EXPECT_FLOAT_EQ(m_record->m_fHumiAvg, 50.0f);
    EXPECT_TRUE(m_record->m_bHumiAlarm);
}

TEST_F(SerialInfoFrame, AType2LoggerAnsweringWithL41UsesTheType3Layout)
{
    ReplyBuilder b = Info(41, "D2099999999");
    b.Time(20, 2024, 1, 1, 8, 0).Time(27, 2024, 1, 2, 8, 0).U16(33, 10).U16(35, 800).U16(37, 200)
        .U16(39, 2550).U16(41, 100).U16(43, 1000).U16(45, 145).Set(48, {2});
    EXPECT_TRUE(Feed(b.Done()));
    EXPECT_EQ(m_record->m_nType, 2);
    EXPECT_FLOAT_EQ(m_record->m_fHighLimit, 8.0f);
    EXPECT_FLOAT_EQ(m_record->m_fLowLimit, 2.0f);
    EXPECT_EQ(m_record->m_nRunState, 2);
    EXPECT_EQ(m_record->m_nCount, 145);
    EXPECT_TRUE(m_record->m_bTempAlarm);
}

TEST_F(SerialInfoFrame, AType2LoggerWithoutDataKeepsOnlyTheIdAndOffersCalibration)
{
    for (const Bytes& frame : {Type2Frame(0, 200), Type2Frame(1, 0)}) {
        m_events = {};
        EXPECT_TRUE(Feed(frame));
        EXPECT_EQ(m_record->m_nCount, 0);
        EXPECT_EQ(m_record->m_nRowFlags, RF_ID);
        EXPECT_EQ(m_events.calibrationOffers, 1);
    }
}

struct CountCase {
    const char* name;
    int count;
    int stopHour, stopMinute;
    int expected;
    bool countBit;
    bool usable; // a download can take the count
};

TEST_F(SerialInfoFrame, CountsAboveTheSampleLimitAreReplacedFromTheTimes)
{
    const CountCase cases[] = {
        {"60000 kept", 60000, 10, 0, 60000, true, true},
        {"65535 from ten hours at 10 minutes", 65535, 10, 0, 61, false, true},
        {"stop before start gives 0", 65535, 0, 0, 0, false, false},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.name);
        ReplyBuilder b = Info(41, "UT312345678");
        b.Time(20, 2024, 1, 1, c.stopHour == 0 ? 5 : 0, 0).Time(27, 2024, 1, 1, c.stopHour, c.stopMinute).U16(33, 10)
            .U16(45, c.count).Set(48, {1});
        Feed(b.Done());
        EXPECT_EQ(m_record->m_nCount, c.expected);
        EXPECT_EQ((m_record->m_nRowFlags & RF_COUNT) != 0, c.countBit);
        EXPECT_EQ(m_protocol.CountUsable(), c.usable);
    }
}

TEST_F(SerialInfoFrame, InvalidTimesAreStoredAsZeroAndLeaveOnlyTheIdRow)
{
    ReplyBuilder b = Info(41, "UT312345678");
    b.Time(20, 2024, 13, 1, 0, 0).Time(27, 2024, 1, 2, 24, 0).U16(33, 10).U16(45, 5).Set(48, {1});
    EXPECT_TRUE(Feed(b.Done()));
    EXPECT_EQ(m_record->m_tStart, 0);
    EXPECT_EQ(m_record->m_tStop, 0);
    EXPECT_TRUE(m_record->m_strValue[ROW_START].isEmpty());
    EXPECT_FALSE(m_record->m_bTimesValid);
    EXPECT_EQ(m_record->m_nRowFlags, RF_ID);
}

TEST_F(SerialInfoFrame, AnIdentificationReplyCompletesCode1AndIsAnnouncedUntilCleared)
{
    m_protocol.m_nReply = SERIAL_IDENTIFY;
    Feed(Type3Frame());
    EXPECT_EQ(m_protocol.m_nReply, SERIAL_IDENTIFY | SERIAL_REPLY_ARRIVED);
    EXPECT_EQ(m_events.replies, 1);
    Feed({0x00});
    EXPECT_EQ(m_events.replies, 2);
    m_protocol.m_nReply = 0;
    Feed({0x00});
    EXPECT_EQ(m_events.replies, 2);
}

TEST_F(SerialInfoFrame, DuringADownloadItKeepsTheDescriptionRowAndRequestsTheFirstBlock)
{
    m_protocol.m_nSerialMode = SerialProtocol::kDownloadMode;
    m_record->m_strValue[ROW_DESCRIPTION] = QStringLiteral("shelf 3");
    Feed(Type3Frame());
    EXPECT_EQ(m_record->m_strValue[ROW_DESCRIPTION], QStringLiteral("shelf 3"));
    EXPECT_EQ(m_record->m_nRowFlags & RF_DESCRIPTION, 0);
    EXPECT_EQ(m_protocol.firstBlockRequests, 1);
    EXPECT_EQ(m_events.information, 1);
    EXPECT_EQ(m_record->m_nReceived, 0);
}

} // namespace
