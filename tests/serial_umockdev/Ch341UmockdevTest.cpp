// CH341 detection and the udev monitor against umockdev's emulated sysfs:
// USB converters with a ttyUSB port, and emulated add/remove uevents.
// glib's headers come before Qt's, which define `signals` as a keyword.
#include <umockdev.h>

#include "link/serial/Ch341Library.h"
#include "link/serial/PortTable.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace {

// Values reported to the notification routine.
class Reports {
public:
    void Add(int value)
    {
        std::lock_guard lock(m_mutex);
        m_values.push_back(value);
        m_cv.notify_all();
    }
    // Waits until `count` values arrived (at most timeoutMs); returns them.
    std::vector<int> WaitFor(size_t count, int timeoutMs = 5000)
    {
        std::unique_lock lock(m_mutex);
        m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_values.size() >= count; });
        return m_values;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<int> m_values;
};

class Ch341Umockdev : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(umockdev_in_mock_environment()) << "run under umockdev-wrapper"; }
    void TearDown() override
    {
        CH341PtSetDevNotify(nullptr, nullptr);
        g_object_unref(m_bed);
    }

    // A USB converter with vendor:product, its interface bound to `driver`
    // (if any), and its port's tty ttyUSB<index> with a device node; returns
    // the tty's sysfs path. No uevent is sent.
    std::string AddConverter(int index, const char* vendor, const char* product, const char* driver = nullptr)
    {
        const std::string n = std::to_string(index);
        const std::string usb = "/devices/pci0000:00/0000:00:14.0/usb1/1-" + std::to_string(index + 1);
        const std::string iface = usb + "/1-" + std::to_string(index + 1) + ":1.0";
        const std::string port = iface + "/ttyUSB" + n;
        const std::string tty = port + "/tty/ttyUSB" + n;
        std::string text = "P: " + tty + "\nN: ttyUSB" + n + "\nE: DEVNAME=/dev/ttyUSB" + n
            + "\nE: SUBSYSTEM=tty\nE: MAJOR=188\nE: MINOR=" + n + "\nA: dev=188:" + n + "\n\n"
            + "P: " + port + "\nE: SUBSYSTEM=usb-serial\n\n"
            + "P: " + iface + "\nE: DEVTYPE=usb_interface\nE: SUBSYSTEM=usb\nA: bInterfaceNumber=00\n";
        if (driver)
            text += "L: driver=../../../../../../bus/usb/drivers/" + std::string(driver) + "\n";
        text += "\nP: " + usb + "\nE: DEVTYPE=usb_device\nE: SUBSYSTEM=usb\nA: idVendor=" + vendor
            + "\nA: idProduct=" + product + "\n";
        GError* error = nullptr;
        if (!umockdev_testbed_add_from_string(m_bed, text.c_str(), &error)) {
            ADD_FAILURE() << (error ? error->message : "add_from_string failed");
            g_clear_error(&error);
            return {};
        }
        return "/sys" + tty;
    }
    void Register(Reports& reports)
    {
        ASSERT_TRUE(CH341PtSetDevNotify(nullptr, [&reports](int v) { reports.Add(v); }));
    }

    UMockdevTestbed* m_bed = umockdev_testbed_new();
};

TEST_F(Ch341Umockdev, PortsAreRecognisedByVendorAndProductOrByTheirDriver)
{
    ASSERT_FALSE(AddConverter(0, "1a86", "7523").empty());
    AddConverter(1, "1a86", "5523");
    AddConverter(2, "0403", "6001");
    AddConverter(3, "0403", "6001", "ch341");
    AddConverter(4, "1a86", "7522");
    const struct {
        const char* name;
        bool ch341;
    } cases[] = {
        {"\\\\.\\COM1", true}, {"COM2", true}, {"\\\\.\\COM3", false}, {"\\\\.\\COM4", true},
        {"\\\\.\\COM5", false}, {"\\\\.\\COM6", false}, {"/dev/ttyUSB0", true}, {"COM0", false}, {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CH341PtNameIsCH341(c.name), c.ch341);
    }
    EXPECT_FALSE(CH341PtNameIsCH341(nullptr));
}

TEST_F(Ch341Umockdev, APtyRegisteredAsAConverterCountsAsOne)
{
    AddConverter(0, "1a86", "7523"); // takes port 1
    PortTable& table = PortTable::Instance();
    const int virtualPort = table.Register(QStringLiteral("/dev/pts/77"), true);
    const int plainPort = table.Register(QStringLiteral("/dev/pts/78"), false);
    EXPECT_EQ(virtualPort, 2);
    EXPECT_TRUE(Ch341IsCh341Port(virtualPort));
    EXPECT_FALSE(Ch341IsCh341Port(plainPort));
    table.Unregister(virtualPort);
    table.Unregister(plainPort);
}

TEST_F(Ch341Umockdev, ArrivalAndRemovalOfConvertersAreReportedByPortNumber)
{
    Reports reports;
    Register(reports);
    const std::string ch341 = AddConverter(3, "1a86", "7523");
    const std::string other = AddConverter(5, "0403", "6001");
    umockdev_testbed_uevent(m_bed, ch341.c_str(), "add");
    umockdev_testbed_uevent(m_bed, other.c_str(), "add");
    umockdev_testbed_uevent(m_bed, other.c_str(), "remove");
    umockdev_testbed_uevent(m_bed, ch341.c_str(), "remove");
    EXPECT_EQ(reports.WaitFor(2), (std::vector<int> {4, -4}));
}

TEST_F(Ch341Umockdev, AConverterPresentAtRegistrationIsReportedWhenRemoved)
{
    const std::string ch341 = AddConverter(0, "1a86", "7523");
    Reports reports;
    Register(reports);
    umockdev_testbed_uevent(m_bed, ch341.c_str(), "remove");
    umockdev_testbed_remove_device(m_bed, ch341.c_str());
    EXPECT_EQ(reports.WaitFor(1), (std::vector<int> {-1}));
}

TEST_F(Ch341Umockdev, AfterUnregisteringNothingIsReported)
{
    Reports reports;
    Register(reports);
    CH341PtSetDevNotify(nullptr, nullptr);
    const std::string ch341 = AddConverter(1, "1a86", "7523");
    umockdev_testbed_uevent(m_bed, ch341.c_str(), "add");
    // A fresh registration sees the next event only.
    Reports later;
    Register(later);
    umockdev_testbed_uevent(m_bed, ch341.c_str(), "remove");
    EXPECT_EQ(later.WaitFor(1), (std::vector<int> {-2}));
    EXPECT_TRUE(reports.WaitFor(1, 100).empty());
}

} // namespace
