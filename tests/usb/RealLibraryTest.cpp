#include "link/usb/UsbDriver.h"
#include "link/usb/Ch375Library.h"
#include "link/usb/LibusbCh375.h"
#include "record/LoggerRecord.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

// The libusb library on a machine without any USB: every device is absent,
// nothing fails loudly, and the link operations just report failure.
TEST(RealLibraryTest, MachineWithoutUsbFindsNothing)
{
    if (std::filesystem::exists("/dev/bus/usb"))
        GTEST_SKIP() << "this machine has USB";
    Ch375Library& lib = GetCh375Library();
    ASSERT_NE(dynamic_cast<LibusbCh375*>(&lib), nullptr) << "the libusb library is the default";
    for (unsigned long i = 0; i < 16; ++i)
        EXPECT_EQ(lib.CH375OpenDevice(i), Ch375Library::kInvalidHandle);
    // Hot-plug may or may not be offered here; either way it starts and stops cleanly.
    lib.CH375SetDeviceNotify(0, nullptr, [](unsigned long) {});
    EXPECT_TRUE(lib.CH375SetDeviceNotify(0, nullptr, nullptr));

    auto record = std::make_unique<CLoggerRecord>();
    auto link = std::make_unique<UsbDriver>(*record);
    EXPECT_TRUE(link->OpenUsbDevice());
    EXPECT_FALSE(link->Present());
    EXPECT_FALSE(link->ReadInfo(false));
    std::int32_t state = 0, battery = 0;
    EXPECT_FALSE(link->ReadRunState(state, battery));
}

} // namespace
