#include "link/usb/LibusbHotplug.h"

#include <libusb.h>

namespace {

int LIBUSB_CALL OnHotplug(libusb_context*, libusb_device*, libusb_hotplug_event event, void* user)
{
    static_cast<LibusbHotplug*>(user)->Deliver(event == LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED);
    return 0; // stay registered
}

} // namespace

LibusbHotplug::~LibusbHotplug()
{
    Stop();
}

bool LibusbHotplug::Start(const std::vector<UsbId>& ids, Ch375Library::NotifyRoutine routine)
{
    if (m_ctx && routine) {
        std::lock_guard lock(m_routineMutex);
        m_routine = std::move(routine);
        return true;
    }
    Stop();
    if (!routine || libusb_init(&m_ctx) != LIBUSB_SUCCESS) {
        m_ctx = nullptr;
        return false;
    }
    if (!libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG)) {
        Stop();
        return false;
    }
    {
        std::lock_guard lock(m_routineMutex);
        m_routine = std::move(routine);
    }
    const auto events = static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED |
                                                         LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT);
    for (const auto& [vendor, product] : ids) {
        libusb_hotplug_callback_handle handle = 0;
        if (libusb_hotplug_register_callback(m_ctx, events, LIBUSB_HOTPLUG_NO_FLAGS, vendor, product,
                                             LIBUSB_HOTPLUG_MATCH_ANY, OnHotplug, this, &handle)
            != LIBUSB_SUCCESS) {
            Stop();
            return false;
        }
        m_handles.push_back(handle);
    }
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void LibusbHotplug::Run()
{
    while (!m_stop) {
        timeval tv{0, 200 * 1000};
        libusb_handle_events_timeout_completed(m_ctx, &tv, nullptr);
    }
}

void LibusbHotplug::Deliver(bool arrived)
{
    // Called outside the lock, so the routine may register again; Stop joins
    // this thread before it lets the routine go.
    Ch375Library::NotifyRoutine routine;
    {
        std::lock_guard lock(m_routineMutex);
        routine = m_routine;
    }
    if (routine)
        routine(arrived ? Ch375Library::kDeviceArrived : Ch375Library::kDeviceRemoved);
}

void LibusbHotplug::Stop()
{
    if (!m_ctx)
        return;
    m_stop = true;
    for (int handle : m_handles)
        libusb_hotplug_deregister_callback(m_ctx, handle);
    m_handles.clear();
    libusb_interrupt_event_handler(m_ctx);
    if (m_thread.joinable())
        m_thread.join();
    libusb_exit(m_ctx);
    m_ctx = nullptr;
    std::lock_guard lock(m_routineMutex);
    m_routine = nullptr;
}
