#include "UsbFixture.h"

#include "base/CodePage.h"
#include "link/SettingsBlock.h"
#include "link/FrameTrace.h"
#include "sim/usb/DemoUsbLogger.h"
#include "support/TempDir.h"

#include <QFile>
#include <cstring>

namespace {

using CommandsTest = UsbFixture;

TEST_F(CommandsTest, RunStateAndBattery)
{
    auto logger = Plug("UT300000003");
    logger->m_nRunState = 2;
    logger->m_nBattery = 200;
    std::int32_t state = 0, battery = 0;
    ASSERT_TRUE(link->ReadRunState(state, battery));
    EXPECT_EQ(state, 2);
    EXPECT_EQ(battery, 200); // unsigned byte

    Plug("D2500000002"); // type 2 has no run state: no reply
    state = battery = -1;
    EXPECT_FALSE(link->ReadRunState(state, battery));
    EXPECT_EQ(state, -1);
}

TEST_F(CommandsTest, DescriptionWriteAndReadBack)
{
    auto logger = Plug("UTH00000004");
    std::uint8_t text[50];
    const int chars = DescriptionBytes(QString(60, QChar('x')) , text);
    EXPECT_EQ(chars, 48);
    EXPECT_EQ(text[47], 'x');
    EXPECT_EQ(text[48], 0);
    ASSERT_TRUE(link->WriteDescription(text));
    EXPECT_EQ(logger->m_description, QByteArray(48, 'x') + QByteArray(2, '\0'));

    // Read back as the configuration dialog does (48) and as the main window does (50).
    for (int n : {48, 50}) {
        std::uint8_t back[60];
        std::memset(back, 0xEE, sizeof back);
        ASSERT_TRUE(link->OpenUsbDevice());
        ASSERT_TRUE(link->ReadDescription(back, n)) << n;
        EXPECT_EQ(std::memcmp(back, text, static_cast<size_t>(n)), 0) << n;
        EXPECT_EQ(back[n], 0xEE) << "nothing past n bytes is written";
    }
    const auto calls = lib.Calls();
    EXPECT_EQ(calls[calls.size() - 2], "WriteData 0 7");
    EXPECT_EQ(calls.back(), "ReadData 0 57");
    EXPECT_FALSE(link->ReadDescription(nullptr, 58)); // beyond the reply buffer
}

TEST_F(CommandsTest, DescriptionBytesKeepDoubleByteCharactersWhole)
{
    std::uint8_t text[50];
    const QString chinese(30, QChar(0x6E29)); // two bytes each in the 8-bit code page
    EXPECT_EQ(DescriptionBytes(chinese, text), 25);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(text), 50), ToOem(QString(25, QChar(0x6E29))));
}

TEST_F(CommandsTest, ReadBlockDecodesSampleMemoryOfType4)
{
    auto logger = Plug("UTH00000004");
    logger->SetSamples({2500, -200, static_cast<std::int16_t>(0x8000)}, {5000, 100, -1});
    ASSERT_TRUE(link->OpenUsbDevice());
    // Samples 1 and 2: address 4, 8 bytes, temperature then humidity.
    ASSERT_TRUE(link->ReadBlock(4, 8, link->m_fBlock));
    EXPECT_FLOAT_EQ(link->m_fBlock[0], -2.0f);
    EXPECT_FLOAT_EQ(link->m_fBlock[1], 1.0f);
    EXPECT_FLOAT_EQ(link->m_fBlock[2], 0.0f);
    EXPECT_FLOAT_EQ(link->m_fBlock[3], -0.01f);
    EXPECT_EQ(lib.Calls().back(), "ReadData 0 15");
}

TEST_F(CommandsTest, ReadBlockFailuresAndBounds)
{
    auto logger = Plug("UT300000003");
    logger->SetSamples({100, 200, 300});
    ASSERT_TRUE(link->OpenUsbDevice());
    lib.GetFaults().failBlockReads = 2;
    link->m_fBlock[0] = 99.0f;
    EXPECT_FALSE(link->ReadBlock(0, 6, link->m_fBlock));
    EXPECT_FALSE(link->ReadBlock(0, 6, link->m_fBlock));
    EXPECT_FLOAT_EQ(link->m_fBlock[0], 99.0f);
    EXPECT_TRUE(link->ReadBlock(2, 4, link->m_fBlock));
    EXPECT_FLOAT_EQ(link->m_fBlock[0], 2.0f);
    EXPECT_FLOAT_EQ(link->m_fBlock[1], 3.0f);
    // Requests the block buffer cannot take are refused before anything is sent.
    lib.ClearCalls();
    EXPECT_FALSE(link->ReadBlock(0, 41, link->m_fBlock));
    EXPECT_FALSE(link->ReadBlock(0, 0, link->m_fBlock));
    EXPECT_FALSE(link->ReadBlock(0x10000, 2, link->m_fBlock));
    EXPECT_TRUE(lib.Calls().empty());
}

TEST_F(CommandsTest, ShortRepliesAreRejected)
{
    auto logger = Plug("UT300000003");
    logger->SetSamples({100, 200});
    ASSERT_TRUE(link->OpenUsbDevice());
    lib.GetFaults().replyShortBy = 1;
    link->m_fBlock[1] = 99.0f;
    EXPECT_FALSE(link->ReadBlock(0, 4, link->m_fBlock));
    EXPECT_FLOAT_EQ(link->m_fBlock[1], 99.0f);
    std::int32_t state = -1, battery = -1;
    EXPECT_FALSE(link->ReadRunState(state, battery)); // battery byte missing
    EXPECT_EQ(battery, -1);
    lib.GetFaults().replyShortBy = 0;
    EXPECT_TRUE(link->ReadBlock(0, 4, link->m_fBlock));
    EXPECT_FLOAT_EQ(link->m_fBlock[1], 2.0f);
}

TEST_F(CommandsTest, SettingsStartMissionNowOrDelayed)
{
    for (auto [id, type] : {std::pair{"U0100000001", 1}, {"UT300000003", 3}, {"UTH00000004", 4}}) {
        for (bool delayed : {false, true}) {
            auto logger = Plug(id);
            logger->SetSamples({1, 2, 3});
            MissionSettings s;
            s.id = QString::fromLatin1(id);
            s.now = kNow + 120;
            s.start = delayed ? kNow + 3600 : kNow - 3600;
            s.intervalMinutes = 5;
            s.highTemp = 3000;
            s.lowTemp = -1050;
            s.humiHigh = type == 4 ? 9000 : 0;
            s.humiLow = type == 4 ? 1000 : 0;
            const SettingsBlock block = BuildSettingsBlock(type, SettingsLink::Usb, s);
            ASSERT_TRUE(link->WriteSettings(block.bytes.data(), block.length)) << id;
            EXPECT_EQ(logger->m_tClock, kNow + 120) << id;
            EXPECT_EQ(logger->m_tStart, delayed ? kNow + 3600 : kNow + 120) << id;
            EXPECT_EQ(logger->m_nLowLimit, -1050) << id;
            std::int32_t state = 0, battery = 0;
            ASSERT_TRUE(link->ReadRunState(state, battery));
            EXPECT_EQ(state, delayed ? 2 : 1) << id;
            // The mission records as the logger's clock moves on.
            logger->Advance(delayed ? 3600 + 300 : 600);
            ASSERT_TRUE(Identify());
            EXPECT_EQ(record->m_nCount, delayed ? 2 : 3) << id;
            EXPECT_EQ(record->m_tsInterval, 300) << id;
            EXPECT_FLOAT_EQ(record->m_fHighLimit, 30.0f) << id;
            if (type == 4) {
                EXPECT_FLOAT_EQ(record->m_fHumiLowLimit, 10.0f);
            }
        }
    }
}

TEST_F(CommandsTest, SettingsPutSignatureOverCallerBytes)
{
    auto logger = Plug("D2500000002");
    UsbFrame frame;
    ASSERT_TRUE(BuildClockFrame("D2500000002", kNow + 7, frame));
    std::memset(frame.bytes.data(), 0xAA, 7);
    ASSERT_TRUE(link->WriteSettings(frame.bytes.data(), frame.length));
    EXPECT_EQ(logger->m_lastSettings.left(7).toHex(), "c5ba5117000000");
    EXPECT_EQ(logger->m_tClock, kNow + 7);
    EXPECT_FALSE(link->WriteSettings(frame.bytes.data(), 65));
    EXPECT_FALSE(link->WriteSettings(frame.bytes.data(), 7));
}

TEST_F(CommandsTest, TraceRecordsEveryFrameBothWays)
{
    TempDir dir;
    const QString path = dir.path("trace.txt");
    Plug("UT300000003");
    ASSERT_TRUE(FrameTrace::Instance().Start(path));
    ASSERT_TRUE(link->OpenUsbDevice());
    ASSERT_TRUE(link->ReadInfo(false));
    FrameTrace::Instance().Stop();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(file.readAll());
    EXPECT_TRUE(text.contains("usb > 7: C3 73 75 6D 00 00 00")) << text.toStdString();
    EXPECT_TRUE(text.contains("usb < 42: C3 73 75 6D 00 00 00 55 54 33")) << text.toStdString();
}

} // namespace

namespace {

TEST_F(CommandsTest, DemoLoggersIdentifyAndDownload)
{
    for (int type = 1; type <= 4; ++type) {
        lib.Plug(0, MakeDemoUsbLogger(type, kNow), false);
        ASSERT_TRUE(Identify()) << type;
        EXPECT_EQ(record->m_nType, type);
        EXPECT_EQ(record->m_nCount, 145) << type;
        EXPECT_EQ(record->m_bTimesValid, 1) << type;
        // The last sample, read as the download does.
        const int size = type == 4 ? 4 : 2;
        ASSERT_TRUE(link->ReadBlock(144 * size, size, link->m_fBlock));
        EXPECT_GT(link->m_fBlock[0], 20.0f);
        EXPECT_LT(link->m_fBlock[0], 30.0f);
    }
}

} // namespace
