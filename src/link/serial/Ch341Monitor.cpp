#include "link/serial/Ch341Monitor.h"

#include "link/serial/Ch341Detect.h"
#include "link/serial/PortTable.h"

#include <cstring>
#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace {

int PortOfDevice(udev_device* dev)
{
    const char* node = udev_device_get_devnode(dev);
    return node ? PortTable::Instance().PortOf(QString::fromLocal8Bit(node)) : 0;
}

} // namespace

Ch341Monitor::~Ch341Monitor()
{
    Stop();
}

bool Ch341Monitor::Start(Report report)
{
    Stop();
    m_report = std::move(report);
    m_udev = udev_new();
    if (m_udev)
        m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    m_stopEvent = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (!m_monitor || m_stopEvent < 0 || udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "tty", nullptr) < 0
        || udev_monitor_enable_receiving(m_monitor) < 0) {
        Stop();
        return false;
    }
    Remember();
    try {
        m_thread = std::thread([this] { ThreadMain(); });
    } catch (const std::system_error&) {
        Stop();
        return false;
    }
    return true;
}

void Ch341Monitor::Stop()
{
    if (m_thread.joinable()) {
        ::eventfd_write(m_stopEvent, 1);
        m_thread.join();
    }
    if (m_stopEvent >= 0)
        ::close(m_stopEvent);
    m_stopEvent = -1;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    m_monitor = nullptr;
    if (m_udev)
        udev_unref(m_udev);
    m_udev = nullptr;
    m_ports.clear();
}

void Ch341Monitor::Remember()
{
    udev_enumerate* e = udev_enumerate_new(m_udev);
    if (!e)
        return;
    udev_enumerate_add_match_subsystem(e, "tty");
    udev_enumerate_scan_devices(e);
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e))
    {
        udev_device* dev = udev_device_new_from_syspath(m_udev, udev_list_entry_get_name(entry));
        if (!dev)
            continue;
        const int port = PortOfDevice(dev);
        if (port > 0 && IsCh341Device(dev))
            m_ports.insert(port);
        udev_device_unref(dev);
    }
    udev_enumerate_unref(e);
}

void Ch341Monitor::ThreadMain()
{
    pollfd fds[2] = {{m_stopEvent, POLLIN, 0}, {udev_monitor_get_fd(m_monitor), POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[0].revents)
            return;
        if (fds[1].revents & POLLIN)
            HandleEvent();
        else if (fds[1].revents)
            return;
    }
}

void Ch341Monitor::HandleEvent()
{
    udev_device* dev = udev_monitor_receive_device(m_monitor);
    if (!dev)
        return;
    const char* action = udev_device_get_action(dev);
    const int port = PortOfDevice(dev);
    if (port > 0 && action) {
        // Each port is reported once per arrival and removal, even when an
        // event comes twice.
        if (std::strcmp(action, "add") == 0 && IsCh341Device(dev) && m_ports.insert(port).second)
            m_report(port);
        else if (std::strcmp(action, "remove") == 0 && m_ports.erase(port) > 0)
            m_report(-port);
    }
    udev_device_unref(dev);
}
