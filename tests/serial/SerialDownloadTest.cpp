#include "VirtualLoggerFixture.h"

#include "link/serial/Ch341Library.h"
#include "record/LoggerType.h"

namespace {

constexpr int kIdentified = SERIAL_IDENTIFY | SERIAL_REPLY_ARRIVED;

class SerialDownload : public VirtualLoggerFixture {
protected:
    void Identify()
    {
        m_link->SerialIdentify(0);
        ASSERT_TRUE(PumpUntil([&] { return m_link->m_nReply == kIdentified; }));
        m_link->m_nReply = 0;
    }
    // What the workflow does on Download; the link requests the first block
    // when the information has come.
    void StartDownload()
    {
        m_link->m_nSerialMode = SerialProtocol::kDownloadMode;
        m_record->m_nReceived = 0;
        m_link->SerialIdentify(LoggerTypeOf(m_record->m_nType).stopsOnDownload ? 1 : 0);
    }
    bool Complete(int timeoutMs = 20000)
    {
        return PumpUntil([&] { return m_record->m_nCount > 0 && m_record->m_nReceived >= m_record->m_nCount; }, timeoutMs);
    }
    void ExpectSamples(const VirtualSerialConfig& config)
    {
        ASSERT_EQ(m_record->m_nCount, config.SampleCount());
        int wrong = 0;
        for (int i = 0; i < config.SampleCount(); ++i) {
            wrong += m_record->m_fTemp[i] != config.temps[i];
            if (config.type == 4)
                wrong += m_record->m_fHumi[i] != config.humis[i];
        }
        EXPECT_EQ(wrong, 0);
    }
};

struct TypeCase {
    int type;
    int count;
    bool type2LongInfo;
};

TEST_F(SerialDownload, EveryTypeIsIdentifiedAndDownloadedWithTheSamplesExact)
{
    const TypeCase cases[] = {{2, 100, false}, {2, 40, true}, {3, 333, false}, {4, 150, false}, {5, 77, false}, {6, 64, false}};
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << (c.type2LongInfo ? ", L 41" : ""));
        VirtualSerialConfig config = VirtualSerialConfig::Demo(c.type, c.count);
        config.paced = false;
        config.type2LongInfo = c.type2LongInfo;
        Connect(config);
        m_record->Reset();
        Identify();
        EXPECT_EQ(m_record->m_nType, c.type);
        EXPECT_EQ(m_record->m_strValue[ROW_ID], config.EffectiveId());
        EXPECT_TRUE(m_record->m_bTimesValid);
        EXPECT_EQ(m_record->m_tStart, m_logger->Config().start);
        EXPECT_EQ(m_record->m_tsInterval, config.intervalMinutes * 60);
        StartDownload();
        ASSERT_TRUE(Complete());
        ExpectSamples(config);
        EXPECT_TRUE(m_record->m_byDataFlags & DATA_FLAG_SAMPLES);
        if (LoggerTypeOf(c.type).stopsOnDownload) {
            EXPECT_EQ(m_logger->Config().runState, 0); // the "ST" identification stops recording
        }
        m_link->m_ComPort.ClosePort();
        m_link->m_nSerialMode = 0;
        m_link->ClearReceive();
        m_events = {};
    }
}

TEST_F(SerialDownload, AFullMemoryOf60000SamplesArrivesExactlyPast64KiBOfOffsets)
{
    VirtualSerialConfig config = VirtualSerialConfig::Demo(3, MAX_SAMPLES);
    config.paced = false;
    Connect(config);
    Identify();
    StartDownload();
    ASSERT_TRUE(Complete(60000));
    ExpectSamples(config);
}

TEST_F(SerialDownload, NoiseBetweenFramesAndChunkBoundariesAreSurvived)
{
    VirtualSerialConfig config = VirtualSerialConfig::Demo(4, 500);
    config.paced = false;
    Connect(config, 1);
    m_logger->SetNoise(23);
    Identify();
    StartDownload();
    ASSERT_TRUE(Complete());
    ExpectSamples(config);
}

TEST_F(SerialDownload, ADroppedBlockStallsTheStreamUntilTheLast64BytesAreRequestedAgain)
{
    VirtualSerialConfig config = VirtualSerialConfig::Demo(2, 160);
    config.paced = false;
    Connect(config);
    m_logger->DropBlock(4);
    Identify();
    StartDownload();
    PumpUntil([&] { return m_record->m_nReceived >= 64; });
    PumpQuiet(200);
    EXPECT_EQ(m_record->m_nReceived, 64); // blocks 5.. are dropped by their offset
    const int offset = m_record->m_nReceived * 2;
    m_link->SerialRequestBlock(offset > 64 ? offset - 64 : 0);
    ASSERT_TRUE(Complete());
    ExpectSamples(config);
}

TEST_F(SerialDownload, AWrongChecksumIsIgnoredAndTheResentIdentificationIsDecoded)
{
    VirtualSerialConfig config = VirtualSerialConfig::Demo(3, 10);
    config.paced = false;
    Connect(config);
    m_logger->CorruptNextChecksum();
    m_link->SerialIdentify(0);
    PumpQuiet(200);
    EXPECT_EQ(m_link->m_nReply, SERIAL_IDENTIFY);
    EXPECT_EQ(m_events.information, 0);
    m_link->SerialIdentify(0);
    ASSERT_TRUE(PumpUntil([&] { return m_link->m_nReply == kIdentified; }));
    EXPECT_EQ(m_events.information, 1);
}

TEST_F(SerialDownload, AStalledLoggerAnswersLateAndTheAnswerIsStillTaken)
{
    VirtualSerialConfig config = VirtualSerialConfig::Demo(3, 10);
    Connect(config);
    m_logger->StallNext(1);
    m_link->SerialIdentify(0);
    PumpQuiet(300);
    EXPECT_EQ(m_link->m_nReply, SERIAL_IDENTIFY);
    EXPECT_TRUE(PumpUntil([&] { return m_link->m_nReply == kIdentified; }));
}

TEST_F(SerialDownload, AVanishedPortIsAnnouncedAndFoundByThePortCheck)
{
    std::mutex mutex;
    std::vector<int> notified;
    CH341PtSetDevNotify(nullptr, [&](int v) {
        std::lock_guard lock(mutex);
        notified.push_back(v);
    });
    Connect(VirtualSerialConfig::Demo(3, 10));
    const int port = m_logger->Port();
    EXPECT_TRUE(Ch341IsCh341Port(port));
    m_logger->Announce();
    m_logger->Vanish();
    EXPECT_EQ(m_link->SerialReadStatus(), -1);
    EXPECT_EQ(m_link->m_nComPort, -port);
    EXPECT_EQ(m_events.lost, 1);
    CH341PtSetDevNotify(nullptr, nullptr);
    std::lock_guard lock(mutex);
    EXPECT_EQ(notified, (std::vector<int> {port, -port}));
}

} // namespace
