#pragma once

#include "link/usb/Ch375Library.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

struct libusb_context;

// Arrival and removal notifications of USB devices with given ids, through
// libusb's hot-plug callbacks. It runs on its own libusb context with its own
// event thread, so the routine is always called on that thread and never
// from inside a transfer of the main thread.
class LibusbHotplug {
public:
    using UsbId = std::pair<std::uint16_t, std::uint16_t>; // vendor, product

    LibusbHotplug() = default;
    ~LibusbHotplug();
    LibusbHotplug(const LibusbHotplug&) = delete;
    LibusbHotplug& operator=(const LibusbHotplug&) = delete;

    // A call while running only replaces the routine. False when hot-plug is unavailable
    // (no USB on this machine, or libusb built without it).
    bool Start(const std::vector<UsbId>& ids, Ch375Library::NotifyRoutine routine);
    void Stop();
    bool Running() const { return m_ctx != nullptr; }

    // Called by libusb on the event thread.
    void Deliver(bool arrived);

private:
    void Run();

    libusb_context* m_ctx = nullptr;
    std::vector<int> m_handles;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::mutex m_routineMutex;
    Ch375Library::NotifyRoutine m_routine;
};
