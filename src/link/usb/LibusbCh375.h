#pragma once

#include "link/usb/Ch375Library.h"
#include "link/usb/LibusbHotplug.h"

#include <array>
#include <cstdint>
#include <vector>

struct libusb_context;
struct libusb_device;
struct libusb_device_handle;

// The CH375 library over libusb-1.0. A device with the CH375's ids keeps
// the index 0..15 it was first given for as long as it stays plugged in, so
// several devices can be held open by index while others come and go.
// Devices seen for the first time take the lowest free indices in the order
// of (bus, address); a device that leaves frees its index, unless it is
// still open here, and then when it is closed. Opening claims interface 0
// (detaching a kernel driver if one is bound) and finds its bulk endpoints.
// A machine without USB simply has no devices.
class LibusbCh375 : public Ch375Library {
public:
    static constexpr unsigned long kDefaultTimeoutMs = 1000;
    static const std::vector<LibusbHotplug::UsbId>& DeviceIds();

    LibusbCh375() = default;
    ~LibusbCh375() override;
    LibusbCh375(const LibusbCh375&) = delete;
    LibusbCh375& operator=(const LibusbCh375&) = delete;

    std::intptr_t CH375OpenDevice(unsigned long index) override;
    void CH375CloseDevice(unsigned long index) override;
    bool CH375ResetDevice(unsigned long index) override;
    unsigned long CH375GetDrvVersion() override;
    unsigned long CH375GetUsbID(unsigned long index) override;
    bool CH375SetTimeoutEx(unsigned long index, unsigned long writeMs, unsigned long readMs,
                           unsigned long auxWriteMs, unsigned long auxReadMs) override;
    bool CH375WriteData(unsigned long index, const void* buffer, unsigned long* length) override;
    bool CH375ReadData(unsigned long index, void* buffer, unsigned long* length) override;
    bool CH375SetDeviceNotify(unsigned long index, const char* deviceName, NotifyRoutine routine) override;
    bool CH375DevicePresent(unsigned long index) override;

    // Number of CH375 devices present now.
    int CountDevices();

private:
    struct Slot {
        libusb_device_handle* handle = nullptr;
        std::uint8_t endpointOut = 0;
        std::uint8_t endpointIn = 0;
        int packetIn = 64;
        bool reattachDriver = false;
        unsigned int writeTimeoutMs = kDefaultTimeoutMs;
        unsigned int readTimeoutMs = kDefaultTimeoutMs;
        std::uint16_t vendor = 0;
        std::uint16_t product = 0;
    };

    // The device given an index, referenced so that it stays the same
    // object; plugged is false once it has left while still open here.
    struct Numbered {
        libusb_device* device = nullptr;
        bool plugged = false;
        std::uint16_t vendor = 0;
        std::uint16_t product = 0;
    };

    bool EnsureContext();
    Slot* OpenSlot(unsigned long index);
    bool FindEndpoints(Slot& slot);
    // Brings the indices up to date with the devices present now.
    void Renumber();
    void Forget(unsigned long index);

    libusb_context* m_ctx = nullptr;
    bool m_initTried = false;
    std::array<Slot, kMaxDevices> m_slots{};
    std::array<Numbered, kMaxDevices> m_numbered{};
    LibusbHotplug m_hotplug;
};
