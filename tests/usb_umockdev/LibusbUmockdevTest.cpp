// The real libusb CH375 library against umockdev's emulated USB devices:
// CH375 loggers described in sysfs, their bulk transfers replayed from an
// ioctl tree or answered by an emulated device, and uevents for arrival and
// removal.
#include "UmockdevBed.h"

#include "link/usb/UsbDriver.h"
#include "link/usb/LibusbCh375.h"
#include "record/LoggerRecord.h"
#include "record/Units.h"
#include "sim/usb/VirtualUsbLogger.h"
#include "support/ScopedTz.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <array>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Device descriptor of a vendor's device with product 5537, then
// configuration 1: interface 0 (vendor class) with bulk OUT 0x02 and bulk IN
// 0x82, 64-byte packets.
std::string Descriptors(const std::string& vendor)
{
    return "12011001FF000040" + vendor.substr(2, 2) + vendor.substr(0, 2)
           + "375552020000000109022000010100803209040000"
             "02FF8037000705020240000007058202400000";
}

std::string Device(int number, const char* vendor = "4348")
{
    const std::string dev = "001/00" + std::to_string(number);
    return "P: /devices/pci0000:00/0000:00:14.0/usb1/1-" + std::to_string(number) + "\n"
           "N: bus/usb/" + dev + "\n"
           "E: DEVNAME=/dev/bus/usb/" + dev + "\n"
           "E: DEVTYPE=usb_device\n"
           "E: DRIVER=usb\n"
           "E: SUBSYSTEM=usb\n"
           "E: BUSNUM=001\n"
           "E: DEVNUM=00" + std::to_string(number) + "\n"
           "E: PRODUCT=" + std::string(vendor) + "/5537/252\n"
           "A: busnum=1\n"
           "A: devnum=" + std::to_string(number) + "\n"
           "A: idVendor=" + std::string(vendor) + "\n"
           "A: idProduct=5537\n"
           "A: bConfigurationValue=1\n"
           "A: bNumConfigurations=1\n"
           "A: speed=12\n"
           "H: descriptors=" + Descriptors(vendor) + "\n";
}

std::string SysPath(int number)
{
    return "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-" + std::to_string(number);
}

// One bulk OUT transfer and the bulk IN transfer that answers it.
std::string Exchange(const QByteArray& out, const QByteArray& in)
{
    return "USBDEVFS_REAPURBNDELAY 0 3 2 0 0 " + std::to_string(out.size()) + " " + std::to_string(out.size())
           + " 0 " + out.toHex().toStdString() + "\n"
           + " USBDEVFS_REAPURBNDELAY 0 3 130 0 0 64 " + std::to_string(in.size()) + " 0 "
           + in.toHex().toStdString() + "\n";
}

class LibusbUmockdevTest : public ::testing::Test {
protected:
    ~LibusbUmockdevTest() override { SetCh375Library(nullptr); }

    void AddLogger(const std::string& ioctl)
    {
        std::string error;
        ASSERT_TRUE(bed.AddFromString(Device(2), error)) << error;
        ASSERT_TRUE(bed.LoadIoctl("/dev/bus/usb/001/002", ioctl, error)) << error;
    }

    ScopedTz tz{"UTC"};
    UmockdevBed bed;
};

TEST_F(LibusbUmockdevTest, NoUsbMeansNothingFound)
{
    LibusbCh375 lib;
    EXPECT_EQ(lib.CountDevices(), 0);
    EXPECT_EQ(lib.CH375OpenDevice(0), Ch375Library::kInvalidHandle);
    EXPECT_FALSE(lib.CH375ResetDevice(0));
    EXPECT_EQ(lib.CH375GetUsbID(0), 0u);
    unsigned long n = 7;
    const unsigned char frame[7] = {0xC3, 0x73, 0x75, 0x6D, 0, 0, 0};
    EXPECT_FALSE(lib.CH375WriteData(0, frame, &n));
    EXPECT_EQ(n, 0u);
}

TEST_F(LibusbUmockdevTest, EnumeratesOpensAndExchangesThroughTheLink)
{
    const time64 now = 1700000000;
    CVirtualUsbLogger logger(QByteArray("UT300000003"), now);
    logger.m_nIntervalMinutes = 15;
    logger.m_nHighLimit = 800;
    logger.m_nLowLimit = -200;
    logger.SetSamples({2500, 2400});
    const QByteArray request = QByteArray::fromHex("c373756d000000");
    const QByteArray reply = request + logger.InfoBlock();
    QByteArray badEcho = reply;
    badEcho[6] = 1;
    AddLogger(Exchange(request, reply) + Exchange(request, badEcho));

    LibusbCh375 lib;
    ASSERT_EQ(lib.CountDevices(), 1);
    EXPECT_EQ(lib.CH375GetUsbID(0), 0u); // not open yet
    SetCh375Library(&lib);

    auto record = std::make_unique<CLoggerRecord>();
    auto link = std::make_unique<UsbDriver>(*record);
    ASSERT_TRUE(link->OpenUsbDevice());
    EXPECT_TRUE(link->Present());
    EXPECT_EQ(lib.CH375GetUsbID(0), 0x55374348u);
    EXPECT_NE(lib.CH375GetDrvVersion(), 0u);

    // A fresh logger asks for 42 bytes; the 47 the logger sends do not overflow.
    ASSERT_TRUE(link->ReadInfo(false));
    EXPECT_EQ(link->m_nReplyLength, 42);
    EXPECT_EQ(record->m_nType, 3);
    EXPECT_EQ(record->m_strValue[ROW_ID], "UT300000003");
    EXPECT_EQ(record->m_tsInterval, 900);
    EXPECT_FLOAT_EQ(record->m_fHighLimit, 8.0f);
    EXPECT_FLOAT_EQ(record->m_fLowLimit, -2.0f);

    // The second reply echoes a wrong seventh byte: rejected, record kept.
    record->m_tsInterval = 1;
    EXPECT_FALSE(link->ReadInfo(false));
    EXPECT_EQ(record->m_tsInterval, 1);

    // A request the logger does not take (nothing scripted) fails at once.
    std::int32_t state = -1, battery = -1;
    EXPECT_FALSE(link->ReadRunState(state, battery));
    EXPECT_EQ(state, -1);

    lib.CH375CloseDevice(0);
    EXPECT_EQ(lib.CH375OpenDevice(1), Ch375Library::kInvalidHandle);
}

class EventLog {
public:
    void Push(unsigned long code)
    {
        std::lock_guard lock(m_mutex);
        m_codes.push_back(code);
        m_cv.notify_all();
    }
    bool WaitFor(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5))
    {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, timeout, [&] { return m_codes.size() >= count; });
    }
    std::vector<unsigned long> Codes()
    {
        std::lock_guard lock(m_mutex);
        return m_codes;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<unsigned long> m_codes;
};

TEST_F(LibusbUmockdevTest, HotplugReportsArrivalAndRemoval)
{
    std::string error;
    ASSERT_TRUE(bed.AddFromString(Device(1, "1d6b"), error)) << error; // another device: USB exists
    LibusbCh375 lib;
    EventLog events;
    ASSERT_TRUE(lib.CH375SetDeviceNotify(0, nullptr, [&](unsigned long code) { events.Push(code); }));

    ASSERT_TRUE(bed.AddFromString(Device(2, "1a86"), error)) << error;
    bed.Uevent(SysPath(2), "add");
    ASSERT_TRUE(events.WaitFor(1));
    EXPECT_EQ(lib.CountDevices(), 1);

    bed.Uevent(SysPath(2), "remove");
    bed.Remove(SysPath(2));
    ASSERT_TRUE(events.WaitFor(2));
    EXPECT_EQ(events.Codes(), (std::vector<unsigned long>{Ch375Library::kDeviceArrived, Ch375Library::kDeviceRemoved}));

    // Another vendor's device announces nothing.
    ASSERT_TRUE(bed.AddFromString(Device(3, "1d6b"), error)) << error;
    bed.Uevent(SysPath(3), "add");
    EXPECT_FALSE(events.WaitFor(3, std::chrono::milliseconds(500)));
    EXPECT_TRUE(lib.CH375SetDeviceNotify(0, nullptr, nullptr));
}

// Several devices held open at once while others come and go: an index names
// one device for as long as it stays plugged in.
const QByteArray kRequest = QByteArray::fromHex("c373756d000000");

class StableIndexTest : public LibusbUmockdevTest {
protected:
    // A device at address n that answers kRequest with kRequest and n.
    void Plug(int n)
    {
        std::string error;
        ASSERT_TRUE(bed.AddFromString(Device(n), error)) << error;
        const std::string request = kRequest.toStdString();
        ASSERT_TRUE(bed.AttachBulkDevice(
            "/dev/bus/usb/001/00" + std::to_string(n),
            [request, n](const std::string& out) { return out == request ? request + char(n) : std::string(); },
            error))
            << error;
        bed.Uevent(SysPath(n), "add");
    }

    void Unplug(int n)
    {
        bed.Uevent(SysPath(n), "remove");
        bed.Remove(SysPath(n));
    }

    // The address of the device that answers at index, or -1.
    int Answer(unsigned long index)
    {
        unsigned long n = 7;
        if (!lib.CH375WriteData(index, kRequest.constData(), &n) || n != 7)
            return -1;
        char reply[8] = {};
        n = 8;
        if (!lib.CH375ReadData(index, reply, &n) || n != 8 || QByteArray(reply, 7) != kRequest)
            return -1;
        return reply[7];
    }

    LibusbCh375 lib;
};

struct IndexCase {
    const char* name;
    // +n plugs in the device at address n, -n pulls it out,
    // oI opens index I, cI closes it.
    const char* steps;
    // The device at each index afterwards (0: none).
    std::array<int, 4> devices;
};

const IndexCase kIndexCases[] = {
    {"AtStartInAddressOrder", "+5 +3 +4", {3, 4, 5, 0}},
    {"PulledOpenDeviceLeavesOthersInPlace", "+3 +4 o0 o1 -3", {0, 4, 0, 0}},
    {"NewcomerTakesTheFreedIndex", "+3 +4 o0 o1 -3 c0 +2", {2, 4, 0, 0}},
    {"LowerNewcomerTakesLowestFreeIndex", "+3 +4 +5 o0 o1 o2 -4 c1 +2", {3, 2, 5, 0}},
    {"PulledUnopenedDeviceFreesItsIndexAtOnce", "+3 +4 o1 -3 +5", {5, 4, 0, 0}},
    {"PulledDeviceStillOpenKeepsItsIndex", "+3 +4 o0 o1 -3 +2", {0, 4, 2, 0}},
    {"ReopeningReachesTheSameDevice", "+3 +4 o1 +2 o1", {3, 4, 2, 0}},
};

void PrintTo(const IndexCase& c, std::ostream* os)
{
    *os << c.steps;
}

class StableIndexCases : public StableIndexTest, public ::testing::WithParamInterface<IndexCase> {};

TEST_P(StableIndexCases, IndexNamesOneDeviceWhileItIsPlugged)
{
    std::array<bool, 4> open{};
    std::istringstream steps(GetParam().steps);
    for (std::string step; steps >> step;) {
        const int n = std::stoi(step.substr(1));
        switch (step[0]) {
        case '+': Plug(n); break;
        case '-': Unplug(n); break;
        case 'o':
            ASSERT_NE(lib.CH375OpenDevice(n), Ch375Library::kInvalidHandle) << step;
            open[n] = true;
            break;
        case 'c':
            lib.CH375CloseDevice(n);
            open[n] = false;
            break;
        }
    }
    const auto& devices = GetParam().devices;
    for (unsigned long i = 0; i < devices.size(); ++i)
        EXPECT_EQ(lib.CH375DevicePresent(i), devices[i] != 0) << "index " << i;
    // Handles opened before are used as they are; the other indices are opened now.
    for (unsigned long i = 0; i < devices.size(); ++i) {
        if (devices[i] == 0) {
            EXPECT_EQ(lib.CH375OpenDevice(i), Ch375Library::kInvalidHandle) << "index " << i;
            continue;
        }
        if (!open[i]) {
            ASSERT_NE(lib.CH375OpenDevice(i), Ch375Library::kInvalidHandle) << "index " << i;
        }
        EXPECT_EQ(Answer(i), devices[i]) << "index " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Plugging, StableIndexCases, ::testing::ValuesIn(kIndexCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
