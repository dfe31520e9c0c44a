#include "UsbFixture.h"

#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

struct OpenCase {
    const char* name;
    unsigned failChecks;
    bool result;
    Calls calls;
};

void PrintTo(const OpenCase& c, std::ostream* os)
{
    *os << c.name;
}

class OpenSequenceTest : public UsbFixture, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenSequenceTest, FirstAnsweringCheckEndsSequence)
{
    const OpenCase& c = GetParam();
    Plug("UT300000003");
    lib.GetFaults().failChecks = c.failChecks;
    EXPECT_EQ(link->OpenUsbDevice(), c.result);
    EXPECT_EQ(link->Present(), c.result);
    EXPECT_EQ(lib.Calls(), c.calls);
    EXPECT_EQ(lib.IsOpen(0), c.result);
}

using C = CVirtualCh375;
INSTANTIATE_TEST_SUITE_P(Checks, OpenSequenceTest, ::testing::Values(
    OpenCase{"reset", 0, true, {"OpenDevice 0", "ResetDevice 0"}},
    OpenCase{"version", C::CheckReset, true, {"OpenDevice 0", "ResetDevice 0", "GetDrvVersion"}},
    OpenCase{"usbid", C::CheckReset | C::CheckVersion, true,
             {"OpenDevice 0", "ResetDevice 0", "GetDrvVersion", "GetUsbID 0"}},
    OpenCase{"timeouts", C::CheckReset | C::CheckVersion | C::CheckUsbId, true,
             {"OpenDevice 0", "ResetDevice 0", "GetDrvVersion", "GetUsbID 0", "SetTimeoutEx 0"}},
    OpenCase{"none", C::CheckReset | C::CheckVersion | C::CheckUsbId | C::CheckTimeout, false,
             {"OpenDevice 0", "ResetDevice 0", "GetDrvVersion", "GetUsbID 0", "SetTimeoutEx 0", "CloseDevice 0"}}),
    [](const auto& info) { return std::string(info.param.name); });

using OpenTest = UsbFixture;

TEST_F(OpenTest, OpenDeviceClosesFirst)
{
    Plug("UT300000003", 3);
    link->SelectDevice(3);
    ASSERT_TRUE(link->OpenUsbDevice());
    lib.ClearCalls();
    ASSERT_TRUE(link->OpenUsbDevice());
    EXPECT_EQ(lib.Calls(), (Calls{"CloseDevice 3", "OpenDevice 3", "ResetDevice 3"}));
}

TEST_F(OpenTest, NoDeviceOpensButTheExchangeFailsAtTheWrite)
{
    EXPECT_TRUE(link->OpenUsbDevice());
    EXPECT_FALSE(link->Present());
    EXPECT_EQ(link->m_hDevice, -1);
    record->m_strValue[ROW_ID] = "kept";
    EXPECT_FALSE(link->ReadInfo(false));
    EXPECT_EQ(lib.Calls(), (Calls{"OpenDevice 0", "WriteData 0 7"}));
    EXPECT_EQ(record->m_strValue[ROW_ID], "kept");
}

TEST_F(OpenTest, CommandsFailWhenTheLinkChecksFail)
{
    Plug("UTH00000004");
    lib.GetFaults().failChecks = ~0u;
    std::int32_t state = -1, battery = -1;
    const std::uint8_t text[50] = {'a'};
    UsbFrame frame;
    ASSERT_TRUE(BuildClockFrame("D2500000002", kNow, frame));
    EXPECT_FALSE(link->ReadRunState(state, battery));
    EXPECT_FALSE(link->WriteDescription(text));
    EXPECT_FALSE(link->WriteSettings(frame.bytes.data(), frame.length));
    EXPECT_EQ(state, -1);
    for (const auto& call : lib.Calls())
        EXPECT_EQ(call.rfind("WriteData", 0), std::string::npos) << call;
}

} // namespace
