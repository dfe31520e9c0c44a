#include "UsbFixture.h"

#include <functional>

namespace {

struct EchoCase {
    const char* name;
    const char* id;
    int byte;      // reply byte corrupted
    int after;     // replies let through first
    bool accepted;
};

void PrintTo(const EchoCase& c, std::ostream* os)
{
    *os << c.name;
}

class EchoTest : public UsbFixture, public ::testing::WithParamInterface<EchoCase> {
protected:
    bool Run(const std::string& name)
    {
        std::int32_t state = 0, battery = 0;
        std::uint8_t text[60] = {};
        UsbFrame frame;
        if (name.rfind("info", 0) == 0)
            return link->ReadInfo(false);
        if (name.rfind("runstate", 0) == 0)
            return link->ReadRunState(state, battery);
        if (name.rfind("block", 0) == 0)
            return link->ReadBlock(0, 4, link->m_fBlock);
        if (name.rfind("description", 0) == 0)
            return link->ReadDescription(text, 50);
        BuildClockFrame("D2500000002", kNow, frame);
        return link->WriteSettings(frame.bytes.data(), frame.length);
    }
};

TEST_P(EchoTest, EchoRule)
{
    const EchoCase& c = GetParam();
    auto logger = Plug(c.id);
    logger->SetSamples({100, 200});
    ASSERT_TRUE(link->OpenUsbDevice());
    record->m_strValue[ROW_ID] = "kept";
    auto& f = lib.GetFaults();
    f.echoByte = c.byte;
    f.echoCount = 1;
    f.echoAfter = c.after;
    EXPECT_EQ(Run(c.name), c.accepted);
    if (c.name == std::string("info_byte6")) {
        EXPECT_EQ(record->m_strValue[ROW_ID], "kept"); // a rejected reply changes nothing
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, EchoTest, ::testing::Values(
    EchoCase{"info_byte0", "UT300000003", 0, 0, false},
    EchoCase{"info_byte6", "UT300000003", 6, 0, false},
    EchoCase{"info_data", "UT300000003", 30, 0, true},
    EchoCase{"runstate_byte4", "UT300000003", 4, 0, false},
    EchoCase{"runstate_answer", "UT300000003", 5, 0, true},
    EchoCase{"block_echo_unchecked", "UT300000003", 3, 0, true},
    EchoCase{"description_first", "UT300000003", 6, 0, false},
    EchoCase{"description_second", "UT300000003", 6, 1, false},
    EchoCase{"description_text", "UT300000003", 9, 1, true},
    // a 26-byte frame checks 24 echoed bytes
    EchoCase{"settings_byte23", "D2500000002", 23, 0, false},
    EchoCase{"settings_byte24", "D2500000002", 24, 0, true},
    EchoCase{"settings_byte25", "D2500000002", 25, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

using ExchangeFaultTest = UsbFixture;

TEST_F(ExchangeFaultTest, FailedWriteOrReadChangesNothing)
{
    auto logger = Plug("UTH00000004");
    ASSERT_TRUE(Identify());
    const QString id = record->m_strValue[ROW_ID];
    logger->m_nIntervalMinutes = 99;
    for (int write = 0; write < 2; ++write) {
        lib.GetFaults().failWrites = write;
        lib.GetFaults().failReads = 1 - write;
        EXPECT_FALSE(link->ReadInfo(false));
        EXPECT_EQ(record->m_tsInterval, 60);
        EXPECT_EQ(record->m_strValue[ROW_ID], id);
    }
    EXPECT_TRUE(link->ReadInfo(false));
    EXPECT_EQ(record->m_tsInterval, 99 * 60);
}

TEST_F(ExchangeFaultTest, LatencyBeyondTheReadTimeoutLosesTheReply)
{
    Plug("UT300000003");
    ASSERT_TRUE(link->OpenUsbDevice());
    lib.GetFaults().latencyMs = 900;
    EXPECT_TRUE(link->ReadInfo(false));
    EXPECT_EQ(lib.ElapsedMs(), 900);
    lib.GetFaults().latencyMs = 1500;
    EXPECT_FALSE(link->ReadInfo(false));
    EXPECT_EQ(lib.ElapsedMs(), 1900);
}

TEST_F(ExchangeFaultTest, UnpluggedLoggerFails)
{
    Plug("UT300000003");
    ASSERT_TRUE(Identify());
    lib.Unplug(0, false);
    EXPECT_FALSE(link->ReadInfo(false));
    EXPECT_TRUE(link->OpenUsbDevice()); // nothing at the index: the next write decides
    EXPECT_FALSE(link->ReadInfo(false));
}

} // namespace
